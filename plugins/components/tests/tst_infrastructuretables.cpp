#include "cellediting.h"
#include "componentpage.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "orvaneplugin.h"
#include "orvaneplugininstance.h"
#include "pluginlibrary.h"
#include "tablemodeltester.h"
#include "teststore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

#include <memory>

// What the computer, UPS, PDU, open sensor and power socket editors have of their own: the
// computer flags column, the composite texts of their references, the socket's chooser of the
// plugged-in component, and that each power table saves only its own map. What every component
// table shares is checked by tst_componenttables.

using namespace CoConfig;

namespace {

const QString ComputerTable = QStringLiteral("orvane-11-computers");
const QString UpsUnits = QStringLiteral("orvane-20-ups");
const QString Pdus = QStringLiteral("orvane-21-pdus");
const QString Sensors = QStringLiteral("orvane-22-open-sensors");
const QString Sockets = QStringLiteral("orvane-23-power-sockets");

// Racks 1 and 2; computer 10 in rack 1 with a flag this version does not know; UPS 1 in rack 1
// and UPS 2 in none; PDU 1 in rack 2; a sensor on each UPS; sockets feeding computer 10, rack 1,
// UPS 1 and a channel, which no socket can feed.
void fill(ComplexConfigInterface& store)
{
    store.racks().insert(ComponentUid<0>(1), Rack{ComponentUid<0>(1), "Стойка управления", "СУ"});
    store.racks().insert(ComponentUid<0>(2), Rack{ComponentUid<0>(2), "Приёмная стойка", "СП"});
    Computer computer;
    computer.uid = ComponentUid<1>(10);
    computer.rack = ComponentUid<0>(1);
    computer.name = QStringLiteral("АРМ 1");
    computer.flags = {ComputerFlag::Workstation};
    computer.unknownFlags = {QStringLiteral("role_of_tomorrow")};
    computer.registrations = {{QStringLiteral("ivanov"), 1}};
    store.computers().insert(computer.uid, computer);
    PowerConfig& power = store.power();
    power.ups.insert(ComponentUid<9>(1), Ups{ComponentUid<9>(1), ComponentUid<0>(1), "ИБП-1", "10.0.0.1"});
    power.ups.insert(ComponentUid<9>(2), Ups{ComponentUid<9>(2), ComponentUid<0>(), "ИБП-2", "10.0.0.2"});
    power.pdus.insert(ComponentUid<10>(1), Pdu{ComponentUid<10>(1), ComponentUid<0>(2), "БРП-1", "10.0.0.3"});
    power.openSensors.insert(ComponentUid<11>(1), OpenSensor{ComponentUid<11>(1), ComponentUid<9>(1), 1, ComponentUid<0>(1)});
    power.openSensors.insert(ComponentUid<11>(2), OpenSensor{ComponentUid<11>(2), ComponentUid<9>(2), 2, ComponentUid<0>(2)});
    const ConfigUid objects[] = {{10, 1}, {1, 0}, {1, 9}, {5, 4}};
    for (int uid = 1; uid <= 4; ++uid)
        power.powerSockets.insert(ComponentUid<12>(uid), PowerSocket{ComponentUid<12>(uid), ComponentUid<10>(1), uid,
                                                                     objects[uid - 1]});
}

void select(OrvanePlugin* plugin, int column, const QList<int>& rows, int currentRow)
{
    QItemSelectionModel* selection = view(plugin)->selectionModel();
    selection->clearSelection();
    for (const int row : rows)
        selection->select(model(plugin)->index(row, column), QItemSelectionModel::Select);
    selection->setCurrentIndex(model(plugin)->index(currentRow, column), QItemSelectionModel::NoUpdate);
}

// The text a cell shows: its delegate's text for its display value.
QString shown(OrvanePlugin* plugin, int row, int column)
{
    const QModelIndex cell = model(plugin)->index(row, column);
    auto* delegate = qobject_cast<QStyledItemDelegate*>(view(plugin)->itemDelegateForIndex(cell));
    const QVariant value = cell.data(Qt::DisplayRole);
    if (delegate && value.isValid())
        return delegate->displayText(value, QLocale());
    return value.toString();
}

// The check box of a flag in the flags editor.
QCheckBox* box(QWidget* editor, ComputerFlag flag)
{
    for (QCheckBox* box : editor->findChildren<QCheckBox*>()) {
        if (box->text() == Computers::name(flag))
            return box;
    }
    return nullptr;
}

ComputerFlags checked(QWidget* editor)
{
    ComputerFlags flags;
    for (const ComputerFlag flag : Computers::Flags) {
        if (QCheckBox* b = box(editor, flag); b && b->isChecked())
            flags.insert(flag);
    }
    return flags;
}

// The socket object's chooser: its type combo, then its component combo.
QList<QComboBox*> chooser(QWidget* editor)
{
    if (!editor || !editor->inherits("ConfigUidComboBox"))
        return {};
    return editor->findChildren<QComboBox*>(Qt::FindDirectChildrenOnly);
}

QStringList items(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; combo && i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

const int FlagsColumn = 4;
const int ObjectColumn = 3;

} // namespace

class TestInfrastructureTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void cellsShowTheirComponents_data();
    void cellsShowTheirComponents();
    void computerFlagsEditor();
    void unknownFlagTokenTravelsUntilEdited();
    void socketObjectChooser();
    void savingOnePowerTableKeepsTheOthers_data();
    void savingOnePowerTableKeepsTheOthers();
    void renamedRackShowsEverywhereAfterTheShellSaves();

private:
    OrvanePlugin* open(const QString& library);

    std::unique_ptr<TestStore> m_store;
    QMap<QString, std::shared_ptr<PluginLibrary>> m_libraries;
    std::vector<std::unique_ptr<TableModelTester>> m_testers;
};

void TestInfrastructureTables::init()
{
    m_store = std::make_unique<TestStore>();
    QVERIFY(m_store->isValid());
    fill(*m_store->get());
}

void TestInfrastructureTables::cleanup()
{
    m_testers.clear();
    for (const auto& library : std::as_const(m_libraries))
        library->destroyAll();
    m_libraries.clear();
    m_store.reset();
}

OrvanePlugin* TestInfrastructureTables::open(const QString& library)
{
    auto& loaded = m_libraries[library];
    if (!loaded)
        loaded = std::make_shared<PluginLibrary>(library);
    OrvanePlugin* plugin = loaded->create();
    if (!plugin || !view(plugin))
        return nullptr;
    m_testers.push_back(std::make_unique<TableModelTester>(model(plugin)));
    plugin->setComplexConfig(m_store->get());
    return plugin;
}

void TestInfrastructureTables::cellsShowTheirComponents_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");

    QTest::newRow("computer's rack") << ComputerTable << 0 << 1 << "Стойка управления";
    QTest::newRow("computer's flags") << ComputerTable << 0 << FlagsColumn << "АРМ оператора;role_of_tomorrow";
    QTest::newRow("UPS's rack") << UpsUnits << 0 << 2 << "Стойка управления";
    QTest::newRow("UPS without a rack") << UpsUnits << 1 << 2 << "";
    QTest::newRow("PDU's rack") << Pdus << 0 << 1 << "Приёмная стойка";
    QTest::newRow("sensor's UPS") << Sensors << 0 << 1 << "ИБП-1 (Стойка управления)";
    QTest::newRow("sensor's UPS without a rack") << Sensors << 1 << 1 << "ИБП-2 ()";
    QTest::newRow("controlled rack") << Sensors << 1 << 3 << "Приёмная стойка";
    QTest::newRow("socket's PDU") << Sockets << 0 << 1 << "Приёмная стойка/БРП-1";
    QTest::newRow("socket feeding a computer") << Sockets << 0 << ObjectColumn << "Стойка управления/АРМ 1";
    QTest::newRow("socket feeding a rack") << Sockets << 1 << ObjectColumn << "Стойка: Стойка управления";
    QTest::newRow("socket feeding a UPS") << Sockets << 2 << ObjectColumn << "ИБП: ИБП-1";
    QTest::newRow("socket feeding a channel") << Sockets << 3 << ObjectColumn << "";
}

void TestInfrastructureTables::cellsShowTheirComponents()
{
    QFETCH(QString, library);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);

    OrvanePlugin* plugin = open(library);
    QVERIFY(plugin);
    QCOMPARE(shown(plugin, row, column), text);
}

// Two boxes checked show their two names; a fill copies the set; a counter is refused.
void TestInfrastructureTables::computerFlagsEditor()
{
    OrvanePlugin* plugin = open(ComputerTable);
    QVERIFY(plugin);
    trigger(plugin, Add);
    trigger(plugin, Add);
    QCOMPARE(shown(plugin, 1, FlagsColumn), QString());

    const QModelIndex cell = model(plugin)->index(1, FlagsColumn);
    QPointer<QWidget> editor = CellEditing::openByDoubleClick(view(plugin), cell);
    QVERIFY(editor);
    QCOMPARE(editor->findChildren<QCheckBox*>().size(), Computers::Flags.size());
    QVERIFY(box(editor, ComputerFlag::DataServer) && box(editor, ComputerFlag::ChannelServer));
    QTest::mouseClick(box(editor, ComputerFlag::DataServer), Qt::LeftButton);
    QTest::mouseClick(box(editor, ComputerFlag::ChannelServer), Qt::LeftButton);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editor);
    QCOMPARE(shown(plugin, 1, FlagsColumn), QStringLiteral("Сервер каналов;Сервер данных"));

    select(plugin, FlagsColumn, {0, 1, 2}, 1);
    trigger(plugin, Fill);
    for (const int row : {0, 2})
        QCOMPARE(shown(plugin, row, FlagsColumn), QStringLiteral("Сервер каналов;Сервер данных"));

    ModalAnswerer answers;
    trigger(plugin, FillWithCounter);
    QCOMPARE(answers.seen(), QStringList());
    QCOMPARE(shown(plugin, 2, FlagsColumn), QStringLiteral("Сервер каналов;Сервер данных"));
}

// A flag this version does not know goes through the clipboard and the store as it was; an edit of
// the cell in the check-box editor replaces the whole set.
void TestInfrastructureTables::unknownFlagTokenTravelsUntilEdited()
{
    OrvanePlugin* plugin = open(ComputerTable);
    QVERIFY(plugin);
    select(plugin, 0, {0}, 0);
    trigger(plugin, Copy);
    trigger(plugin, Paste);
    QCOMPARE(model(plugin)->rowCount(), 2);
    QPointer<QWidget> editor = CellEditing::openByDoubleClick(view(plugin), model(plugin)->index(0, FlagsColumn));
    QVERIFY(editor);
    QCOMPARE(checked(editor), ComputerFlags{ComputerFlag::Workstation});
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editor);
    plugin->saveComplexConfig();
    QVERIFY2(m_store->get()->write(ObjectAll), qPrintable(m_store->get()->errorString()));

    const std::unique_ptr<ComplexConfig> fresh = m_store->reopen();
    const QList<Computer> computers = fresh->computers().values();
    QCOMPARE(computers.size(), 2);
    QCOMPARE(computers.at(0).unknownFlags, QSet<QString>());
    QCOMPARE(computers.at(1).unknownFlags, QSet<QString>{QStringLiteral("role_of_tomorrow")});
    for (const Computer& computer : computers) {
        QCOMPARE(computer.flags, ComputerFlags{ComputerFlag::Workstation});
        QCOMPARE(computer.registrations.value(QStringLiteral("ivanov")), 1);
    }
}

void TestInfrastructureTables::socketObjectChooser()
{
    OrvanePlugin* plugin = open(Sockets);
    QVERIFY(plugin);

    // A rack is no type offered: no current type, and committing keeps the rack.
    const QModelIndex rack = model(plugin)->index(1, ObjectColumn);
    QPointer<QWidget> editor = CellEditing::openByDoubleClick(view(plugin), rack);
    QList<QComboBox*> combos = chooser(editor);
    QCOMPARE(combos.size(), 2);
    QCOMPARE(items(combos.at(0)), QStringList({"ЭВМ", "Приёмник"}));
    QCOMPARE(combos.at(0)->currentIndex(), -1);
    QCOMPARE(combos.at(1)->currentIndex(), -1);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editor);
    QCOMPARE(rack.data(Qt::EditRole), QVariant(QSize(1, 0)));

    // Choosing the computer type offers the computers as "rack/computer".
    editor = CellEditing::openByDoubleClick(view(plugin), rack);
    combos = chooser(editor);
    QCOMPARE(combos.size(), 2);
    combos.at(0)->setCurrentIndex(0);
    QCOMPARE(items(combos.at(1)), QStringList({"Стойка управления/АРМ 1"}));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editor);
    QCOMPARE(shown(plugin, 1, ObjectColumn), QStringLiteral("Стойка управления/АРМ 1"));

    // No receiver in the store: committing that type clears the object.
    editor = CellEditing::openByDoubleClick(view(plugin), rack);
    combos = chooser(editor);
    QCOMPARE(combos.size(), 2);
    QCOMPARE(combos.at(1)->currentData(), QVariant(QSize(10, 1)));
    combos.at(0)->setCurrentIndex(1);
    QCOMPARE(combos.at(1)->count(), 0);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editor);
    QCOMPARE(rack.data(Qt::EditRole), QVariant(QSize(-1, -1)));
    QCOMPARE(shown(plugin, 1, ObjectColumn), QString());
}

void TestInfrastructureTables::savingOnePowerTableKeepsTheOthers_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<int>("map"); // its map in power(): UPS units, PDUs, open sensors, sockets
    QTest::newRow("UPS units") << UpsUnits << 0;
    QTest::newRow("PDUs") << Pdus << 1;
    QTest::newRow("open sensors") << Sensors << 2;
    QTest::newRow("power sockets") << Sockets << 3;
}

void TestInfrastructureTables::savingOnePowerTableKeepsTheOthers()
{
    QFETCH(QString, library);
    QFETCH(int, map);

    OrvanePlugin* plugin = open(library);
    QVERIFY(plugin);
    const PowerConfig before = m_store->get()->power();
    const auto sizes = [](const PowerConfig& power) {
        return QList<qsizetype>{power.ups.size(), power.pdus.size(), power.openSensors.size(), power.powerSockets.size()};
    };
    trigger(plugin, Add);
    plugin->saveComplexConfig();

    const PowerConfig& after = m_store->get()->power();
    QList<qsizetype> expected = sizes(before);
    ++expected[map];
    QCOMPARE(sizes(after), expected);
    QVERIFY(map == 0 || after.ups == before.ups);
    QVERIFY(map == 1 || after.pdus == before.pdus);
    QVERIFY(map == 2 || after.openSensors == before.openSensors);
    QVERIFY(map == 3 || after.powerSockets == before.powerSockets);
}

// Through the real shell: a rack renamed and a rack added in the rack tab show in every table
// that refers to racks once the shell has saved and handed the store back.
void TestInfrastructureTables::renamedRackShowsEverywhereAfterTheShellSaves()
{
    const QStringList libraries = {QStringLiteral("orvane-10-racks"), ComputerTable, UpsUnits, Pdus, Sensors, Sockets};
    QStringList files;
    for (const QString& library : libraries)
        files.append(library + QStringLiteral(".so"));
    ModalAnswerer answers;
    Orvane window(files, m_store->get(), QStringLiteral(ORVANE_BIN_DIR));
    QCOMPARE(window.plugins().size(), libraries.size());
    auto tab = [&](const QString& library) { return window.plugins().at(libraries.indexOf(library))->plugin(); };

    OrvanePlugin* racks = tab(libraries.first());
    QVERIFY(model(racks)->setData(model(racks)->index(0, 1), QStringLiteral("Пульт")));
    trigger(racks, Add);
    QVERIFY(model(racks)->setData(model(racks)->index(2, 1), QStringLiteral("Новая стойка")));
    window.saveAction()->trigger();
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Конфигурация сохранена"));
    QCOMPARE(answers.seen(), QStringList());

    const struct { QString library; int row; int column; QString text; bool rackCombo; } cells[] = {
        {ComputerTable, 0, 1, "Пульт", true},
        {UpsUnits, 0, 2, "Пульт", true},
        {Pdus, 0, 1, "Приёмная стойка", true},
        {Sensors, 0, 1, "ИБП-1 (Пульт)", false},
        {Sensors, 0, 3, "Пульт", true},
        {Sockets, 0, ObjectColumn, "Пульт/АРМ 1", false},
    };
    for (const auto& cell : cells) {
        const QString where = QStringLiteral("%1 %2").arg(cell.library).arg(cell.column);
        OrvanePlugin* plugin = tab(cell.library);
        QVERIFY2(plugin, qPrintable(where));
        QCOMPARE(shown(plugin, cell.row, cell.column), cell.text);
        if (!cell.rackCombo)
            continue;
        const QModelIndex index = model(plugin)->index(cell.row, cell.column);
        QAbstractItemDelegate* delegate = view(plugin)->itemDelegateForIndex(index);
        std::unique_ptr<QWidget> editor(delegate->createEditor(nullptr, QStyleOptionViewItem(), index));
        QCOMPARE(items(qobject_cast<QComboBox*>(editor.get())),
                 QStringList({"---", "Пульт", "Приёмная стойка", "Новая стойка"}));
    }
}

QTEST_MAIN(TestInfrastructureTables)
#include "tst_infrastructuretables.moc"
