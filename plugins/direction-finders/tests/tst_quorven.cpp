// The direction-finder tab through the plugin contract: its tree, its context menu, the edit
// dialog, and how additions, edits, ticks and removals reach the store and the disk.

#include "complexconfig.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QColor>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <optional>

using CoConfig::Pelengator;

namespace {

const QString PluginName = QStringLiteral("orvane-60-direction-finders");

// The real store, with uid answers that a test may script.
class ScriptedUidStore : public CoConfig::ComplexConfig
{
public:
    using ComplexConfig::ComplexConfig;
    int generateObjectUid(int type) override { return nextUid ? *nextUid : ComplexConfig::generateObjectUid(type); }
    std::optional<int> nextUid;
};

Pelengator record(int uid, const QString& name, bool isVirtual, double latitude, double longitude)
{
    Pelengator p;
    p.uid = uid;
    p.name = name;
    p.isVirtual = isVirtual;
    p.latitude = latitude;
    p.longitude = longitude;
    return p;
}

// In store (uid) order: 17 and 18 real, 30 and 31 virtual, and one without a uid.
QList<Pelengator> knownRecords()
{
    Pelengator north = record(17, QStringLiteral("Север"), false, -33.5, 151.25);
    north.linkUid = 5;
    north.capabilities = 0x0003;
    north.bandStart = 1500000;
    north.bandWidth = 28500000;
    north.marked = true;
    north.payload = QByteArray("\x01\x02", 2);
    Pelengator south = record(18, QStringLiteral("Юг"), false, 59.99999, -0.5);
    south.linkUid = 6;
    south.capabilities = 0x0014;
    south.bandStart = 2000000000;
    south.bandWidth = 1000000000;
    south.payload = "south";
    Pelengator first = record(30, QStringLiteral("Вирт-1"), true, 55.75, 37.5);
    first.linkUid = 7;
    first.capabilities = 0x20;
    first.bandStart = 100000;
    first.bandWidth = 200000;
    first.payload = "v";
    Pelengator second = record(31, QStringLiteral("Вирт-2"), true, 1, 2);
    second.bandWidth = -1;
    second.marked = true;
    Pelengator noUid = record(-1, QStringLiteral("Без номера"), false, 3, 4);
    noUid.payload = "kept";
    return {noUid, north, south, first, second};
}

bool writeRecords(const QString& dir, const QList<Pelengator>& records)
{
    CoConfig::ComplexConfig store(dir, 0, 0);
    for (const Pelengator& p : records)
        store.addPelengator(p);
    return store.write(CoConfig::ObjectAll);
}

// The plugin made through its library's factory, with its page shown over the given store and
// its model checked throughout (unless the model is too large to walk).
class Tab
{
public:
    explicit Tab(CoConfig::ComplexConfigInterface* store, bool checked = true) : m_library(PluginName)
    {
        m_plugin = m_library.create();
        if (!m_plugin)
            return;
        m_plugin->setComplexConfig(store);
        QWidget* page = m_plugin->widget();
        if (!page)
            return;
        page->resize(600, 400);
        page->show();
        m_view = page->findChild<QTreeView*>();
        if (!m_view || !QTest::qWaitForWindowExposed(page))
            m_view = nullptr;
        else if (checked)
            new QAbstractItemModelTester(m_view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest,
                                         m_view->model());
    }
    ~Tab() { m_library.destroy(m_plugin); }

    QTreeView* view() const { return m_view; }
    QAbstractItemModel* model() const { return m_view->model(); }

private:
    PluginLibrary m_library;
    OrvanePlugin* m_plugin = nullptr;
    QTreeView* m_view = nullptr;
};

// A record's row, or a row under it (field -1: the record; capability -1: a field row).
QModelIndex rowAt(const QAbstractItemModel* model, int position, int field = -1, int capability = -1, int column = 0)
{
    QModelIndex index = model->index(position, field < 0 ? column : 0);
    if (field >= 0)
        index = model->index(field, capability < 0 ? column : 0, index);
    if (capability >= 0)
        index = model->index(capability, column, index);
    return index;
}

// Opens the context menu over the index (invalid: the empty space below the rows) and closes it
// again; the menu that showed, or null.
QMenu* openMenu(QTreeView* view, const QModelIndex& at)
{
    view->collapseAll();
    for (QModelIndex parent = at.parent(); parent.isValid(); parent = parent.parent())
        view->expand(parent);
    const QPoint pos = at.isValid() ? view->visualRect(at).center() : QPoint(10, view->viewport()->height() - 5);
    QPointer<QMenu> shown;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = popup;
            popup->close();
        }
    });
    closer.start();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &event);
    return shown;
}

QAction* menuAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Opens the menu over the index and triggers the entry; false when it is missing or disabled.
bool trigger(QTreeView* view, const QModelIndex& at, const QString& text)
{
    QMenu* menu = openMenu(view, at);
    QAction* action = menu ? menuAction(menu, text) : nullptr;
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

// Fills the direction-finder dialog and presses OK.
ModalAnswerer::Handler fillDialog(const QString& name, int latitudeDegrees)
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
    void tree_data();
    void tree();
    void contextMenu_data();
    void contextMenu();
    void addRefused_data();
    void addRefused();
    void dialogName_data();
    void dialogName();
    void editsReachStoreAndDisk();
    void beyondSixteenBitPositions();

private:
    std::unique_ptr<TestStore> m_dir;
};

void TstQuorven::init()
{
    m_dir = std::make_unique<TestStore>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeRecords(m_dir->path(), knownRecords()));
}

void TstQuorven::tree_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("capability");
    QTest::addColumn<QString>("text0");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<int>("check0"); // -1: no check box
    QTest::addColumn<int>("check1");
    QTest::addColumn<bool>("grey");

    const int none = -1, off = Qt::Unchecked, on = Qt::Checked;
    // Store records first, the last one first; then the virtual ones; the one without a uid is not shown.
    QTest::newRow("last store record first") << 0 << -1 << -1 << "Юг" << "" << off << none << false;
    QTest::newRow("first store record next") << 1 << -1 << -1 << "Север" << "" << on << none << false;
    QTest::newRow("virtual records after") << 2 << -1 << -1 << "Вирт-1" << "(виртуальный)" << off << none << true;
    QTest::newRow("second virtual") << 3 << -1 << -1 << "Вирт-2" << "(виртуальный)" << on << none << true;
    QTest::newRow("uid in decimal and hex") << 1 << 0 << -1 << "ID" << "17 (0x00000011)" << none << none << false;
    QTest::newRow("south and east") << 1 << 1 << -1 << "Координаты"
                                    << "33°30'0\"Ю | 151°15'0\"В" << none << none << false;
    QTest::newRow("seconds reach 60, west") << 0 << 1 << -1 << "Координаты"
                                            << "59°59'60\"С | 0°30'0\"З" << none << none << false;
    QTest::newRow("flags") << 1 << 2 << -1 << "Флаги пеленгатора (0x0003)" << "Флаги пеленгатора (0x0003)" << none
                           << none << false;
    QTest::newRow("band") << 1 << 3 << -1 << "Полоса" << "(1.50 - 30.00) МГц" << none << none << false;
    QTest::newRow("band edge beyond an int") << 0 << 3 << -1 << "Полоса" << "(2000.00 - 3000.00) МГц" << none << none
                                             << false;
    QTest::newRow("band width -1") << 3 << 3 << -1 << "Полоса" << "(0.00 - 0.00) МГц" << none << none << false;
    // Bit 0 set: "направление" wording.
    QTest::newRow("bit 0 set") << 1 << 2 << 0 << "Quorven" << "" << none << on << false;
    QTest::newRow("manual direction") << 1 << 2 << 1 << "Ручное направление" << "" << none << on << false;
    QTest::newRow("manual MO") << 1 << 2 << 2 << "Ручное МО" << "" << none << off << false;
    QTest::newRow("automatic direction") << 1 << 2 << 3 << "Автоматическое направление" << "" << none << off << false;
    QTest::newRow("deferred direction") << 1 << 2 << 5 << "Направление в отложенном режиме" << "" << none << off
                                        << false;
    QTest::newRow("deferred MO") << 1 << 2 << 6 << "МО в отоложенном режиме" << "" << none << off << false;
    // Bit 0 clear: "пеленг" wording.
    QTest::newRow("manual bearing") << 0 << 2 << 1 << "Ручной пеленг" << "" << none << off << false;
    QTest::newRow("automatic bearing") << 0 << 2 << 3 << "Автоматический пеленг" << "" << none << off << false;
    QTest::newRow("automatic MO set") << 0 << 2 << 4 << "Автоматическое МО" << "" << none << on << false;
    QTest::newRow("deferred bearing") << 0 << 2 << 5 << "Пеленг в отложенном режиме" << "" << none << off << false;
}

void TstQuorven::tree()
{
    QFETCH(int, position);
    QFETCH(int, field);
    QFETCH(int, capability);
    QFETCH(QString, text0);
    QFETCH(QString, text1);
    QFETCH(int, check0);
    QFETCH(int, check1);
    QFETCH(bool, grey);

    ScriptedUidStore store(m_dir->path(), 1, 64);
    Tab tab(&store);
    QVERIFY(tab.view());
    QCOMPARE(tab.model()->rowCount(), 4);
    const QModelIndex first = rowAt(tab.model(), position, field, capability, 0);
    const QModelIndex second = rowAt(tab.model(), position, field, capability, 1);
    QVERIFY(first.isValid() && second.isValid());
    QCOMPARE(first.data().toString(), text0);
    QCOMPARE(second.data().toString(), text1);
    const QVariant state0 = first.data(Qt::CheckStateRole);
    const QVariant state1 = second.data(Qt::CheckStateRole);
    QCOMPARE(state0.isValid() ? state0.toInt() : -1, check0);
    QCOMPARE(state1.isValid() ? state1.toInt() : -1, check1);
    QCOMPARE(first.data(Qt::BackgroundRole).value<QColor>() == QColor(210, 210, 210), grey);
    // Only the records' own rows are enabled, and only their first column has a check box.
    QCOMPARE(bool(first.flags() & Qt::ItemIsEnabled), field < 0);
    QCOMPARE(bool(first.flags() & Qt::ItemIsUserCheckable), field < 0);
    QCOMPARE(bool(second.flags() & Qt::ItemIsUserCheckable), false);
}

void TstQuorven::contextMenu_data()
{
    QTest::addColumn<bool>("emptyList");
    QTest::addColumn<int>("position"); // -1: empty space
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("capability");
    QTest::addColumn<QString>("enabled"); // Добавить, Изменить, Удалить, Развернуть всё, Свернуть всё
    QTest::addColumn<int>("selected");    // the record selected afterwards, -1 none

    QTest::newRow("virtual record") << false << 2 << -1 << -1 << "11111" << 2;
    QTest::newRow("child row of a virtual record") << false << 3 << 1 << -1 << "11111" << 3;
    QTest::newRow("capability row of a virtual record") << false << 2 << 2 << 4 << "11111" << 2;
    QTest::newRow("store record") << false << 0 << -1 << -1 << "10011" << 0;
    QTest::newRow("child row of a store record") << false << 1 << 3 << -1 << "10011" << 1;
    QTest::newRow("empty space") << false << -1 << -1 << -1 << "10011" << -1;
    QTest::newRow("empty list") << true << -1 << -1 << -1 << "10000" << -1;
}

void TstQuorven::contextMenu()
{
    QFETCH(bool, emptyList);
    QFETCH(int, position);
    QFETCH(int, field);
    QFETCH(int, capability);
    QFETCH(QString, enabled);
    QFETCH(int, selected);

    if (emptyList)
        QVERIFY(writeRecords(m_dir->path(), {}));
    ScriptedUidStore store(m_dir->path(), 1, 64);
    Tab tab(&store);
    QVERIFY(tab.view());
    const QModelIndex at = position < 0 ? QModelIndex() : rowAt(tab.model(), position, field, capability);
    QVERIFY(position < 0 || at.isValid());

    QMenu* menu = openMenu(tab.view(), at);
    QVERIFY(menu);
    QStringList texts;
    QString states;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts << action->text();
        states += action->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    }
    QCOMPARE(texts, QStringList({"Добавить", "Изменить", "Удалить", "Развернуть всё", "Свернуть всё"}));
    QCOMPARE(states, enabled);
    const QModelIndexList rows = tab.view()->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), selected < 0 ? 0 : 1);
    if (selected >= 0)
        QCOMPARE(rows.first(), tab.model()->index(selected, 0));
}

void TstQuorven::addRefused_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("store gives no uid") << -1;
    QTest::newRow("uid already in the list") << 17;
}

void TstQuorven::addRefused()
{
    QFETCH(int, answer);
    ScriptedUidStore store(m_dir->path(), 1, 64);
    store.nextUid = answer;
    Tab tab(&store);
    QVERIFY(tab.view());
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    QVERIFY(trigger(tab.view(), QModelIndex(), QStringLiteral("Добавить")));
    QCOMPARE(answers.boxes().size(), 1);
    QCOMPARE(answers.boxes().first().icon, QMessageBox::Critical);
    QCOMPARE(answers.boxes().first().text, QStringLiteral("Не удалось получить UID пеленгатора!"));
    QCOMPARE(tab.model()->rowCount(), 4);
    QCOMPARE(store.pelengatorCount(), 5);
}

void TstQuorven::dialogName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<bool>("added");

    const QString dialog = QStringLiteral("PelengatorEdit: Редактирование пеленгатора");
    QTest::newRow("empty name refused, dialog stays open")
        << "" << QStringList{dialog, "QMessageBox: Ошибка: Введите имя пеленгатора", dialog} << false;
    QTest::newRow("one blank accepted") << " " << QStringList{dialog} << true;
}

void TstQuorven::dialogName()
{
    QFETCH(QString, name);
    QFETCH(QStringList, seen);
    QFETCH(bool, added);

    ScriptedUidStore store(m_dir->path(), 1, 64);
    Tab tab(&store);
    QVERIFY(tab.view());
    ModalAnswerer answers;
    answers.handleNext(fillDialog(name, -1));
    answers.clickNext(QMessageBox::Ok);     // the warning, when there is one
    answers.clickNext(QMessageBox::Cancel); // the dialog again, still open
    QVERIFY(trigger(tab.view(), QModelIndex(), QStringLiteral("Добавить")));
    QStringList shown;
    for (const ModalAnswerer::Box& box : answers.boxes())
        shown << box.className + QStringLiteral(": ") + box.title
                     + (box.className == QLatin1String("QMessageBox") ? QStringLiteral(": ") + box.text : QString());
    QCOMPARE(shown, seen);
    QCOMPARE(tab.model()->rowCount(), added ? 5 : 4);
    if (added)
        QCOMPARE(tab.model()->index(4, 0).data().toString(), name);
}

void TstQuorven::editsReachStoreAndDisk()
{
    CoConfig::ComplexConfig store(m_dir->path(), 1, 64);
    Orvane window({PluginName + QStringLiteral(".so")}, &store, QStringLiteral(ORVANE_BIN_DIR));
    QCOMPARE(window.tabWidget()->count(), 1);
    QCOMPARE(window.tabWidget()->tabText(0), QStringLiteral("Пеленгаторы/Quorvenы"));
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* view = window.findChild<QTreeView*>();
    QVERIFY(view);
    QAbstractItemModel* model = view->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QList<Pelengator> before = knownRecords();
    ModalAnswerer answers;

    // Ticks and edits stay in the list until the save.
    view->setFocus();
    view->setCurrentIndex(model->index(1, 0)); // uid 17
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(model->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(store.pelengator(17).marked);

    answers.handleNext(fillDialog(QStringLiteral("Вирт-1 изменён"), -1));
    QVERIFY(trigger(view, rowAt(model, 2, 1), QStringLiteral("Изменить")));
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("Вирт-1 изменён"));
    QCOMPARE(store.pelengator(30), before.at(3));

    // Additions and removals reach the store at once.
    view->setCurrentIndex(model->index(0, 0));
    answers.handleNext(fillDialog(QStringLiteral("Новый"), 10));
    QTest::keyClick(view, Qt::Key_Insert);
    QCOMPARE(model->rowCount(), 5);
    const int added = store.pelengatorsMap().lastKey();
    QCOMPARE(added, 32);
    QCOMPARE(store.pelengator(added).name, QStringLiteral("Новый"));

    view->setCurrentIndex(model->index(3, 0)); // uid 31
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(model->rowCount(), 4);
    QVERIFY(!store.pelengatorsMap().contains(31));
    QCOMPARE(answers.seen().size(), 2);
    QCOMPARE(answers.pending(), 0);

    // Saved through the shell and read back from the disk.
    window.saveAction()->trigger();
    QCOMPARE(answers.boxes().size(), 2);
    const std::unique_ptr<CoConfig::ComplexConfig> reread = m_dir->reopen();
    QMap<int, Pelengator> expected;
    for (const Pelengator& p : before)
        expected.insert(p.uid, p);
    expected[17].marked = false;
    Pelengator edited = record(30, QStringLiteral("Вирт-1 изменён"), true, 55.75, 37.5);
    edited.bandWidth = -1;
    edited.marked = true;
    expected.insert(30, edited);
    expected.remove(31);
    Pelengator fresh = record(added, QStringLiteral("Новый"), true, 10, 0);
    fresh.bandWidth = -1;
    fresh.marked = true;
    expected.insert(added, fresh);
    QCOMPARE(reread->pelengatorsMap(), expected);
    // linkUid is not compared with the records: the ones not rebuilt keep theirs.
    QCOMPARE(reread->pelengator(17).linkUid, 5);
    QCOMPARE(reread->pelengator(18).linkUid, 6);
    QCOMPARE(reread->pelengator(30).linkUid, -1);
    QCOMPARE(reread->pelengator(added).linkUid, -1);
    // The list is not reloaded after the save, and still matches what was written.
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->index(3, 0).data().toString(), QStringLiteral("Новый"));
}

void TstQuorven::beyondSixteenBitPositions()
{
    // Positions past 65535 must not wrap onto the first records.
    const int count = 65536 + 8;
    QList<Pelengator> records;
    for (int uid = 1; uid <= count; ++uid)
        records << record(uid, QStringLiteral("П%1").arg(uid), uid > count - 4, 0, 0);
    QVERIFY(writeRecords(m_dir->path(), records));
    ScriptedUidStore store(m_dir->path(), 1, 64);
    Tab tab(&store, false);
    QVERIFY(tab.view());
    QAbstractItemModel* model = tab.model();
    QCOMPARE(model->rowCount(), count);
    // Store records in reverse, then the four virtual ones.
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("П65540"));
    QCOMPARE(model->index(65536, 0).data().toString(), QStringLiteral("П4"));
    QCOMPARE(model->index(65539, 0).data().toString(), QStringLiteral("П1"));
    const QModelIndex last = model->index(count - 1, 0);
    QCOMPARE(last.data().toString(), QStringLiteral("П%1").arg(count));
    const QModelIndex id = model->index(0, 1, last);
    QCOMPARE(id.data().toString(), QStringLiteral("65544 (0x00010008)"));
    QCOMPARE(id.parent(), last);

    tab.view()->scrollTo(last);
    QMenu* menu = openMenu(tab.view(), id);
    QVERIFY(menu);
    QVERIFY(menuAction(menu, QStringLiteral("Удалить"))->isEnabled());
    menuAction(menu, QStringLiteral("Удалить"))->trigger();
    QCOMPARE(model->rowCount(), count - 1);
    QVERIFY(!store.pelengatorsMap().contains(count));
    QVERIFY(store.pelengatorsMap().contains(1));
}

QTEST_MAIN(TstQuorven)
#include "tst_quorven.moc"
