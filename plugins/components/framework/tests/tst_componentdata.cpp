#include "testinstances.h"
#include "testrecords.h"
#include "teststore.h"

#include <QDataStream>
#include <QtTest>

using CoConfig::ComponentUid;

namespace {

QStringList receiverNames(const StandardData& data)
{
    QStringList names;
    for (int row = 0; row < data.rowCount(); ++row)
        names.append(data.data(row, 2, Qt::DisplayRole).toString());
    return names;
}

QList<int> uidsOf(const StandardData& data)
{
    QList<int> uids;
    for (int row = 0; row < data.rowCount(); ++row)
        uids.append(data.data(row, 0, Qt::EditRole).toSize().width());
    return uids;
}

QByteArray entry(const QByteArray& document)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << document;
    return bytes;
}

QByteArray count(qint32 n)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << n;
    return bytes;
}

const QByteArray receiverDocument = "<?xml version=\"1.0\"?><Receiver uid=\"4\" name=\"R\"/>";

} // namespace

class TestComponentData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadTakesTheStoreMapInUidOrder();
    void saveReplacesTheMapAndTheLaterRowWins();
    void uidRule_data();
    void uidRule();
    void referenceDisplay_data();
    void referenceDisplay();
    void referenceTextsFollowTheReferenceAndTheLoadedStore();
    void integerTextIsCoerced();
    void newRowsAvoidUidsHeldByRows();
    void pastedRecordsTakeTheStoreAnswersInOrder();
    void bytesOfAnotherTypePasteNothing();
    void hostileClipboard_data();
    void hostileClipboard();
};

void TestComponentData::loadTakesTheStoreMapInUidOrder()
{
    TestStore store;
    for (int uid : {5, 1, 3})
        store->receivers().receivers.insert(ComponentUid<2>(uid), makeReceiver(uid, -1, QString::number(uid)));
    store->racks().insert(ComponentUid<0>(2), makeRack(2, "not a receiver"));

    TestReceiverData data;
    data.load(store.get());
    QCOMPARE(uidsOf(data), QList<int>({1, 3, 5}));
    QCOMPARE(receiverNames(data), QStringList({"1", "3", "5"}));

    data.load(nullptr);
    QCOMPARE(data.rowCount(), 0);
}

void TestComponentData::saveReplacesTheMapAndTheLaterRowWins()
{
    TestStore store;
    for (int uid : {1, 2, 3})
        store->receivers().receivers.insert(ComponentUid<2>(uid), makeReceiver(uid, -1, "r" + QString::number(uid)));
    store->racks().insert(ComponentUid<0>(1), makeRack(1, "kept"));

    TestReceiverData data;
    data.load(store.get());
    QVERIFY(data.setData(QSize(1, 2), 2, 0, Qt::EditRole)); // row 2 now also holds uid 1
    QVERIFY(data.setData(QStringLiteral("later"), 2, 2, Qt::EditRole));
    data.save(store.get());

    const auto& saved = store->receivers().receivers;
    QCOMPARE(saved.keys(), QList<ComponentUid<2>>({ComponentUid<2>(1), ComponentUid<2>(2)}));
    QCOMPARE(saved.value(ComponentUid<2>(1)).name, QStringLiteral("later"));
    QCOMPARE(store->racks().size(), 1);
}

void TestComponentData::uidRule_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("uid");
    QTest::addColumn<QString>("message");

    QTest::newRow("own type") << QVariant(QSize(42, 2)) << int(Qt::EditRole) << true << 42 << QString();
    QTest::newRow("other type") << QVariant(QSize(42, 0)) << int(Qt::EditRole) << true << -1
                                << "cast ComponentUid from type:0 to type:2 not available";
    QTest::newRow("not a size") << QVariant("abc") << int(Qt::EditRole) << true << -1
                                << "cast ComponentUid from type:-1 to type:2 not available";
    QTest::newRow("display role") << QVariant(QSize(42, 2)) << int(Qt::DisplayRole) << false << 7 << QString();
}

void TestComponentData::uidRule()
{
    QFETCH(QVariant, value);
    QFETCH(int, role);
    QFETCH(bool, stored);
    QFETCH(int, uid);
    QFETCH(QString, message);

    TestStore store;
    store->receivers().receivers.insert(ComponentUid<2>(7), makeReceiver(7, -1, "r"));
    TestReceiverData data;
    data.load(store.get());
    if (!message.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, qPrintable(message));
    QCOMPARE(data.setData(value, 0, 0, role), stored);
    QCOMPARE(data.data(0, 0, Qt::EditRole), QVariant(QSize(uid, 2)));
    QCOMPARE(data.data(0, 0, Qt::DisplayRole), QVariant(uid));
    QVERIFY(!data.data(0, 0, Qt::ToolTipRole).isValid());
}

void TestComponentData::referenceDisplay_data()
{
    QTest::addColumn<int>("rack");
    QTest::addColumn<int>("computer");
    QTest::addColumn<QVariant>("rackText");
    QTest::addColumn<QVariant>("computerText");

    QTest::newRow("none") << -1 << -1 << QVariant() << QVariant();
    QTest::newRow("present") << 1 << 10 << QVariant("North") << QVariant("North/Server");
    QTest::newRow("parent missing") << 1 << 11 << QVariant("North") << QVariant("/Orphan");
    QTest::newRow("dangling") << 99 << 99 << QVariant(QString("")) << QVariant("/");
}

void TestComponentData::referenceDisplay()
{
    QFETCH(int, rack);
    QFETCH(int, computer);
    QFETCH(QVariant, rackText);
    QFETCH(QVariant, computerText);

    TestStore store;
    store->racks().insert(ComponentUid<0>(1), makeRack(1, "North"));
    store->computers().insert(ComponentUid<1>(10), makeComputer(10, 1, "Server"));
    store->computers().insert(ComponentUid<1>(11), makeComputer(11, -1, "Orphan"));
    store->receivers().receivers.insert(ComponentUid<2>(1), makeReceiver(1, rack, "r"));
    CoConfig::ChannelServer server;
    server.uid = ComponentUid<3>(1);
    server.computer = ComponentUid<1>(computer);
    store->receivers().channelServers.insert(server.uid, server);

    TestReceiverData receivers;
    receivers.load(store.get());
    QCOMPARE(receivers.data(0, 1, Qt::DisplayRole), rackText);
    QCOMPARE(receivers.data(0, 1, Qt::EditRole), QVariant(QSize(rack, 0)));
    TestChannelServerData servers;
    servers.load(store.get());
    QCOMPARE(servers.data(0, 1, Qt::DisplayRole), computerText);
    QCOMPARE(servers.data(0, 1, Qt::EditRole), QVariant(QSize(computer, 1)));

    // A reference of the wrong type is stored as none.
    QTest::ignoreMessage(QtDebugMsg, "cast ComponentUid from type:1 to type:0 not available");
    receivers.setData(QSize(1, 1), 0, 1, Qt::EditRole);
    QCOMPARE(receivers.data(0, 1, Qt::EditRole), QVariant(QSize(-1, 0)));
    QVERIFY(!receivers.data(0, 1, Qt::DisplayRole).isValid());
}

// Reference texts are kept between paints: they follow an edited reference at once, and the
// store's names from the next load on.
void TestComponentData::referenceTextsFollowTheReferenceAndTheLoadedStore()
{
    TestStore store;
    store->racks().insert(ComponentUid<0>(1), makeRack(1, "North"));
    store->racks().insert(ComponentUid<0>(2), makeRack(2, "South"));
    store->computers().insert(ComponentUid<1>(10), makeComputer(10, 1, "Server"));
    for (int uid : {1, 2}) {
        CoConfig::ChannelServer server;
        server.uid = ComponentUid<3>(uid);
        server.computer = ComponentUid<1>(10);
        store->receivers().channelServers.insert(server.uid, server);
    }
    TestChannelServerData servers;
    servers.load(store.get());
    QCOMPARE(servers.data(0, 1, Qt::DisplayRole), QVariant("North/Server"));
    QCOMPARE(servers.data(1, 1, Qt::DisplayRole), QVariant("North/Server"));

    QVERIFY(servers.setData(QSize(-1, 1), 1, 1, Qt::EditRole));
    QVERIFY(!servers.data(1, 1, Qt::DisplayRole).isValid());
    store->computers()[ComponentUid<1>(10)].rack = ComponentUid<0>(2);
    store->computers().insert(ComponentUid<1>(11), makeComputer(11, 1, "Spare"));
    QVERIFY(servers.setData(QSize(11, 1), 1, 1, Qt::EditRole));
    QCOMPARE(servers.data(1, 1, Qt::DisplayRole), QVariant("North/Spare"));

    servers.load(store.get());
    QCOMPARE(servers.data(0, 1, Qt::DisplayRole), QVariant("South/Server"));
}

void TestComponentData::integerTextIsCoerced()
{
    TestStore store;
    CoConfig::ChannelServer server;
    server.uid = ComponentUid<3>(1);
    store->receivers().channelServers.insert(server.uid, server);
    TestChannelServerData data;
    data.load(store.get());

    QVERIFY(data.setData(QStringLiteral("12"), 0, 4, Qt::EditRole));
    QCOMPARE(data.data(0, 4, Qt::DisplayRole), QVariant(12));
    QVERIFY(data.setData(QStringLiteral("K-005"), 0, 4, Qt::EditRole));
    QCOMPARE(data.data(0, 4, Qt::EditRole), QVariant(0));
    QVERIFY(!data.setData(QStringLiteral("5"), 0, 4, Qt::DisplayRole));
    QCOMPARE(data.data(0, 4, Qt::EditRole), QVariant(0));
}

void TestComponentData::newRowsAvoidUidsHeldByRows()
{
    TestReceiverData unloaded;
    QCOMPARE(unloaded.freshUid(), -1); // no store yet

    TestStore store;
    TestReceiverData data;
    data.load(store.get());
    const int first = data.freshUid();
    QVERIFY(first >= 0);
    data.appendRecord(first);
    // A row typed to the uid that the store would give next: the next new row must go around it.
    QVERIFY(data.setData(QSize(first + 1, 2), 0, 0, Qt::EditRole));
    const int second = data.freshUid();
    QVERIFY(second >= 0);
    QVERIFY(second != first + 1);
    data.appendRecord(second);
    QCOMPARE(data.data(1, 0, Qt::EditRole), QVariant(QSize(second, 2)));
    QCOMPARE(data.data(1, 2, Qt::EditRole), QVariant(QString()));
    QVERIFY(!data.data(1, 1, Qt::DisplayRole).isValid());
}

void TestComponentData::pastedRecordsTakeTheStoreAnswersInOrder()
{
    TestStore store;
    for (int uid = 1; uid <= 6; ++uid)
        store->receivers().receivers.insert(ComponentUid<2>(uid), makeReceiver(uid, 1, "r" + QString::number(uid)));
    TestReceiverData source;
    source.load(store.get());
    const QByteArray bytes = source.copyRecords({4, 0, 2});

    TestReceiverData target;
    target.load(store.get());
    const int n = target.pasteCount(bytes);
    QCOMPARE(n, 3);
    QList<int> uids;
    for (int k = 0; k < n; ++k)
        uids.append(target.freshUid());
    QCOMPARE(uids, QList<int>({7, 8, 9}));
    target.pasteRecords(bytes, uids);
    QCOMPARE(uidsOf(target).mid(6), QList<int>({7, 8, 9}));
    QCOMPARE(receiverNames(target).mid(6), QStringList({"r5", "r1", "r3"}));
    QCOMPARE(target.data(6, 1, Qt::EditRole), QVariant(QSize(1, 0)));
    // The next new row follows the pasted ones.
    QCOMPARE(target.freshUid(), 10);
}

void TestComponentData::bytesOfAnotherTypePasteNothing()
{
    TestStore store;
    CoConfig::ChannelServer server;
    server.uid = ComponentUid<3>(1);
    server.name = "s";
    store->receivers().channelServers.insert(server.uid, server);
    TestChannelServerData servers;
    servers.load(store.get());
    const QByteArray bytes = servers.copyRecords({0});

    TestReceiverData receivers;
    receivers.load(store.get());
    QCOMPARE(receivers.pasteCount(bytes), 0);
    receivers.pasteRecords(bytes, {1, 2});
    QCOMPARE(receivers.rowCount(), 0);
    QCOMPARE(servers.pasteCount(bytes), 1);
}

void TestComponentData::hostileClipboard_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kept");

    const QByteArray good = entry(receiverDocument);
    const QByteArray laughs = "<?xml version=\"1.0\"?>"
                              "<!DOCTYPE Receiver [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
                              "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                              "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>"
                              "<Receiver uid=\"1\" name=\"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"/>";

    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("shorter than a count") << QByteArray("\x00\x00\x01", 3) << 0;
    QTest::newRow("huge count, nothing after") << count(0x7FFFFFFF) << 0;
    QTest::newRow("huge count, one entry") << count(0x7FFFFFFF) + good << 1;
    QTest::newRow("negative count") << count(-5) + good << 0;
    QTest::newRow("count below the entries") << count(1) + good + good << 1;
    QTest::newRow("huge length prefix") << count(1) + QByteArray("\x7F\xFF\xFF\xF0", 4) + "<Receiver/>" << 0;
    QTest::newRow("truncated length prefix") << count(2) + good + QByteArray("\x00\x00", 2) << 1;
    QTest::newRow("truncated document") << count(1) + entry(receiverDocument).chopped(5) << 0;
    QTest::newRow("null entry between") << count(3) + good + QByteArray("\xFF\xFF\xFF\xFF", 4) + good << 2;
    QTest::newRow("not xml") << count(2) + entry("\x01\x02 not xml at all") + good << 1;
    QTest::newRow("another type") << count(1) + entry("<?xml version=\"1.0\"?><Rack uid=\"1\"/>") << 0;
    QTest::newRow("trailing content") << count(1) + entry(receiverDocument + "<Receiver/>") << 0;
    // The documents go through the safe reader of outside XML, tested with the hostile table there.
    QTest::newRow("entity expansion") << count(1) + entry(laughs) << 0;
}

void TestComponentData::hostileClipboard()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);

    TestStore store;
    TestReceiverData data;
    data.load(store.get());
    QCOMPARE(data.pasteCount(bytes), kept);
    QList<int> uids;
    for (int k = 0; k < kept; ++k)
        uids.append(data.freshUid());
    data.pasteRecords(bytes, uids);
    QCOMPARE(data.rowCount(), kept);
    for (int row = 0; row < kept; ++row) {
        QCOMPARE(data.data(row, 0, Qt::EditRole), QVariant(QSize(uids[row], 2)));
        QCOMPARE(data.data(row, 2, Qt::EditRole), QVariant("R"));
    }
}

QTEST_MAIN(TestComponentData)
#include "tst_componentdata.moc"
