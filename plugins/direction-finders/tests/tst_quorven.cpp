// The direction-finder tab through the plugin contract: its tree, its context menu, the edit
// dialog, and how additions, edits, ticks and removals reach the store and the disk.

#include "foreignparts.h"
#include "complexconfig.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include <optional>

using CoConfig::Pelengator;

namespace {

// The real store, with uid answers that a test may script.
class ScriptedUidStore : public CoConfig::ComplexConfig
{
public:
    using ComplexConfig::ComplexConfig;
    int generateObjectUid(int type) override { return nextUid ? *nextUid : ComplexConfig::generateObjectUid(type); }
    std::optional<int> nextUid;
};

Pelengator withForeignParts(Pelengator pelengator)
{
    pelengator.unknown = ForeignParts::parts();
    return pelengator;
}

// Fields: uid, linkUid, name, capabilities, bandStart, bandWidth, latitude, longitude, isVirtual, marked, payload.
// Shown as 18, 17 (store records in reverse), then 30 and 31; the one without a uid is not shown.
const QList<Pelengator> Known = {
    {-1, -1, "Без номера", 0, 0, 0, 3, 4, false, false, "kept"},
    withForeignParts({17, 5, "Север", 0x0003, 1500000, 28500000, -33.5, 151.25, false, true, QByteArray("\x01\x02", 2)}),
    {18, 6, "Юг", 0x0014, 2000000000, 1000000000, 59.99999, -0.5, false, false, "south"},
    withForeignParts({30, 7, "Вирт-1", 0x20, 100000, 200000, 55.75, 37.5, true, false, "v"}),
    {31, -1, "Вирт-2", 0, 0, -1, 1, 2, true, true, {}},
};

bool writeRecords(const QString& dir, const QList<Pelengator>& records)
{
    CoConfig::ComplexConfig store(dir, 0, 0);
    for (const Pelengator& p : records)
        store.addPelengator(p);
    return store.write(CoConfig::ObjectAll);
}

// The row at a path of rows from the top (record, field, capability), in the given column.
QModelIndex rowAt(const QAbstractItemModel* model, const QList<int>& path, int column = 0)
{
    QModelIndex index;
    for (int i = 0; i < path.size(); ++i)
        index = model->index(path.at(i), i + 1 == path.size() ? column : 0, index);
    return index;
}

// Opens the context menu over the index (invalid: the empty space below the rows) and closes it
// again, then triggers the entry of that text; the menu, or null when none showed or the entry
// is missing or disabled.
QMenu* openMenu(QTreeView* view, const QModelIndex& at, const QString& entry = QString())
{
    view->collapseAll();
    for (QModelIndex parent = at.parent(); parent.isValid(); parent = parent.parent())
        view->expand(parent);
    view->scrollTo(at);
    const QPoint pos = at.isValid() ? view->visualRect(at).center() : QPoint(10, view->viewport()->height() - 5);
    QPointer<QMenu> shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown, &closer] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            closer.stop();
            (shown = popup)->close();
        }
    });
    closer.start(5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &event);
    if (!shown || entry.isEmpty())
        return shown;
    for (QAction* action : shown->actions()) {
        if (action->text() == entry && action->isEnabled()) {
            action->trigger();
            return shown;
        }
    }
    return nullptr;
}

// Fills the direction-finder dialog and presses OK; dismisses anything else.
ModalAnswerer::Handler fillDialog(const QString& name, int latitudeDegrees = -1)
{
    return [name, latitudeDegrees](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("name"));
        auto* degrees = modal->findChild<QSpinBox*>(QStringLiteral("latitudeDegrees"));
        if (!edit || !degrees)
            return ModalAnswerer::dismiss(modal);
        edit->setText(name);
        if (latitudeDegrees >= 0)
            degrees->setValue(latitudeDegrees);
        ModalAnswerer::click(modal, QMessageBox::Ok);
    };
}

} // namespace

class TstQuorven : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void tree_data();
    void tree();
    void contextMenu_data();
    void contextMenu();
    void add_data();
    void add();
    void editsReachStoreAndDisk();
    void beyondSixteenBitPositions();

private:
    // The plugin from its library over a store on the test's directory, its page shown.
    bool open(bool checkModel = true);

    TestStore m_dir;
    std::unique_ptr<ScriptedUidStore> m_store;
    std::unique_ptr<PluginLibrary> m_library;
    QTreeView* m_view = nullptr;
};

void TstQuorven::init()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeRecords(m_dir.path(), Known));
}

void TstQuorven::cleanup()
{
    m_library.reset(); // the plugin before its store
    m_store.reset();
    m_view = nullptr;
}

bool TstQuorven::open(bool checkModel)
{
    m_store = std::make_unique<ScriptedUidStore>(m_dir.path(), 1, 64);
    m_library = std::make_unique<PluginLibrary>(QStringLiteral("orvane-60-direction-finders"));
    OrvanePlugin* plugin = m_library->create();
    if (!plugin)
        return false;
    plugin->setComplexConfig(m_store.get());
    QWidget* page = plugin->widget();
    if (!page)
        return false;
    page->resize(600, 400);
    page->show();
    m_view = page->findChild<QTreeView*>();
    if (m_view && checkModel)
        new QAbstractItemModelTester(m_view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest, m_view);
    return m_view && QTest::qWaitForWindowExposed(page);
}

void TstQuorven::tree_data()
{
    QTest::addColumn<QList<int>>("path"); // position, field row, capability row
    QTest::addColumn<QString>("text0");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QList<int>>("checks"); // both columns; -1: no check box
    QTest::addColumn<bool>("grey");

    const int none = -1, off = Qt::Unchecked, on = Qt::Checked;
    using L = QList<int>;
    QTest::newRow("last store record first") << L{0} << "Юг" << "" << L{off, none} << false;
    QTest::newRow("first store record next") << L{1} << "Север" << "" << L{on, none} << false;
    QTest::newRow("then the virtual ones") << L{2} << "Вирт-1" << "(виртуальный)" << L{off, none} << true;
    QTest::newRow("uid in decimal and hex") << L{1, 0} << "ID" << "17 (0x00000011)" << L{none, none} << false;
    QTest::newRow("south and east") << L{1, 1} << "Координаты" << "33°30'0\"Ю | 151°15'0\"В" << L{none, none} << false;
    QTest::newRow("seconds carried, west") << L{0, 1} << "Координаты" << "60°0'0\"С | 0°30'0\"З" << L{none, none}
                                            << false;
    QTest::newRow("flags") << L{1, 2} << "Флаги пеленгатора (0x0003)" << "Флаги пеленгатора (0x0003)"
                           << L{none, none} << false;
    QTest::newRow("band") << L{1, 3} << "Полоса" << "(1.50 - 30.00) МГц" << L{none, none} << false;
    QTest::newRow("band edge past an int") << L{0, 3} << "Полоса" << "(2000.00 - 3000.00) МГц" << L{none, none} << false;
    QTest::newRow("band width -1") << L{3, 3} << "Полоса" << "(0.00 - 0.00) МГц" << L{none, none} << false;
    QTest::newRow("bit 0") << L{1, 2, 0} << "Quorven" << "" << L{none, on} << false;
    QTest::newRow("bit 0 set: direction") << L{1, 2, 1} << "Ручное направление" << "" << L{none, on} << false;
    QTest::newRow("deferred direction") << L{1, 2, 5} << "Направление в отложенном режиме" << "" << L{none, off}
                                        << false;
    QTest::newRow("bit 0 clear: bearing") << L{0, 2, 1} << "Ручной пеленг" << "" << L{none, off} << false;
    QTest::newRow("automatic MO") << L{0, 2, 4} << "Автоматическое МО" << "" << L{none, on} << false;
    QTest::newRow("deferred MO") << L{0, 2, 6} << "МО в отоложенном режиме" << "" << L{none, off} << false;
}

void TstQuorven::tree()
{
    QFETCH(QList<int>, path);
    QFETCH(QString, text0);
    QFETCH(QString, text1);
    QFETCH(QList<int>, checks);
    QFETCH(bool, grey);

    QVERIFY(open());
    const QAbstractItemModel* model = m_view->model();
    QCOMPARE(model->rowCount(), 4);
    QStringList texts;
    QList<int> states;
    for (int column : {0, 1}) {
        const QModelIndex index = rowAt(model, path, column);
        QVERIFY(index.isValid());
        texts << index.data().toString();
        const QVariant state = index.data(Qt::CheckStateRole);
        states << (state.isValid() ? state.toInt() : -1);
        // Only the records' own rows are enabled, and only their first column can be ticked.
        QCOMPARE(bool(index.flags() & Qt::ItemIsEnabled), path.size() == 1);
        QCOMPARE(bool(index.flags() & Qt::ItemIsUserCheckable), path.size() == 1 && column == 0);
    }
    QCOMPARE(texts, QStringList({text0, text1}));
    QCOMPARE(states, checks);
    QCOMPARE(rowAt(model, path.mid(0, 2)).data(Qt::BackgroundRole).value<QColor>(),
             grey ? QColor(210, 210, 210) : QColor(Qt::white));
}

void TstQuorven::contextMenu_data()
{
    QTest::addColumn<bool>("emptyList");
    QTest::addColumn<QList<int>>("path"); // empty: the space below the rows
    QTest::addColumn<QString>("enabled"); // Добавить, Изменить, Удалить, Развернуть всё, Свернуть всё
    QTest::addColumn<int>("selected");    // the record selected afterwards, -1 none

    QTest::newRow("virtual record") << false << QList<int>{2} << "11111" << 2;
    QTest::newRow("child row of a virtual record") << false << QList<int>{3, 1} << "11111" << 3;
    QTest::newRow("capability row of a virtual record") << false << QList<int>{2, 2, 4} << "11111" << 2;
    QTest::newRow("store record") << false << QList<int>{0} << "10011" << 0;
    QTest::newRow("child row of a store record") << false << QList<int>{1, 3} << "10011" << 1;
    QTest::newRow("empty space") << false << QList<int>{} << "10011" << -1;
    QTest::newRow("empty list") << true << QList<int>{} << "10000" << -1;
}

void TstQuorven::contextMenu()
{
    QFETCH(bool, emptyList);
    QFETCH(QList<int>, path);
    QFETCH(QString, enabled);
    QFETCH(int, selected);

    if (emptyList)
        QVERIFY(writeRecords(m_dir.path(), {}));
    QVERIFY(open());
    QMenu* menu = openMenu(m_view, rowAt(m_view->model(), path));
    QVERIFY(menu);
    QStringList texts;
    QString states;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
            states += action->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        }
    }
    QCOMPARE(texts, QStringList({"Добавить", "Изменить", "Удалить", "Развернуть всё", "Свернуть всё"}));
    QCOMPARE(states, enabled);
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    QCOMPARE(rows, selected < 0 ? QModelIndexList() : QModelIndexList{m_view->model()->index(selected, 0)});
}

void TstQuorven::add_data()
{
    QTest::addColumn<std::optional<int>>("uid"); // none: the store's own answer
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("seen");

    const QString refused = QStringLiteral("QMessageBox: Редактирование Quorven: Не удалось получить UID пеленгатора!");
    const QString dialog = QStringLiteral("PelengatorEdit: Редактирование пеленгатора");
    QTest::newRow("store gives no uid") << std::optional<int>(-1) << "x" << QStringList{refused};
    QTest::newRow("uid already listed") << std::optional<int>(17) << "x" << QStringList{refused};
    QTest::newRow("empty name refused, dialog stays open")
        << std::optional<int>() << "" << QStringList{dialog, "QMessageBox: Ошибка: Введите имя пеленгатора", dialog};
    QTest::newRow("one blank accepted") << std::optional<int>() << " " << QStringList{dialog};
}

void TstQuorven::add()
{
    QFETCH(std::optional<int>, uid);
    QFETCH(QString, name);
    QFETCH(QStringList, seen);

    QVERIFY(open());
    m_store->nextUid = uid;
    ModalAnswerer answers;
    answers.handleNext(fillDialog(name));
    answers.clickNext(QMessageBox::Ok);     // the warning, when there is one
    answers.clickNext(QMessageBox::Cancel); // the dialog, still open after it
    QVERIFY(openMenu(m_view, QModelIndex(), QStringLiteral("Добавить")));
    QStringList shown;
    for (const ModalAnswerer::Box& box : answers.boxes())
        shown << box.className + QStringLiteral(": ") + box.title
                     + (box.className == QLatin1String("QMessageBox") ? QStringLiteral(": ") + box.text : QString());
    QCOMPARE(shown, seen);
    const bool added = seen.size() == 1 && seen.first().startsWith(QLatin1String("PelengatorEdit"));
    QCOMPARE(m_view->model()->rowCount(), added ? 5 : 4);
    QCOMPARE(m_store->pelengatorCount(), added ? 6 : 5);
    if (added)
        QCOMPARE(m_view->model()->index(4, 0).data().toString(), name);
}

void TstQuorven::editsReachStoreAndDisk()
{
    CoConfig::ComplexConfig store(m_dir.path(), 1, 64);
    Orvane window({QStringLiteral("orvane-60-direction-finders.so")}, &store, QStringLiteral(ORVANE_BIN_DIR));
    QCOMPARE(window.tabWidget()->tabText(0), QStringLiteral("Пеленгаторы/Quorvenы"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* view = window.findChild<QTreeView*>();
    QVERIFY(view);
    QAbstractItemModel* model = view->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    ModalAnswerer answers;

    // Ticks and edits stay in the list until the save; additions and removals reach the store at once.
    view->setFocus();
    view->setCurrentIndex(model->index(1, 0)); // uid 17
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(model->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    answers.handleNext(fillDialog(QStringLiteral("Вирт-1 изменён")));
    QVERIFY(openMenu(view, rowAt(model, {2, 1}), QStringLiteral("Изменить")));
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("Вирт-1 изменён"));
    QCOMPARE(store.pelengatorsMap().values(), Known);

    answers.handleNext(fillDialog(QStringLiteral("Новый"), 10));
    QTest::keyClick(view, Qt::Key_Insert);
    QCOMPARE(store.pelengator(32).name, QStringLiteral("Новый"));
    view->setCurrentIndex(model->index(3, 0)); // uid 31
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(!store.pelengatorsMap().contains(31));
    QCOMPARE(model->rowCount(), 4);

    window.saveAction()->trigger();
    QCOMPARE(answers.seen().size(), 2);
    QMap<int, Pelengator> expected;
    for (const Pelengator& p : Known)
        expected.insert(p.uid, p);
    expected[17].marked = false;
    expected[30].name = QStringLiteral("Вирт-1 изменён"); // the dialog keeps every other member
    expected[32] = {32, -1, "Новый", 0, 0, -1, 10, 0, true, true, {}};
    expected.remove(31);
    const std::unique_ptr<CoConfig::ComplexConfig> reread = m_dir.reopen();
    QCOMPARE(reread->pelengatorsMap(), expected);
    // Records compare without linkUid: the edited one keeps its own too.
    QList<int> linkUids;
    for (const Pelengator& p : reread->pelengatorsMap())
        linkUids << p.linkUid;
    QCOMPARE(linkUids, QList<int>({-1, 5, 6, 7, -1}));
}

void TstQuorven::beyondSixteenBitPositions()
{
    // Positions past 65535 must not wrap onto the first records.
    const int count = 65536 + 8;
    QList<Pelengator> records;
    for (int uid = 1; uid <= count; ++uid)
        records.append({uid, -1, QStringLiteral("П%1").arg(uid), 0, 0, 0, 0, 0, uid > count - 4, false, {}});
    QVERIFY(writeRecords(m_dir.path(), records));
    QVERIFY(open(false)); // too large for the tester to walk
    const QAbstractItemModel* model = m_view->model();
    QCOMPARE(model->rowCount(), count);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("П65540"));
    QCOMPARE(model->index(65536, 0).data().toString(), QStringLiteral("П4"));
    const QModelIndex last = model->index(count - 1, 0);
    const QModelIndex id = model->index(0, 1, last);
    QCOMPARE(id.data().toString(), QStringLiteral("65544 (0x00010008)"));
    QCOMPARE(id.parent(), last);
    QVERIFY(openMenu(m_view, id, QStringLiteral("Удалить")));
    QCOMPARE(model->rowCount(), count - 1);
    QCOMPARE(m_store->pelengatorCount(), count - 1);
    QVERIFY(!m_store->pelengatorsMap().contains(count));
}

QTEST_MAIN(TstQuorven)
#include "tst_quorven.moc"
