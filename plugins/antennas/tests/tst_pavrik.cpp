#include "foreignparts.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "orvaneplugininstance.h"
#include "orvaneplugininterface.h"
#include "orvaneplugin.h"
#include "teststore.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

const QString Undefined = QStringLiteral("Тип антенны не определен");
const QString Bs2 = QStringLiteral("Антенна типа \"БС-2\"");
const QString On = QStringLiteral("Вкл.");
const QString Off = QStringLiteral("Выкл.");
const QString Unbound = QStringLiteral("Нет привязки");

enum Column { Type, Uid, Diagram, Azimuth, State, Union };

// Antennas 1..4; antenna 1 is listed by both posts, antenna 2 by none, "Резерв" lists none.
void fillComplex(CoConfig::ComplexConfig& store)
{
    const Xml::UnknownParts foreign = ForeignParts::parts();
    store.addAntenna({0, 10.5f, 1, 1, true, foreign});
    store.addAntenna({1, -1.0f, 2, 2, false});
    store.addAntenna({2, 180.0f, 3, 3, true, foreign});
    store.addAntenna({7, 360.0f, 0, 4, false});
    store.addArmUnion({1, QStringLiteral("Пост 1"), {10, 11}, {3, 1}});
    store.addArmUnion({2, QStringLiteral("Пост 2"), {12}, {1, 4}, foreign});
    store.addArmUnion({5, QStringLiteral("Резерв"), {13}, {}});
}

// A real store whose uid generator has nothing left to give.
class NoUidStore : public CoConfig::ComplexConfig
{
public:
    using ComplexConfig::ComplexConfig;
    int generateObjectUid(int) override { return -1; }
};

} // namespace

class TestPavrik : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void answersTheContract();
    void loadsEveryColumn_data();
    void loadsEveryColumn();
    void editsThroughTheDelegates_data();
    void editsThroughTheDelegates();
    void addButtonAppendsRows_data();
    void addButtonAppendsRows();
    void contextMenuCommands_data();
    void contextMenuCommands();
    void clearWritesEmptyText_data();
    void clearWritesEmptyText();
    void savesThroughTheShell();
    void saveWithoutEditsLeavesTheUnions();
    void saveKeepsTheTableItCommitted();

private:
    // The shell with the antenna editor alone, over the store; the page shown.
    bool openWindow(CoConfig::ComplexConfigInterface* store);
    QWidget* page() const { return m_window->tabWidget()->widget(0); }
    QTableView* view() const { return page()->findChild<QTableView*>(); }
    QAbstractItemModel* model() const;
    QAction* command(const QString& text) const;
    QPushButton* button(const QString& text) const;
    QStringList column(int column, int role = Qt::DisplayRole) const;
    void select(const QList<QPoint>& cells, QPoint current) const;
    QWidget* openEditor(int row, int column) const;

    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<Orvane> m_window;
};

void TestPavrik::init()
{
    m_store = std::make_unique<TestStore>();
    QVERIFY(m_store->isValid());
    fillComplex(*m_store->get());
    // The editor reads its two kinds from the directory.
    QVERIFY2(m_store->get()->write(CoConfig::ObjectAll), qPrintable(m_store->get()->errorString()));
    QVERIFY(openWindow(m_store->get()));
}

void TestPavrik::cleanup()
{
    m_window.reset();
    m_store.reset();
}

bool TestPavrik::openWindow(CoConfig::ComplexConfigInterface* store)
{
    m_window = std::make_unique<Orvane>(QStringList({"orvane-40-antennas.so"}), store, QStringLiteral(ORVANE_BIN_DIR));
    if (m_window->plugins().size() != 1 || m_window->tabWidget()->count() != 1)
        return false;
    m_window->resize(900, 500);
    m_window->show();
    return QTest::qWaitForWindowExposed(m_window.get()) && view() && model();
}

QAbstractItemModel* TestPavrik::model() const
{
    // Each load brings a new model; each is watched from the first time it is asked for.
    QAbstractItemModel* model = view()->model();
    if (model && !model->findChild<QAbstractItemModelTester*>())
        new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
    return model;
}

QAction* TestPavrik::command(const QString& text) const
{
    const QList<QAction*> actions = view()->findChild<QMenu*>()->actions();
    const auto found = std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == text; });
    return found == actions.end() ? nullptr : *found;
}

QPushButton* TestPavrik::button(const QString& text) const
{
    for (QPushButton* button : page()->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QStringList TestPavrik::column(int column, int role) const
{
    QStringList values;
    for (int row = 0; row < model()->rowCount(); ++row)
        values.append(model()->index(row, column).data(role).toString());
    return values;
}

void TestPavrik::select(const QList<QPoint>& cells, QPoint current) const
{
    QItemSelectionModel* selection = view()->selectionModel();
    selection->clear();
    for (const QPoint& cell : cells)
        selection->select(model()->index(cell.y(), cell.x()), QItemSelectionModel::Select);
    selection->setCurrentIndex(model()->index(current.y(), current.x()), QItemSelectionModel::NoUpdate);
}

QWidget* TestPavrik::openEditor(int row, int column) const
{
    const QRect cell = view()->visualRect(model()->index(row, column));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
    const QList<QWidget*> editors = view()->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return editors.size() == 1 ? editors.first() : nullptr;
}

void TestPavrik::answersTheContract()
{
    OrvanePluginInstance* instance = m_window->plugins().first();
    auto* root = dynamic_cast<QObject*>(instance->factory());
    QVERIFY(root && root->qt_metacast("PavrikInterface"));
    QCOMPARE(root->qt_metacast("OrvanePluginInterface"), root->qt_metacast(OrvanePluginInterface_iid));
    OrvanePlugin* plugin = instance->plugin();
    QCOMPARE(plugin->metaObject()->className(), "Pavrik");
    QCOMPARE(m_window->tabWidget()->tabText(0), QStringLiteral("Антенна"));
    QCOMPARE(plugin->widget(), page());
    QVERIFY(!plugin->menu());
    QVERIFY(!plugin->toolBar());
    instance->factory()->destroyPlugin(nullptr);

    // The page: the spin box from 1 to 99 and its two buttons; the table's context menu, whose
    // first two commands also answer Insert and Delete.
    auto* count = page()->findChild<QSpinBox*>();
    QVERIFY(count && button("Добавить") && button("Сохранить"));
    QCOMPARE(QList<int>({count->minimum(), count->value(), count->maximum()}), QList<int>({1, 1, 99}));
    QStringList commands;
    for (QAction* action : view()->findChild<QMenu*>()->actions())
        commands << action->text() + QLatin1Char(' ') + action->shortcut().toString();
    QCOMPARE(commands, QStringList({"Добавить Ins", "Удалить Del", "Очистить "}));
}

void TestPavrik::loadsEveryColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("type") << int(Type) << "Тип" << true << QStringList({Bs2, "Вибратор", "Наклонный луч", Undefined})
                          << QStringList({"0", "1", "2", "7"});
    QTest::newRow("uid") << int(Uid) << "ID" << false << QStringList({"1", "2", "3", "4"})
                         << QStringList({"1", "2", "3", "4"});
    QTest::newRow("diagram") << int(Diagram) << "Диаграмма" << true << QStringList({"1", "2", "3", "0"})
                             << QStringList({"1", "2", "3", "0"});
    QTest::newRow("azimuth") << int(Azimuth) << "Азимут" << true << QStringList({"10.5", "-1", "180", "360"})
                             << QStringList({"10.5", "-1", "180", "360"});
    QTest::newRow("state") << int(State) << "Состояние" << true << QStringList({On, Off, On, Off})
                           << QStringList({"true", "false", "true", "false"});
    // Antenna 1 is listed by both posts and shows the first.
    QTest::newRow("union") << int(Union) << "Группа.АРМ" << true
                           << QStringList({"Пост 1", Unbound, "Пост 1", "Пост 2"}) << QStringList({"1", "-1", "1", "2"});
}

void TestPavrik::loadsEveryColumn()
{
    QFETCH(int, column);
    QFETCH(QString, title);
    QFETCH(bool, editable);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, values);

    QCOMPARE(model()->columnCount(), 6);
    QCOMPARE(model()->headerData(column, Qt::Horizontal).toString(), title);
    QVERIFY(!model()->headerData(0, Qt::Vertical).isValid());
    QCOMPARE(model()->flags(model()->index(0, column)),
             Qt::ItemIsSelectable | Qt::ItemIsEnabled | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags));
    QCOMPARE(this->column(column), texts);
    QCOMPARE(this->column(column, Qt::UserRole), values);
}

void TestPavrik::editsThroughTheDelegates_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");   // into a line edit
    QTest::addColumn<int>("opensAt");     // a combo box's current item when it opens
    QTest::addColumn<int>("chosen");      // the item chosen; -1 keeps the current one
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("taken");      // false: the validator keeps the editor open

    QTest::newRow("azimuth above 360") << 0 << int(Azimuth) << "400" << 0 << 0 << "-1" << "-1" << true;
    QTest::newRow("azimuth below 0") << 0 << int(Azimuth) << "-5" << 0 << 0 << "-1" << "-1" << true;
    QTest::newRow("azimuth no number") << 0 << int(Azimuth) << "abc" << 0 << 0 << "0" << "0" << true;
    QTest::newRow("azimuth decimal comma") << 1 << int(Azimuth) << "12,25" << 0 << 0 << "12.25" << "12.25" << true;
    QTest::newRow("diagram past the validator") << 0 << int(Diagram) << "3600" << 0 << 0 << "360" << "360" << true;
    QTest::newRow("diagram above 360 is not taken") << 0 << int(Diagram) << "400" << 0 << 0 << "1" << "1" << false;
    QTest::newRow("diagram no minus") << 0 << int(Diagram) << "-7" << 0 << 0 << "7" << "7" << true;
    QTest::newRow("type chosen") << 0 << int(Type) << "" << 1 << 2 << "Вибратор" << "1" << true;
    QTest::newRow("type outside the list") << 3 << int(Type) << "" << 0 << -1 << Undefined << "-1" << true;
    QTest::newRow("state chosen") << 1 << int(State) << "" << 1 << 0 << On << "true" << true;
    QTest::newRow("union chosen") << 1 << int(Union) << "" << 0 << 2 << "Пост 2" << "2" << true;
    QTest::newRow("union kept") << 3 << int(Union) << "" << 2 << -1 << "Пост 2" << "2" << true;
}

void TestPavrik::editsThroughTheDelegates()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(int, opensAt);
    QFETCH(int, chosen);
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(bool, taken);

    QWidget* editor = openEditor(row, column);
    QVERIFY(editor);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        auto* validator = qobject_cast<const QIntValidator*>(line->validator());
        QCOMPARE(validator ? QPoint(validator->bottom(), validator->top()) : QPoint(), 
                 column == Diagram ? QPoint(0, 360) : QPoint());
        line->selectAll();
        QTest::keyClicks(line, typed);
    } else {
        auto* box = qobject_cast<QComboBox*>(editor);
        QVERIFY(box);
        QCOMPARE(box->currentIndex(), opensAt);
        if (chosen >= 0)
            box->setCurrentIndex(chosen);
    }
    // Enter commits and closes the editor, unless the validator does not accept the text.
    QPointer<QWidget> open = editor;
    QTest::keyClick(editor, Qt::Key_Return);
    if (taken)
        QTRY_VERIFY(!open);
    else
        QVERIFY(open && open->isVisible());
    QCOMPARE(model()->index(row, column).data().toString(), text);
    QCOMPARE(model()->index(row, column).data(Qt::UserRole).toString(), value);
}

void TestPavrik::addButtonAppendsRows_data()
{
    QTest::addColumn<bool>("uids");

    QTest::newRow("the store gives uids") << true;
    QTest::newRow("the store gives none") << false;
}

void TestPavrik::addButtonAppendsRows()
{
    QFETCH(bool, uids);

    std::unique_ptr<NoUidStore> noUids;
    if (!uids) {
        noUids = std::make_unique<NoUidStore>(m_store->path(), CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        QVERIFY(openWindow(noUids.get()));
    }
    page()->findChild<QSpinBox*>()->setValue(3);
    ModalAnswerer answers;
    if (!uids) {
        for (int n = 0; n < 3; ++n)
            answers.clickNext(QMessageBox::Ok);
    }
    QTest::mouseClick(button("Добавить"), Qt::LeftButton);

    QStringList seen;
    for (const ModalAnswerer::Box& box : answers.boxes())
        seen << (box.icon == QMessageBox::Critical ? box.text : box.summary());
    QCOMPARE(seen, QStringList(uids ? 0 : 3, QStringLiteral("Не удалось получить UID!")));
    QCOMPARE(model()->rowCount(), uids ? 7 : 4);
    if (!uids)
        return;
    const QStringList added = column(Uid).mid(4);
    QCOMPARE(QSet<QString>(added.begin(), added.end()).size(), 3);
    for (const QString& uid : added)
        QVERIFY2(uid.toInt() > 4, qPrintable(uid));
    for (int row = 4; row < 7; ++row) {
        QStringList texts;
        for (int column : {Type, Diagram, Azimuth, State, Union})
            texts << model()->index(row, column).data().toString();
        QCOMPARE(texts, QStringList({Undefined, "-1", "-1", Off, Unbound}));
    }
}

void TestPavrik::contextMenuCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<QPoint>>("selected"); // (column, row)
    QTest::addColumn<QPoint>("current");          // (-1, -1): none
    QTest::addColumn<QStringList>("uids");        // "new" stands for the fresh uid
    QTest::addColumn<int>("key");                 // pressed in the table instead of the menu

    QTest::newRow("add with no current cell") << "Добавить" << QList<QPoint>() << QPoint(-1, -1)
                                              << QStringList({"new", "1", "2", "3", "4"}) << 0;
    QTest::newRow("add below the current row") << "Добавить" << QList<QPoint>() << QPoint(Azimuth, 1)
                                               << QStringList({"1", "2", "new", "3", "4"}) << 0;
    QTest::newRow("Insert key") << "Добавить" << QList<QPoint>() << QPoint(Type, 3)
                                << QStringList({"1", "2", "3", "4", "new"}) << int(Qt::Key_Insert);
    QTest::newRow("remove two rows") << "Удалить" << QList<QPoint>({{Type, 0}, {State, 2}, {Union, 2}}) << QPoint(Type, 0)
                                     << QStringList({"2", "4"}) << 0;
    QTest::newRow("Delete key") << "Удалить" << QList<QPoint>({{Uid, 1}}) << QPoint(Uid, 1)
                                << QStringList({"1", "3", "4"}) << int(Qt::Key_Delete);
    QTest::newRow("remove nothing selected") << "Удалить" << QList<QPoint>() << QPoint(Type, 0)
                                             << QStringList({"1", "2", "3", "4"}) << 0;
}

void TestPavrik::contextMenuCommands()
{
    QFETCH(QString, command);
    QFETCH(QList<QPoint>, selected);
    QFETCH(QPoint, current);
    QFETCH(QStringList, uids);
    QFETCH(int, key);

    select(selected, current);
    QAction* action = this->command(command);
    QVERIFY(action);
    if (key) {
        view()->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(view(), Qt::Key(key));
    } else {
        action->trigger();
    }
    QStringList shown = column(Uid);
    for (QString& uid : shown) {
        if (uid.toInt() > 4)
            uid = QStringLiteral("new");
    }
    QCOMPARE(shown, uids);
}

void TestPavrik::clearWritesEmptyText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("third"); // what the third row then shows

    QTest::newRow("type") << int(Type) << Bs2 << "0" << Bs2;
    QTest::newRow("diagram") << int(Diagram) << "0" << "0" << "0";
    QTest::newRow("azimuth") << int(Azimuth) << "0" << "0" << "0";
    QTest::newRow("state") << int(State) << Off << "false" << Off;
    QTest::newRow("union 0, which there is not") << int(Union) << "" << "0" << "";
    // Antennas are saved by uid: a second row with uid 0 would vanish at the save.
    QTest::newRow("uid, once only") << int(Uid) << "0" << "0" << "3";
}

void TestPavrik::clearWritesEmptyText()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QString, third);

    select({{column, 0}, {column, 2}}, {column, 0});
    QAction* clear = command("Очистить");
    QVERIFY(clear);
    ModalAnswerer answers;
    const bool refused = third != text;
    if (refused)
        answers.clickNext(QMessageBox::Ok);
    clear->trigger();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.boxes().size(), refused ? 1 : 0);
    if (refused)
        QVERIFY2(answers.boxes().first().text.startsWith(QStringLiteral("Не очищено ячеек: 1.")),
                 qPrintable(answers.boxes().first().text));
    QCOMPARE(model()->index(0, column).data().toString(), text);
    QCOMPARE(model()->index(0, column).data(Qt::UserRole).toString(), value);
    QCOMPARE(model()->index(2, column).data().toString(), third);
    QCOMPARE(model()->index(1, Uid).data().toString(), QStringLiteral("2"));
}

void TestPavrik::saveWithoutEditsLeavesTheUnions()
{
    const QList<CoConfig::ArmUnion> before = m_store->reopen()->armUnions();
    m_window->save();
    QCOMPARE(m_store->reopen()->armUnions(), before); // "Пост 1" keeps {3, 1}; both list antenna 1
}

void TestPavrik::saveKeepsTheTableItCommitted()
{
    // An edit that keeps the rows' order: the store gives back what the table holds, which
    // stays with its current cell.
    const QPointer<QAbstractItemModel> table = model();
    const int uid = table->index(0, Uid).data().toInt();
    QVERIFY(table->setData(table->index(0, Azimuth), QStringLiteral("91")));
    view()->setCurrentIndex(table->index(2, Diagram));
    m_window->save();
    const QList<Common::Antenna> saved = m_store->reopen()->antennas();
    const auto edited = std::find_if(saved.begin(), saved.end(), [&](const Common::Antenna& a) { return a.uid == uid; });
    QVERIFY(edited != saved.end());
    QCOMPARE(edited->azimuth, 91.0f);
    QVERIFY(table && view()->model() == table);
    QCOMPARE(view()->currentIndex(), table->index(2, Diagram));
}

void TestPavrik::savesThroughTheShell()
{
    // A new antenna at the top, bound to "Пост 2"; antenna 3 moves there; antenna 4 goes;
    // antenna 2 names a union that does not exist.
    select({}, {-1, -1});
    command("Добавить")->trigger();
    const int added = model()->index(0, Uid).data().toInt();
    QVERIFY(added > 4);
    QAbstractItemModel* table = model();
    table->setData(table->index(0, Union), 2);
    table->setData(table->index(0, Azimuth), QStringLiteral("90"));
    table->setData(table->index(3, Union), 2);
    table->setData(table->index(2, Union), 77);
    select({{Uid, 4}}, {Uid, 4});
    command("Удалить")->trigger();
    // An edit still open when the engineer saves is kept.
    auto* editor = qobject_cast<QLineEdit*>(openEditor(1, Diagram));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("45"));

    ModalAnswerer answers;
    m_window->save();
    QVERIFY2(answers.boxes().isEmpty(), qPrintable(answers.seen().join(", ")));

    const auto fresh = m_store->reopen();
    // What this version does not know stays with the edited antennas and union; antenna 1, shown
    // in "Пост 1" only, stays listed by both posts.
    const Xml::UnknownParts foreign = ForeignParts::parts();
    QList<Common::Antenna> expected = {{0, 10.5f, 45, 1, true, foreign}, {1, -1.0f, 2, 2, false},
                                       {2, 180.0f, 3, 3, true, foreign}, {-1, 90.0f, -1, added, false}};
    QCOMPARE(fresh->antennas(), expected);
    QList<CoConfig::ArmUnion> unions = {{1, QStringLiteral("Пост 1"), {10, 11}, {1}},
                                        {2, QStringLiteral("Пост 2"), {12}, {1, added, 3}, foreign},
                                        {5, QStringLiteral("Резерв"), {13}, {}}};
    QCOMPARE(fresh->armUnions(), unions);

    // The shell handed the store back: the rows come again in the store's order.
    QCOMPARE(column(Uid), QStringList({"1", "2", "3", QString::number(added)}));
    QCOMPARE(column(Union), QStringList({"Пост 1", Unbound, "Пост 2", "Пост 2"}));
}

QTEST_MAIN(TestPavrik)
#include "tst_pavrik.moc"
