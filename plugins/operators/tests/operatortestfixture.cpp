#include "operatortestfixture.h"

#include "complexconfig.h"
#include "orvaneplugin.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace OperatorTest {

namespace {

Common::Operator makeOperator(int uid, const QString& surname, const QString& name, const QString& thirdname,
                              const QString& post, const QString& rank)
{
    Common::Operator op;
    op.uid = uid;
    op.surname = surname;
    op.name = name;
    op.thirdname = thirdname;
    op.post = post;
    op.rank = rank;
    return op;
}

void addComputer(CoConfig::ComplexConfig& store, int uid, const QString& name, const CoConfig::Registrations& registrations)
{
    CoConfig::Computer computer;
    computer.uid = CoConfig::ComponentUid<1>(uid);
    computer.name = name;
    computer.registrations = registrations;
    store.computers().insert(computer.uid, computer);
}

void addUnion(CoConfig::ComplexConfig& store, int uid, const QString& name, const QList<int>& arms)
{
    CoConfig::ArmUnion armUnion;
    armUnion.uid = uid;
    armUnion.name = name;
    armUnion.armUids = arms;
    store.addArmUnion(armUnion);
}

void dumpRows(const QAbstractItemModel* model, const QModelIndex& parent, int depth, QStringList& lines)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        QStringList columns;
        for (int column = 0; column < model->columnCount(parent); ++column)
            columns << model->index(row, column, parent).data().toString();
        lines << QString(depth * 2, QLatin1Char(' ')) + columns.join(QLatin1Char('|'));
        dumpRows(model, model->index(row, 0, parent), depth + 1, lines);
    }
}

} // namespace

bool writeKnownComplex(const QString& dir)
{
    CoConfig::ComplexConfig store(dir, 1, 64);
    addUnion(store, 1, QStringLiteral("Пост 1"), {10, 11});
    addUnion(store, 2, QStringLiteral("Пост 2"), {11, 12});
    addComputer(store, 10, QStringLiteral("АРМ-10"), {{QStringLiteral("ivanov"), 100}, {QStringLiteral("ghost"), 999}});
    addComputer(store, 11, QStringLiteral("АРМ-11"), {{QStringLiteral("ivanov2"), 100}, {QStringLiteral("petrov"), 101}});
    addComputer(store, 12, QStringLiteral("АРМ-12"), {});
    addComputer(store, 13, QStringLiteral("АРМ-13"), {{QStringLiteral("sidorov"), 102}});
    store.addOperator(makeOperator(100, QStringLiteral("Иванов"), QStringLiteral("Иван"), QStringLiteral("Иванович"),
                                   QStringLiteral("Оператор"), QStringLiteral("Лейтенант")));
    store.addOperator(makeOperator(101, QStringLiteral("Петров"), QStringLiteral("Пётр"), QStringLiteral("Петрович"),
                                   QStringLiteral("Старший оператор"), QStringLiteral("Капитан")));
    store.addOperator(makeOperator(102, QStringLiteral("Сидоров"), QStringLiteral("Семён"), QString(), QString(), QString()));
    store.addOperator(makeOperator(103, QStringLiteral("Кузнецов"), QStringLiteral("Карл"), QStringLiteral("Карлович"),
                                   QStringLiteral("Инженер"), QStringLiteral("Майор")));
    return store.write(CoConfig::ObjectAll);
}

QStringList dumpTree(const QAbstractItemModel* model)
{
    QStringList lines;
    if (model)
        dumpRows(model, QModelIndex(), 0, lines);
    return lines;
}

ModalAnswerer::Handler fillAndOk(const QList<QPair<QString, QString>>& fields)
{
    return [fields](QWidget* modal) {
        for (const auto& field : fields) {
            auto* edit = modal->findChild<QLineEdit*>(field.first);
            if (edit)
                edit->setText(field.second);
        }
        ModalAnswerer::click(modal, QMessageBox::Ok);
    };
}

PelluxHarness::PelluxHarness(const QString& configDir) : m_library(QStringLiteral("orvane-50-operators"))
{
    m_plugin = m_library.create();
    if (!m_plugin) {
        m_error = m_library.isLoaded() ? QStringLiteral("the factory made no plugin") : m_library.errorString();
        return;
    }
    m_store = std::make_unique<CoConfig::ComplexConfig>(configDir, 1, 64);
    m_plugin->setComplexConfig(m_store.get());
    page()->resize(900, 500);
    page()->show();
    if (!QTest::qWaitForWindowExposed(page()))
        m_error = QStringLiteral("the page was not exposed");
    view()->expandAll();
}

PelluxHarness::~PelluxHarness()
{
    // Before the store that the plugin holds.
    m_library.destroy(m_plugin);
}

QWidget* PelluxHarness::page() const
{
    return m_plugin ? m_plugin->widget() : nullptr;
}

QTreeView* PelluxHarness::view() const
{
    return page() ? page()->findChild<QTreeView*>() : nullptr;
}

QAbstractItemModel* PelluxHarness::model() const
{
    QAbstractItemModel* model = view() ? view()->model() : nullptr;
    if (model && !model->findChild<QAbstractItemModelTester*>())
        new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
    return model;
}

void PelluxHarness::groupBy(const QString& radioText)
{
    for (QRadioButton* radio : page()->findChildren<QRadioButton*>()) {
        if (radio->text() == radioText)
            radio->click();
    }
    view()->expandAll();
}

QPushButton* PelluxHarness::button(const QString& text) const
{
    for (QPushButton* button : page()->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QModelIndex PelluxHarness::find(const QStringList& path) const
{
    QAbstractItemModel* m = model();
    QModelIndex parent;
    for (const QString& text : path) {
        QModelIndex found;
        for (int row = 0; row < m->rowCount(parent) && !found.isValid(); ++row) {
            if (m->index(row, 0, parent).data().toString() == text)
                found = m->index(row, 0, parent);
        }
        if (!found.isValid())
            return QModelIndex();
        parent = found;
    }
    return parent;
}

bool PelluxHarness::select(const QList<QStringList>& paths)
{
    QItemSelectionModel* selection = view()->selectionModel();
    selection->clearSelection();
    for (const QStringList& path : paths) {
        const QModelIndex index = find(path);
        // Fails the running test, as a QVERIFY would, and tells the caller.
        if (!QTest::qVerify(index.isValid(), "index.isValid()", qPrintable(path.join(QLatin1Char('/'))), __FILE__,
                            __LINE__))
            return false;
        selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    return true;
}

bool PelluxHarness::requestContextMenu()
{
    bool opened = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            opened = true;
            popup->close();
        }
    });
    closer.start();
    const QPoint pos(10, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view()->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view()->viewport(), &event);
    closer.stop();
    return opened;
}

QMenu* PelluxHarness::contextMenu() const
{
    return view()->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
}

QMenu* PelluxHarness::addMenu() const
{
    QMenu* menu = contextMenu();
    return menu ? menu->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QAction* PelluxHarness::menuAction(const QString& text) const
{
    for (QMenu* menu : {contextMenu(), addMenu()}) {
        if (!menu)
            continue;
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
    }
    return nullptr;
}

bool PelluxHarness::trigger(const QString& text)
{
    if (!requestContextMenu())
        return false;
    QAction* action = menuAction(text);
    if (!action || !action->isEnabled())
        return false;
    if (addMenu() && addMenu()->actions().contains(action) && !addMenu()->menuAction()->isEnabled())
        return false;
    action->trigger();
    return true;
}

} // namespace OperatorTest
