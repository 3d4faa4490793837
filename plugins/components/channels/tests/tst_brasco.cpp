#include "cellediting.h"
#include "modalanswerer.h"
#include "channelmodulecombobox.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

// What is the channel editor's own: the texts of its reference columns and their combo boxes,
// a new row, and the module column. What every component table shares (copy and paste keeping
// every member, save and read) is checked by tst_componenttables.

using namespace CoConfig;

namespace {

enum Column { Uid, Name, CassetteType, Module, Fixed, Hidden, Multi, Scale, ReceiverColumn, Cassette, Server, ServerIndex, Rpu };

AntennaControl control(int uid, int rpu, const char* group)
{
    AntennaControl c;
    c.uid = ComponentUid<8>(uid);
    c.antennaServer = ComponentUid<7>(1);
    c.rpu = rpu;
    c.group = QString::fromUtf8(group);
    return c;
}

Computer computer(int uid, int rack, const char* name)
{
    Computer c;
    c.uid = ComponentUid<1>(uid);
    c.rack = ComponentUid<0>(rack);
    c.name = QString::fromUtf8(name);
    return c;
}

// Every kind a channel refers to, some of them without their own parent.
void fillStore(ComplexConfigInterface& store)
{
    store.racks().insert(ComponentUid<0>(1), Rack{ComponentUid<0>(1), "Приёмная стойка", "СП"});
    store.computers().insert(ComponentUid<1>(10), computer(10, 1, "ЭВМ КВ"));
    store.computers().insert(ComponentUid<1>(11), computer(11, -1, "ЭВМ УКВ"));
    ReceiverConfig& radio = store.receivers();
    radio.receivers.insert(ComponentUid<2>(1), Receiver{ComponentUid<2>(1), ComponentUid<0>(1), "КВ-1"});
    radio.receivers.insert(ComponentUid<2>(2), Receiver{ComponentUid<2>(2), ComponentUid<0>(-1), "КВ-2"});
    radio.channelServers.insert(ComponentUid<3>(1), ChannelServer{ComponentUid<3>(1), ComponentUid<1>(10), true, 0, "СК КВ", 1, 2, 3});
    radio.channelServers.insert(ComponentUid<3>(2), ChannelServer{ComponentUid<3>(2), ComponentUid<1>(11), true, 1, "СК УКВ", 1, 2, 3});
    radio.channelParams.insert(ComponentUid<5>(1), ChannelParam{ComponentUid<5>(1), "Кассета КВ", {}, {}, {}});
    radio.antennaServers.insert(ComponentUid<7>(1), AntennaServer{ComponentUid<7>(1), ComponentUid<1>(10), "Коммутатор", 0, {}});
    radio.antennaControls.insert(ComponentUid<8>(1), control(1, 3, "Север"));
    radio.antennaControls.insert(ComponentUid<8>(2), control(2, 3, ""));
}

// The text a cell shows: its delegate's for the columns that have one.
QString shownText(QTableView* view, const QModelIndex& index)
{
    if (auto* delegate = qobject_cast<QStyledItemDelegate*>(view->itemDelegateForColumn(index.column())))
        return delegate->displayText(index.data(), QLocale());
    return index.data().toString();
}

} // namespace

class TestBrasco : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void newRow();
    void pasteText_data();
    void pasteText();
    void referenceTexts_data();
    void referenceTexts();
    void referenceCombos_data();
    void referenceCombos();
    void moduleEditorWritesBackTheKindItShowed_data();
    void moduleEditorWritesBackTheKindItShowed();

private:
    // The plugin over the store, holding the channel if it is given a uid.
    QTableView* open(const Channel& channel = Channel());

    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<PluginLibrary> m_library;
    OrvanePlugin* m_plugin = nullptr;
};

void TestBrasco::init()
{
    m_store = std::make_unique<TestStore>();
    fillStore(*m_store->get());
    m_library = std::make_unique<PluginLibrary>(QStringLiteral("orvane-32-channels"));
}

void TestBrasco::cleanup()
{
    m_library.reset();
    m_store.reset();
    m_plugin = nullptr;
}

QTableView* TestBrasco::open(const Channel& channel)
{
    if (channel.uid.value >= 0)
        m_store->get()->receivers().channels.insert(channel.uid, channel);
    m_plugin = m_library->create();
    if (!m_plugin)
        return nullptr;
    m_plugin->setComplexConfig(m_store->get());
    return m_plugin->widget()->findChild<QTableView*>();
}

void TestBrasco::newRow()
{
    QTableView* view = open();
    QVERIFY(view);
    m_plugin->toolBar()->actions().at(0)->trigger(); // "Добавить"
    QCOMPARE(view->model()->rowCount(), 1);
    QStringList shown;
    for (int column = Name; column <= Rpu; ++column)
        shown.append(shownText(view, view->model()->index(0, column)));
    QCOMPARE(shown, QStringList({"", "", "Нет", "Нет", "Нет", "Нет", "0", "", "-1", "", "-1", ""}));
    QCOMPARE(Common::channelModuleName(-1), QStringLiteral("Нет"));
}

void TestBrasco::referenceTexts_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("uid"); // referenced
    QTest::addColumn<QVariant>("shown");

    QTest::newRow("cassette type") << int(CassetteType) << 1 << QVariant("Кассета КВ");
    QTest::newRow("cassette type: removed") << int(CassetteType) << 9 << QVariant("");
    QTest::newRow("receiver") << int(ReceiverColumn) << 1 << QVariant("Приёмная стойка/КВ-1");
    QTest::newRow("receiver without rack") << int(ReceiverColumn) << 2 << QVariant("/КВ-2");
    QTest::newRow("receiver: removed") << int(ReceiverColumn) << 9 << QVariant("/");
    QTest::newRow("receiver: none") << int(ReceiverColumn) << -1 << QVariant();
    QTest::newRow("server") << int(Server) << 1 << QVariant("Приёмная стойка/ЭВМ КВ/СК КВ");
    QTest::newRow("server on a computer without rack") << int(Server) << 2 << QVariant("/ЭВМ УКВ/СК УКВ");
    QTest::newRow("server: removed") << int(Server) << 9 << QVariant("//");
    QTest::newRow("server: none") << int(Server) << -1 << QVariant();
    QTest::newRow("РПУ with group") << int(Rpu) << 1 << QVariant("Коммутатор/3 (Север)");
    QTest::newRow("РПУ without group") << int(Rpu) << 2 << QVariant("Коммутатор/3");
    QTest::newRow("РПУ: none") << int(Rpu) << -1 << QVariant();
}

void TestBrasco::referenceTexts()
{
    QFETCH(int, column);
    QFETCH(int, uid);
    QFETCH(QVariant, shown);

    Channel channel;
    channel.uid = ComponentUid<4>(5);
    channel.cassetteType = ComponentUid<5>(column == CassetteType ? uid : -1);
    channel.receiver = ComponentUid<2>(column == ReceiverColumn ? uid : -1);
    channel.channelServer = ComponentUid<3>(column == Server ? uid : -1);
    channel.antennaControl = ComponentUid<8>(column == Rpu ? uid : -1);
    QTableView* view = open(channel);
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, column);
    QCOMPARE(cell.data(Qt::DisplayRole), shown);
    QCOMPARE(cell.data(Qt::EditRole).toSize().width(), uid);
}

void TestBrasco::referenceCombos_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("cassette type") << int(CassetteType) << QStringList({"---", "Кассета КВ"});
    QTest::newRow("receiver") << int(ReceiverColumn) << QStringList({"---", "Приёмная стойка/КВ-1", "/КВ-2"});
    QTest::newRow("server") << int(Server) << QStringList({"---", "ЭВМ КВ/СК КВ", "ЭВМ УКВ/СК УКВ"});
    QTest::newRow("РПУ") << int(Rpu) << QStringList({"---", "Коммутатор/3 (Север)", "Коммутатор/3"});
}

void TestBrasco::referenceCombos()
{
    QFETCH(int, column);
    QFETCH(QStringList, items);

    Channel channel;
    channel.uid = ComponentUid<4>(5);
    channel.receiver = ComponentUid<2>(2);
    QTableView* view = open(channel);
    QVERIFY(view);
    auto* combo = qobject_cast<QComboBox*>(CellEditing::openByDoubleClick(view, view->model()->index(0, column)));
    QVERIFY(combo);
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    QCOMPARE(texts, items);
}

void TestBrasco::moduleEditorWritesBackTheKindItShowed_data()
{
    QTest::addColumn<int>("module");
    QTest::newRow("none") << -1;
    QTest::newRow("first") << int(Common::ChannelModules.at(1));
    QTest::newRow("last") << int(Common::ChannelModules.last());
    QTest::newRow("unknown to this build") << 99;
}

void TestBrasco::moduleEditorWritesBackTheKindItShowed()
{
    QFETCH(int, module);

    Channel channel;
    channel.uid = ComponentUid<4>(5);
    channel.module = module;
    QTableView* view = open(channel);
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, Module);
    QCOMPARE(shownText(view, cell), Common::channelModuleName(module));

    QSignalSpy written(view->model(), &QAbstractItemModel::dataChanged);
    auto* box = qobject_cast<Common::ChannelModuleComboBox*>(CellEditing::openByDoubleClick(view, cell));
    QVERIFY(box);
    QCOMPARE(box->currentText(), Common::channelModuleName(module));
    QTest::keyClick(box, Qt::Key_Return); // commits once the event loop runs
    QTRY_COMPARE(written.size(), 1);
    QCOMPARE(cell.data(Qt::EditRole), QVariant(module));
    m_plugin->saveComplexConfig();
    QCOMPARE(m_store->get()->receivers().channels.value(channel.uid).module, module);
}

void TestBrasco::pasteText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");     // name|fixed|receiver of every row after the paste
    QTest::addColumn<QString>("refusal");      // the start of the message; empty: none

    const QString held = QStringLiteral("Канал 1|Нет|Приёмная стойка/КВ-1");
    QTest::newRow("titles, some, in another order")
        << QStringLiteral("Приёмник\tНазвание\tФикс.\n/КВ-2\tКанал 2\tДа\n1\tКанал 3\t1\n")
        << QStringList{held, "Канал 2|Да|/КВ-2", "Канал 3|Да|Приёмная стойка/КВ-1"} << QString();
    QTest::newRow("CSV with quotes and semicolons")
        << QStringLiteral("ID;Название;Фикс.\r\n77;\"Канал; \"\"длинный\"\"\";false\r\n")
        << QStringList{held, "Канал; \"длинный\"|Нет|"} << QString();
    // From "Фикс." to the right: "Скрыт" next.
    QTest::newRow("a block from the current cell, one row more")
        << QStringLiteral("Да\tДа\nНет\ttrue")
        << QStringList{"Канал 1|Да|Приёмная стойка/КВ-1", "|Нет|"} << QString();
    QTest::newRow("refused: no such receiver, text in a number column")
        << QStringLiteral("Название\tПриёмник\tМасшт.\nКанал 2\tКВ-9\tмного")
        << QStringList{held} << QStringLiteral("Ничего не вставлено:\nстрока 2, столбец «Приёмник»: нет такого значения");
}

// Text from a spreadsheet or a CSV file, all or nothing, one step of the history.
void TestBrasco::pasteText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QFETCH(QString, refusal);
    Channel channel;
    channel.uid = ComponentUid<4>(5);
    channel.name = QStringLiteral("Канал 1");
    channel.receiver = ComponentUid<2>(1);
    QTableView* view = open(channel);
    QVERIFY(view);
    view->setCurrentIndex(view->model()->index(0, QByteArray(QTest::currentDataTag()).startsWith("a block") ? Fixed : Name));
    auto* mimeData = new QMimeData();
    mimeData->setText(text);
    QApplication::clipboard()->setMimeData(mimeData);
    ModalAnswerer answers;
    if (!refusal.isEmpty())
        answers.clickNext(QMessageBox::Ok);
    m_plugin->toolBar()->actions().at(6)->trigger(); // "Вставить"
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().size(), refusal.isEmpty() ? 0 : 1);
    if (!refusal.isEmpty())
        QVERIFY2(answers.boxes().first().text.startsWith(refusal), qPrintable(answers.boxes().first().text));
    QStringList shown;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        shown << QStringList{view->model()->index(row, Name).data().toString(), view->model()->index(row, Fixed).data().toString(),
                             view->model()->index(row, ReceiverColumn).data().toString()}
                     .join(QLatin1Char('|'));
    QCOMPARE(shown, rows);
    QVERIFY(shown.size() == 1 || view->model()->index(1, Uid).data().toInt() != 77);
}

QTEST_MAIN(TestBrasco)
#include "tst_brasco.moc"
