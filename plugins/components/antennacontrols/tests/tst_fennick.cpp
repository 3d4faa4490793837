#include "antennedit.h"
#include "cellediting.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAction>
#include <QComboBox>
#include <QDataStream>
#include <QIODevice>
#include <QPointer>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

#include <cmath>
#include <memory>

// What is the antenna control editor's own: its cells, the antenna value that the table hands
// over (bytes that may come from the clipboard or anywhere), and the antenna editor fed from
// the store. The rest is tst_componenttables'.

using namespace CoConfig;
using Common::Antenna;

Q_DECLARE_METATYPE(Antenna)

namespace {

enum Column { Uid, Server, Rpu, Group, AntennaColumn };

// The value's five fields as described: type, pattern, whole degrees, uid, state.
QByteArray valueOf(qint32 type, qint32 diagram, qint32 azimuth, qint32 uid, bool state)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << type << diagram << azimuth << uid << state;
    return bytes;
}

// Bytes held in a buffer of exactly their length, so that a read past the end is caught by a
// memory checker.
struct ExactBytes
{
    explicit ExactBytes(const QByteArray& bytes) : data(new char[size_t(qMax<qsizetype>(1, bytes.size()))])
    {
        std::copy(bytes.cbegin(), bytes.cend(), data.get());
        value = QByteArray::fromRawData(data.get(), bytes.size());
    }
    std::unique_ptr<char[]> data;
    QByteArray value;
};

void fillStore(ComplexConfigInterface& store)
{
    store.racks().insert(ComponentUid<0>(1), Rack{ComponentUid<0>(1), "Приёмная стойка", "СП"});
    Computer computer;
    computer.uid = ComponentUid<1>(120);
    computer.rack = ComponentUid<0>(1);
    computer.name = QStringLiteral("Сервер антенн");
    store.computers().insert(computer.uid, computer);
    // Pool 1: patterns 2, 5 and a removed antenna; pool 2: pattern 7.
    for (const Antenna& antenna : {Antenna{0, 10.0f, 2, 21, true}, Antenna{1, 45.0f, 5, 22, false},
                                   Antenna{2, 300.0f, 7, 23, true}})
        store.addAntenna(antenna);
    ReceiverConfig& radio = store.receivers();
    radio.antennaPools.insert(ComponentUid<6>(1), AntennaPool{ComponentUid<6>(1), "КВ", {21, 22, 99}});
    radio.antennaPools.insert(ComponentUid<6>(2), AntennaPool{ComponentUid<6>(2), "УКВ", {23}});
    radio.antennaServers.insert(ComponentUid<7>(1), AntennaServer{ComponentUid<7>(1), ComponentUid<1>(120),
                                                                  "Коммутатор КВ", 6001, ComponentUid<6>(1)});
    radio.antennaServers.insert(ComponentUid<7>(2), AntennaServer{ComponentUid<7>(2), ComponentUid<1>(120),
                                                                  "Коммутатор УКВ", 6002, ComponentUid<6>(2)});
}

} // namespace

class TestFennick : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void cells_data();
    void cells();
    void antennaHandedOver_data();
    void antennaHandedOver();
    void antennaRead_data();
    void antennaRead();
    void antennaEditor_data();
    void antennaEditor();
    void ownAntennaAmongOnePattern();

private:
    // The plugin over the store holding the control, under uid 5.
    QTableView* open(const AntennaControl& control);
    AntennaControl saved() const;

    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<PluginLibrary> m_library;
    OrvanePlugin* m_plugin = nullptr;
};

void TestFennick::init()
{
    m_store = std::make_unique<TestStore>();
    fillStore(*m_store->get());
    m_library = std::make_unique<PluginLibrary>(QStringLiteral("orvane-43-antenna-controls"));
}

void TestFennick::cleanup()
{
    m_library.reset();
    m_store.reset();
    m_plugin = nullptr;
}

QTableView* TestFennick::open(const AntennaControl& control)
{
    AntennaControl stored = control;
    stored.uid = ComponentUid<8>(5);
    m_store->get()->receivers().antennaControls.insert(stored.uid, stored);
    m_plugin = m_library->create();
    if (!m_plugin)
        return nullptr;
    m_plugin->setComplexConfig(m_store->get());
    return m_plugin->widget()->findChild<QTableView*>();
}

AntennaControl TestFennick::saved() const
{
    m_plugin->saveComplexConfig();
    return m_store->get()->receivers().antennaControls.value(ComponentUid<8>(5));
}

void TestFennick::cells_data()
{
    QTest::addColumn<int>("server");
    QTest::addColumn<int>("rpu");
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("expected");

    const QVariant groupTip("Если к этому РПУ подключено несколько каналов (во вкладке Каналы), необходимо задать "
                            "название группы\nИ выбрать любую антенну из списка");
    QTest::newRow("server under its computer and rack") << 1 << 0 << "" << int(Server) << int(Qt::DisplayRole)
                                                        << QVariant("Приёмная стойка/Сервер антенн/Коммутатор КВ");
    QTest::newRow("server: removed") << 9 << 0 << "" << int(Server) << int(Qt::DisplayRole) << QVariant("//");
    QTest::newRow("server: none") << -1 << 0 << "" << int(Server) << int(Qt::DisplayRole) << QVariant();
    QTest::newRow("receiver 0") << 1 << 0 << "" << int(Rpu) << int(Qt::DisplayRole) << QVariant(0);
    QTest::newRow("negative receiver: empty cell") << 1 << -2 << "" << int(Rpu) << int(Qt::DisplayRole) << QVariant();
    QTest::newRow("negative receiver: kept") << 1 << -2 << "" << int(Rpu) << int(Qt::EditRole) << QVariant(-2);
    QTest::newRow("no group: ?") << 1 << 0 << "" << int(Group) << int(Qt::DisplayRole) << QVariant("?");
    QTest::newRow("no group: edited empty") << 1 << 0 << "" << int(Group) << int(Qt::EditRole) << QVariant("");
    QTest::newRow("group") << 1 << 0 << "Север" << int(Group) << int(Qt::DisplayRole) << QVariant("Север");
    QTest::newRow("group tooltip, empty") << 1 << 0 << "" << int(Group) << int(Qt::ToolTipRole) << groupTip;
    QTest::newRow("group tooltip, named") << 1 << 0 << "Север" << int(Group) << int(Qt::ToolTipRole) << groupTip;
    QTest::newRow("no antenna") << 1 << 0 << "" << int(AntennaColumn) << int(Qt::DisplayRole) << QVariant();
}

void TestFennick::cells()
{
    QFETCH(int, server);
    QFETCH(int, rpu);
    QFETCH(QString, group);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QVariant, expected);

    // Entered through the table, as a user would, over a row that held other values.
    QTableView* view = open(AntennaControl{ComponentUid<8>(), ComponentUid<7>(server), 7, "Юг", Antenna()});
    QVERIFY(view);
    QAbstractItemModel* table = view->model();
    QVERIFY(table->setData(table->index(0, Rpu), QString::number(rpu), Qt::EditRole));
    QVERIFY(table->setData(table->index(0, Group), group, Qt::EditRole));
    QCOMPARE(table->index(0, column).data(role), expected);
    const AntennaControl record = saved();
    QCOMPARE(record.rpu, rpu);
    QCOMPARE(record.group, group);
    QCOMPARE(table->headerData(Group, Qt::Horizontal, Qt::ToolTipRole), QVariant("Название антенной группы"));
}

// A stored antenna as the table shows it and hands it over: the azimuth in whole degrees, halves
// up; taken back, the bytes give the antenna with that azimuth.
void TestFennick::antennaHandedOver_data()
{
    QTest::addColumn<Antenna>("antenna");
    QTest::addColumn<QVariant>("shown");
    QTest::addColumn<qint32>("degrees");  // in the bytes
    QTest::addColumn<float>("readBack"); // the azimuth after a round trip

    QTest::newRow("45.0 shown as 45") << Antenna{1, 45.0f, 4, 12, true} << QVariant("D:4/A:45") << 45 << 45.0f;
    QTest::newRow("fraction shown, rounded over") << Antenna{2, 90.25f, 0, 3, false} << QVariant("D:0/A:90.25") << 90
                                                  << 90.0f;
    QTest::newRow("0.5 goes up") << Antenna{0, 0.5f, 4, 12, true} << QVariant("D:4/A:0.5") << 1 << 1.0f;
    QTest::newRow("-0.5 goes up to 0") << Antenna{0, -0.5f, 4, 12, true} << QVariant("D:4/A:-0.5") << 0 << 0.0f;
    QTest::newRow("360 kept") << Antenna{0, 360.0f, 4, 12, true} << QVariant("D:4/A:360") << 360 << 360.0f;
    QTest::newRow("unset") << Antenna{0, -1.0f, 4, 12, true} << QVariant("D:4/A:-1") << -1 << -1.0f;
    QTest::newRow("no number of degrees") << Antenna{0, float(NAN), 4, 12, true} << QVariant("D:4/A:nan") << -1 << -1.0f;
    QTest::newRow("beyond any int") << Antenna{0, 1e20f, 4, 12, true} << QVariant("D:4/A:1e+20") << -1 << -1.0f;
    QTest::newRow("no antenna: empty cell") << Antenna() << QVariant() << -1 << -1.0f;
}

void TestFennick::antennaHandedOver()
{
    QFETCH(Antenna, antenna);
    QFETCH(QVariant, shown);
    QFETCH(qint32, degrees);
    QFETCH(float, readBack);

    QTableView* view = open(AntennaControl{ComponentUid<8>(), ComponentUid<7>(1), 0, "", antenna});
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, AntennaColumn);
    QCOMPARE(cell.data(Qt::DisplayRole), shown);
    const QByteArray bytes = cell.data(Qt::EditRole).toByteArray();
    QCOMPARE(bytes, valueOf(antenna.type, antenna.diagram, degrees, antenna.uid, antenna.state));

    QVERIFY(view->model()->setData(cell, bytes, Qt::EditRole));
    Antenna expected = antenna;
    expected.azimuth = readBack;
    QCOMPARE(saved().antenna, expected);
}

// Bytes of every length from 0 to 64, from a value cut short or followed by junk, and junk
// alone: a value whose bytes are not all there reads as 0 (false), what follows the five values
// is ignored, and an azimuth outside 0 to 360 reads as -1.
void TestFennick::antennaRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Antenna>("antenna");

    QTest::newRow("round trip") << valueOf(2, 7, 90, 12, true) << Antenna{2, 90.0f, 7, 12, true};
    QTest::newRow("azimuth 400") << valueOf(2, 7, 400, 12, true) << Antenna{2, -1.0f, 7, 12, true};
    QTest::newRow("azimuth -5") << valueOf(2, 7, -5, 12, true) << Antenna{2, -1.0f, 7, 12, true};
    QTest::newRow("azimuth 0") << valueOf(2, 7, 0, 12, false) << Antenna{2, 0.0f, 7, 12, false};

    const QByteArray value = valueOf(2, 7, 90, 12, true); // 17 bytes
    for (int length = 0; length <= 64; ++length) {
        // Which of the five values have all their bytes.
        const bool type = length >= 4, diagram = length >= 8, azimuth = length >= 12, uid = length >= 16,
                   state = length >= 17;
        const QByteArray cut = value.left(length) + QByteArray(qMax(0, length - 17), '\x5a');
        QTest::addRow("value in %d bytes", length)
            << cut << Antenna{type ? 2 : 0, azimuth ? 90.0f : 0.0f, diagram ? 7 : 0, uid ? 12 : 0, state};
        QTest::addRow("junk of %d bytes", length)
            << QByteArray(length, '\xff') << Antenna{type ? -1 : 0, azimuth ? -1.0f : 0.0f, diagram ? -1 : 0, uid ? -1 : 0, state};
    }
}

void TestFennick::antennaRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Antenna, antenna);

    QTableView* view = open(AntennaControl{ComponentUid<8>(), ComponentUid<7>(1), 0, "", Antenna{1, 1.0f, 1, 1, true}});
    QVERIFY(view);
    const ExactBytes exact(bytes);
    QVERIFY(view->model()->setData(view->model()->index(0, AntennaColumn), exact.value, Qt::EditRole));
    QCOMPARE(saved().antenna, antenna);
}

// The antennas offered are those of the pool that the store holds for the control's server, so
// a row not saved yet, or whose server was changed but not saved, offers the store's. The
// current pattern is preselected; with nothing chosen the antenna stays as it was.
void TestFennick::antennaEditor_data()
{
    QTest::addColumn<bool>("added");         // a new row instead of the stored control
    QTest::addColumn<int>("newServer");      // set in the table before editing, -1 none
    QTest::addColumn<int>("heldDiagram");    // the pattern of the control's antenna
    QTest::addColumn<QList<int>>("offered"); // uids
    QTest::addColumn<int>("current");        // uid preselected, -1 none
    QTest::addColumn<int>("chosen");         // entry chosen, -1 none
    QTest::addColumn<Antenna>("stored");     // default: the antenna held before

    const Antenna first{0, 10.0f, 2, 21, true};
    const Antenna second{1, 45.0f, 5, 22, false};
    const QList<int> pool{21, 22, -1};
    QTest::newRow("new row: nothing offered") << true << -1 << 5 << QList<int>() << -1 << -1 << Antenna();
    QTest::newRow("pattern preselected, left as it opened: kept") << false << -1 << 5 << pool << 22 << 1 << Antenna();
    QTest::newRow("another chosen") << false << -1 << 5 << pool << 22 << 0 << first;
    QTest::newRow("server changed, not saved") << false << 2 << 2 << pool << 21 << 1 << second;
    QTest::newRow("pattern not in the pool: kept") << false << -1 << 9 << pool << -1 << -1 << Antenna();
}

void TestFennick::antennaEditor()
{
    QFETCH(bool, added);
    QFETCH(int, newServer);
    QFETCH(int, heldDiagram);
    QFETCH(QList<int>, offered);
    QFETCH(int, current);
    QFETCH(int, chosen);
    QFETCH(Antenna, stored);

    const Antenna held{2, 300.0f, heldDiagram, 77, true}; // a uid of no antenna: out of date
    QTableView* view = open(AntennaControl{ComponentUid<8>(), ComponentUid<7>(1), 0, "", held});
    QVERIFY(view);
    int row = 0;
    if (added) {
        m_plugin->toolBar()->actions().at(0)->trigger(); // "Добавить"
        row = view->model()->rowCount() - 1;
    }
    if (newServer >= 0)
        QVERIFY(view->model()->setData(view->model()->index(row, Server), QSize(newServer, 7), Qt::EditRole));

    const QModelIndex cell = view->model()->index(row, AntennaColumn);
    const QByteArray before = cell.data(Qt::EditRole).toByteArray();
    QPointer<Common::AntennEdit> edit = qobject_cast<Common::AntennEdit*>(CellEditing::openByDoubleClick(view, cell));
    QVERIFY(edit);
    QVERIFY(edit->minimumWidth() >= 200);
    QCOMPARE(edit->hasCurrent() ? edit->currentAntenna().uid : -1, current);
    auto* box = edit->findChild<QComboBox*>();
    QVERIFY(box);
    QList<int> uids;
    for (int i = 0; i < box->count(); ++i) {
        box->setCurrentIndex(i);
        uids.append(edit->currentAntenna().uid);
    }
    QCOMPARE(uids, offered);

    box->setCurrentIndex(chosen);
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(edit.isNull());
    if (stored == Antenna())
        QCOMPARE(cell.data(Qt::EditRole).toByteArray(), before);
    else
        QCOMPARE(saved().antenna, stored);
}

// The chooser opens on the control's own antenna, not on the first of its pattern, and leaving it
// as it opened keeps that antenna.
void TestFennick::ownAntennaAmongOnePattern()
{
    const Antenna own{1, 90.0f, 5, 24, true};
    m_store->get()->addAntenna(own);
    m_store->get()->receivers().antennaPools[ComponentUid<6>(1)].antennaUids.append(24);
    QTableView* view = open(AntennaControl{ComponentUid<8>(), ComponentUid<7>(1), 0, "", own});
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, AntennaColumn);
    QPointer<Common::AntennEdit> edit = qobject_cast<Common::AntennEdit*>(CellEditing::openByDoubleClick(view, cell));
    QVERIFY(edit);
    QVERIFY(edit->hasCurrent());
    QCOMPARE(edit->currentAntenna().uid, 24);
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(edit.isNull());
    QCOMPARE(saved().antenna, own);
}

QTEST_MAIN(TestFennick)
#include "tst_fennick.moc"
