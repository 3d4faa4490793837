#include "cravent.h"
#include "framereader.h"
#include "globalini.h"
#include "protocol.h"
#include "serverprocess.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <algorithm>
#include <memory>
#include <vector>

using QNetData::QError;

namespace {

constexpr int WaitMs = 10000;

QByteArray header(quint32 length)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(length, bytes.data());
    return bytes;
}

// Waits for the outcome of a Connect call.
QError connectAndWait(Cravent& client, const QString& address, quint16 port)
{
    QSignalSpy spy(&client, &Cravent::OnConnected);
    client.Connect(address, port);
    if (spy.isEmpty() && !spy.wait(WaitMs))
        return QError(QError::Timeout, "the client never answered");
    return spy.first().first().value<QError>();
}

QList<DemDecData::QServerStatus> searchAndWait(Cravent& client, unsigned int timeout)
{
    QSignalSpy spy(&client, &Cravent::OnSearch_AnswerRecieved);
    client.FindServers(11310, timeout);
    if (!spy.wait(int(timeout) + WaitMs))
        return {DemDecData::QServerStatus("no answer", 1)};
    return spy.first().first().value<QList<DemDecData::QServerStatus>>();
}

void setSearchAddresses(const QStringList& addresses)
{
    Common::GlobalIni::ini().setValue("DemDec/SearchAddresses", addresses);
}

// Lets every event already posted run, so that a second outcome, if any, would have arrived.
void processPosted()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

// A client that greets a server once connected (counted in *connected), then says nothing more;
// it discards what it receives. It waits on nothing, so other clients of the test stay served.
std::unique_ptr<QTcpSocket> greet(quint16 port, int hellos, int* connected)
{
    auto socket = std::make_unique<QTcpSocket>();
    QTcpSocket* raw = socket.get();
    QObject::connect(raw, &QTcpSocket::readyRead, raw, [raw] { raw->readAll(); });
    QObject::connect(raw, &QTcpSocket::connected, raw, [raw, hellos, connected] {
        ++*connected;
        const QByteArray hello = QNetData::FrameReader::encode(QNetData::Protocol::Hello, QNetData::Protocol::hello());
        raw->write(hello.repeated(hellos));
    });
    raw->connectToHost(QHostAddress::LocalHost, port);
    return socket;
}

} // namespace

class TestCravent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void connectsAndReceivesCatalogue();
    void connectFailures_data();
    void connectFailures();
    void hostilePeers_data();
    void hostilePeers();
    void searchFindsServer();
    void emptySearchKeepsConnection();
    void serverSurvivesBrokenClients();
    void serverDropsClientAskingFasterThanItReads();
    void serverDropsIdleClients();
    void serverDropsClientsThatNeverGreet_data();
    void serverDropsClientsThatNeverGreet();

private:
    ServerProcess m_server;
};

void TestCravent::initTestCase()
{
    QVERIFY2(m_server.start(ServerProcess::sampleCatalogue(), "Сервер теста"), qPrintable(m_server.error()));
}

void TestCravent::init()
{
    Common::GlobalIni::ini().clear();
}

void TestCravent::connectsAndReceivesCatalogue()
{
    Cravent client;
    QVERIFY(client.IsOFFLine());
    const QError error = connectAndWait(client, "127.0.0.1", m_server.port());
    QVERIFY2(!error.isError(), qPrintable(error.text()));
    QVERIFY(!client.IsOFFLine());

    QFile file(ServerProcess::sampleCatalogue());
    QVERIFY(file.open(QIODevice::ReadOnly));
    DemDecData::Catalogue expected;
    Xml::ReadError parseError;
    QVERIFY(DemDecData::Catalogue::fromXml(file.readAll(), &expected, &parseError));
    QCOMPARE(client.catalogue(), expected);

    client.Disconnect();
    QVERIFY(client.IsOFFLine());
}

void TestCravent::connectFailures_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port"); // -1: a port nothing listens on
    QTest::addColumn<int>("code");
    QTest::newRow("nothing listening") << "127.0.0.1" << -1 << int(QError::ConnectionFailed);
    QTest::newRow("no address") << "" << 11310 << int(QError::NoAddress);
    QTest::newRow("no port") << "127.0.0.1" << 0 << int(QError::NoAddress);
}

void TestCravent::connectFailures()
{
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(int, code);

    Cravent client;
    QSignalSpy spy(&client, &Cravent::OnConnected);
    const QError error = connectAndWait(client, address, quint16(port < 0 ? ServerProcess::unusedPort() : port));
    QCOMPARE(int(error.code()), code);
    QVERIFY(!error.text().isEmpty());
    QVERIFY(client.IsOFFLine());
    processPosted();
    QCOMPARE(spy.count(), 1);
}

void TestCravent::hostilePeers_data()
{
    QTest::addColumn<QByteArray>("says");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("code");
    QTest::newRow("huge frame") << header(0xFFFFFFF0u) << false << int(QError::ProtocolError);
    QTest::newRow("frame without type") << header(0) << false << int(QError::ProtocolError);
    QTest::newRow("not our protocol") << QByteArray("HTTP/1.1 200 OK\r\n\r\n") << false << int(QError::ProtocolError);
    QTest::newRow("unknown message") << QNetData::FrameReader::encode(99, "x") << false << int(QError::ProtocolError);
    QTest::newRow("broken catalogue")
        << QNetData::FrameReader::encode(QNetData::Protocol::Catalogue, "<demdec_catalogue><demdec_task")
        << false << int(QError::ProtocolError);
    QTest::newRow("refusal") << QNetData::FrameReader::encode(QNetData::Protocol::Refusal, "занят") << false
                             << int(QError::Refused);
    QTest::newRow("half a frame, then gone") << header(100) + "abc" << true << int(QError::ConnectionFailed);
    QTest::newRow("silent") << QByteArray() << false << int(QError::Timeout);
}

void TestCravent::hostilePeers()
{
    QFETCH(QByteArray, says);
    QFETCH(bool, closes);
    QFETCH(int, code);

    QTcpServer peer;
    QVERIFY(peer.listen(QHostAddress::LocalHost));
    connect(&peer, &QTcpServer::newConnection, this, [&] {
        QTcpSocket* socket = peer.nextPendingConnection();
        socket->write(says);
        if (closes)
            socket->disconnectFromHost();
    });

    Cravent client;
    client.setConnectTimeout(100);
    QSignalSpy spy(&client, &Cravent::OnConnected);
    const QError error = connectAndWait(client, "127.0.0.1", peer.serverPort());
    QCOMPARE(int(error.code()), code);
    QVERIFY(client.IsOFFLine());
    QVERIFY(client.catalogue().isEmpty());
    processPosted();
    QCOMPARE(spy.count(), 1);
}

void TestCravent::searchFindsServer()
{
    // Junk on the search port must not stop the server from answering.
    QUdpSocket junk;
    junk.writeDatagram(QByteArray(600, 'x'), QHostAddress::LocalHost, m_server.searchPort());
    junk.writeDatagram("ODDQ", QHostAddress::LocalHost, m_server.searchPort());

    // The one address asked answers, so the search ends without waiting for its timeout.
    setSearchAddresses({QStringLiteral("127.0.0.1:%1").arg(m_server.searchPort())});
    Cravent client;
    const QList<DemDecData::QServerStatus> found = searchAndWait(client, WaitMs);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().address(), QStringLiteral("127.0.0.1"));
    QCOMPARE(found.first().port(), m_server.port());
    QCOMPARE(found.first().name(), QStringLiteral("Сервер теста"));
    QVERIFY(!client.isSearching());
}

void TestCravent::emptySearchKeepsConnection()
{
    Cravent client;
    QVERIFY(!connectAndWait(client, "127.0.0.1", m_server.port()).isError());

    setSearchAddresses({QStringLiteral("127.0.0.1:%1").arg(ServerProcess::unusedPort())});
    QSignalSpy answers(&client, &Cravent::OnSearch_AnswerRecieved);
    client.FindServers(11310, WaitMs);
    client.FindServers(11310, 50); // ends the first search without an answer
    QVERIFY(answers.wait(WaitMs));
    QVERIFY(!client.isSearching());
    processPosted();
    QCOMPARE(answers.count(), 1);
    QVERIFY(answers.first().first().value<QList<DemDecData::QServerStatus>>().isEmpty());
    QVERIFY(!client.IsOFFLine());
}

void TestCravent::serverSurvivesBrokenClients()
{
    QTcpSocket flooding;
    flooding.connectToHost(QHostAddress::LocalHost, m_server.port());
    QVERIFY(flooding.waitForConnected(WaitMs));
    flooding.write(header(1u << 30));
    QVERIFY(flooding.waitForDisconnected(WaitMs));

    QTcpSocket stranger;
    stranger.connectToHost(QHostAddress::LocalHost, m_server.port());
    QVERIFY(stranger.waitForConnected(WaitMs));
    stranger.write(QNetData::FrameReader::encode(QNetData::Protocol::Hello, "ORVDD-old"));
    QNetData::FrameReader reader;
    quint8 type = 0;
    QByteArray payload;
    while (!reader.takeFrame(&type, &payload) && stranger.waitForReadyRead(WaitMs))
        reader.append(stranger.readAll());
    QCOMPARE(int(type), int(QNetData::Protocol::Refusal));

    Cravent client;
    const QError error = connectAndWait(client, "127.0.0.1", m_server.port());
    QVERIFY2(!error.isError(), qPrintable(error.text()));
}

void TestCravent::serverDropsClientAskingFasterThanItReads()
{
    // Each Hello is answered with the whole catalogue; a client that asks again and again
    // without taking the answers would have the server queue them without end.
    int connected = 0;
    const std::unique_ptr<QTcpSocket> greedy = greet(m_server.port(), 100, &connected);
    QTRY_COMPARE_WITH_TIMEOUT(connected, 1, WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(greedy->state(), QAbstractSocket::UnconnectedState, WaitMs);

    Cravent client;
    const QError error = connectAndWait(client, "127.0.0.1", m_server.port());
    QVERIFY2(!error.isError(), qPrintable(error.text()));
}

void TestCravent::serverDropsIdleClients()
{
    ServerProcess server;
    QVERIFY2(server.start(ServerProcess::sampleCatalogue(), QString(), {"--idle-timeout", "500"}),
             qPrintable(server.error()));
    // A client of ours says it is alive more often than the server's idle timeout.
    Cravent keptAlive;
    keptAlive.setKeepAliveInterval(50);
    QVERIFY(!connectAndWait(keptAlive, "127.0.0.1", server.port()).isError());
    QSignalSpy lost(&keptAlive, &Cravent::OnDisconnected);

    // Idle clients fill every other place the server has.
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    int connected = 0;
    for (int i = 0; i < 63; ++i)
        idle.push_back(greet(server.port(), 1, &connected));
    QTRY_COMPARE_WITH_TIMEOUT(connected, 63, WaitMs);

    // Once they time out, their places are free again; the client that kept alive stayed.
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(idle.cbegin(), idle.cend(), [](const auto& socket) {
                                 return socket->state() == QAbstractSocket::UnconnectedState;
                             }),
                             WaitMs);
    processPosted();
    QCOMPARE(lost.count(), 0);
    QVERIFY(!keptAlive.IsOFFLine());
    Cravent later;
    const QError error = connectAndWait(later, "127.0.0.1", server.port());
    QVERIFY2(!error.isError(), qPrintable(error.text()));
}

void TestCravent::serverDropsClientsThatNeverGreet_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("byteByByte"); // one byte every tick, or the whole every tick

    QTest::newRow("keep-alives") << QNetData::FrameReader::encode(QNetData::Protocol::KeepAlive, {}) << false;
    QTest::newRow("a frame a byte at a time")
        << QNetData::FrameReader::encode(QNetData::Protocol::KeepAlive, QByteArray(200, 'x')) << true;
}

void TestCravent::serverDropsClientsThatNeverGreet()
{
    QFETCH(QByteArray, sent);
    QFETCH(bool, byteByByte);
    // The greeting deadline is the idle timeout here; the peers send well within it.
    ServerProcess server;
    QVERIFY2(server.start(ServerProcess::sampleCatalogue(), QString(), {"--idle-timeout", "1000"}),
             qPrintable(server.error()));
    std::vector<std::unique_ptr<QTcpSocket>> peers;
    QTimer tick;
    int sentBytes = 0;
    connect(&tick, &QTimer::timeout, this, [&] {
        for (const auto& peer : peers) {
            if (peer->state() == QAbstractSocket::ConnectedState)
                peer->write(byteByByte ? sent.mid(sentBytes, 1) : sent);
        }
        ++sentBytes;
    });
    // Every place the server has.
    for (int i = 0; i < 64; ++i) {
        peers.push_back(std::make_unique<QTcpSocket>());
        peers.back()->connectToHost(QHostAddress::LocalHost, server.port());
    }
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(peers.cbegin(), peers.cend(), [](const auto& peer) {
                                 return peer->state() == QAbstractSocket::ConnectedState;
                             }),
                             WaitMs);
    tick.start(100);

    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(peers.cbegin(), peers.cend(), [](const auto& peer) {
                                 return peer->state() == QAbstractSocket::UnconnectedState;
                             }),
                             WaitMs);
    tick.stop();
    Cravent client;
    const QError error = connectAndWait(client, "127.0.0.1", server.port());
    QVERIFY2(!error.isError(), qPrintable(error.text()));
}

QTEST_GUILESS_MAIN(TestCravent)
#include "tst_cravent.moc"
