#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QTableView>
#include <QtTest>

// What is the antenna server editor's own: its computer shown under its rack and its pool by
// name. The rest is tst_componenttables' and the framework's.

using namespace CoConfig;

namespace {

enum Column { Uid, Name, ComputerColumn, ControlPort, Pool };

void fillStore(ComplexConfigInterface& store)
{
    store.racks().insert(ComponentUid<0>(1), Rack{ComponentUid<0>(1), "Приёмная стойка №1", "СП-1"});
    Computer computer;
    computer.uid = ComponentUid<1>(120);
    computer.rack = ComponentUid<0>(1);
    computer.name = QStringLiteral("Сервер антенн");
    store.computers().insert(computer.uid, computer);
    computer.uid = ComponentUid<1>(121);
    computer.rack = ComponentUid<0>(-1);
    computer.name = QStringLiteral("Сервер антенн (резерв)");
    store.computers().insert(computer.uid, computer);
    ReceiverConfig& radio = store.receivers();
    radio.antennaPools.insert(ComponentUid<6>(1), AntennaPool{ComponentUid<6>(1), "Антенны КВ", {}});
    radio.antennaPools.insert(ComponentUid<6>(2), AntennaPool{ComponentUid<6>(2), "Антенны УКВ", {}});
}

} // namespace

class TestIzmark : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void references_data();
    void references();

private:
    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<PluginLibrary> m_library;
};

void TestIzmark::init()
{
    m_store = std::make_unique<TestStore>();
    fillStore(*m_store->get());
    m_library = std::make_unique<PluginLibrary>(QStringLiteral("orvane-42-antenna-servers"));
}

void TestIzmark::cleanup()
{
    m_library.reset();
    m_store.reset();
}

void TestIzmark::references_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("uid"); // referenced
    QTest::addColumn<QVariant>("shown");

    QTest::newRow("computer") << int(ComputerColumn) << 120 << QVariant("Приёмная стойка №1/Сервер антенн");
    QTest::newRow("computer without rack") << int(ComputerColumn) << 121 << QVariant("/Сервер антенн (резерв)");
    QTest::newRow("computer: removed") << int(ComputerColumn) << 9 << QVariant("/");
    QTest::newRow("computer: none") << int(ComputerColumn) << -1 << QVariant();
    QTest::newRow("pool") << int(Pool) << 2 << QVariant("Антенны УКВ");
    QTest::newRow("pool: removed") << int(Pool) << 9 << QVariant("");
    QTest::newRow("pool: none") << int(Pool) << -1 << QVariant();
}

void TestIzmark::references()
{
    QFETCH(int, column);
    QFETCH(int, uid);
    QFETCH(QVariant, shown);

    AntennaServer server{ComponentUid<7>(5), ComponentUid<1>(column == ComputerColumn ? uid : -1),
                         QStringLiteral("Коммутатор"), 6001, ComponentUid<6>(column == Pool ? uid : -1)};
    m_store->get()->receivers().antennaServers.insert(server.uid, server);
    OrvanePlugin* plugin = m_library->create();
    QVERIFY(plugin);
    plugin->setComplexConfig(m_store->get());
    const QModelIndex cell = plugin->widget()->findChild<QTableView*>()->model()->index(0, column);
    QCOMPARE(cell.data(Qt::DisplayRole), shown);
    QCOMPARE(cell.data(Qt::EditRole).toSize().width(), uid);
}

QTEST_MAIN(TestIzmark)
#include "tst_izmark.moc"
