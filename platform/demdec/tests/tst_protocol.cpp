#include "framereader.h"
#include "protocol.h"
#include "searchtarget.h"

#include <QTest>
#include <QtEndian>

using QNetData::FrameReader;
using DemDecData::SearchTarget;

Q_DECLARE_METATYPE(QList<SearchTarget>)

namespace {

QByteArray header(quint32 length)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(length, bytes.data());
    return bytes;
}

} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void framesSurviveAnyChunking_data();
    void framesSurviveAnyChunking();
    void brokenStreams_data();
    void brokenStreams();
    void searchDatagrams_data();
    void searchDatagrams();
    void searchTargets_data();
    void searchTargets();
};

void TestProtocol::framesSurviveAnyChunking_data()
{
    QTest::addColumn<int>("chunk");
    QTest::newRow("all at once") << 100000;
    QTest::newRow("byte by byte") << 1;
    QTest::newRow("split headers") << 3;
    QTest::newRow("odd chunks") << 7;
}

void TestProtocol::framesSurviveAnyChunking()
{
    QFETCH(int, chunk);
    const QList<QByteArray> payloads{"", "catalogue", QByteArray(5000, 'x'), QStringLiteral("каталог").toUtf8()};
    QByteArray stream;
    for (int i = 0; i < payloads.size(); ++i)
        stream += FrameReader::encode(quint8(i + 1), payloads.at(i));

    FrameReader reader(8192);
    QList<QByteArray> received;
    QList<quint8> types;
    for (int at = 0; at < stream.size(); at += chunk) {
        reader.append(stream.mid(at, chunk));
        quint8 type = 0;
        QByteArray payload;
        while (reader.takeFrame(&type, &payload)) {
            types.append(type);
            received.append(payload);
        }
    }
    QVERIFY(!reader.isBroken());
    QCOMPARE(received, payloads);
    QCOMPARE(types, (QList<quint8>{1, 2, 3, 4}));
}

void TestProtocol::brokenStreams_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::newRow("frame over the limit") << header(1025) + "x";
    QTest::newRow("huge length") << header(0xFFFFFFFFu);
    QTest::newRow("frame without type") << header(0);
    QTest::newRow("good frame then huge one") << FrameReader::encode(1, "ok") + header(1u << 31);
}

void TestProtocol::brokenStreams()
{
    QFETCH(QByteArray, stream);
    FrameReader reader(1024);
    reader.append(stream);
    quint8 type = 0;
    QByteArray payload;
    while (reader.takeFrame(&type, &payload)) {
    }
    QVERIFY(reader.isBroken());
    // Once broken, nothing more is read: the connection has to go.
    reader.append(FrameReader::encode(1, "more"));
    QVERIFY(!reader.takeFrame(&type, &payload));
}

void TestProtocol::searchDatagrams_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<bool>("isAnswer");
    QTest::addColumn<bool>("isQuery");
    const quint32 token = 0x12345678;
    const QByteArray answer = QNetData::Protocol::searchAnswer(token, 11310, QStringLiteral("Сервер ДД"));
    QTest::newRow("answer") << answer << true << false;
    QTest::newRow("other token") << QNetData::Protocol::searchAnswer(token + 1, 11310, "x") << false << false;
    QTest::newRow("no port") << QNetData::Protocol::searchAnswer(token, 0, "x") << false << false;
    QTest::newRow("truncated") << answer.left(11) << false << false;
    QTest::newRow("too long") << answer + QByteArray(QNetData::Protocol::MaxDatagramSize, 'x') << false << false;
    QTest::newRow("query") << QNetData::Protocol::searchQuery(token) << false << true;
    QTest::newRow("query with extra bytes") << QNetData::Protocol::searchQuery(token) + "x" << false << false;
}

void TestProtocol::searchDatagrams()
{
    QFETCH(QByteArray, datagram);
    QFETCH(bool, isAnswer);
    QFETCH(bool, isQuery);
    quint16 port = 0;
    QString name;
    QCOMPARE(QNetData::Protocol::readSearchAnswer(datagram, 0x12345678, &port, &name), isAnswer);
    if (isAnswer) {
        QCOMPARE(port, quint16(11310));
        QCOMPARE(name, QStringLiteral("Сервер ДД"));
    }
    quint32 token = 0;
    QCOMPARE(QNetData::Protocol::readSearchQuery(datagram, &token), isQuery);
    if (isQuery)
        QCOMPARE(token, 0x12345678u);
}

void TestProtocol::searchTargets_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<SearchTarget>>("targets");
    const QHostAddress v4(QHostAddress::LocalHost);
    const QHostAddress v6(QHostAddress::LocalHostIPv6);

    QTest::newRow("address") << QStringList{"127.0.0.1"} << QList<SearchTarget>{{v4, 11310}};
    QTest::newRow("address and port") << QStringList{" 127.0.0.1:4000 "} << QList<SearchTarget>{{v4, 4000}};
    QTest::newRow("ipv6") << QStringList{"::1"} << QList<SearchTarget>{{v6, 11310}};
    QTest::newRow("ipv6 and port") << QStringList{"[::1]:4000"} << QList<SearchTarget>{{v6, 4000}};
    QTest::newRow("broadcast") << QStringList{"10.1.255.255"}
                               << QList<SearchTarget>{{QHostAddress("10.1.255.255"), 11310}};
    QTest::newRow("repeats merged") << QStringList{"127.0.0.1", "127.0.0.1:11310"} << QList<SearchTarget>{{v4, 11310}};
    QTest::newRow("names skipped") << QStringList{"localhost", "127.0.0.1"} << QList<SearchTarget>{{v4, 11310}};
    QTest::newRow("bad ports skipped")
        << QStringList{"127.0.0.1:0", "127.0.0.1:70000", "127.0.0.1:x", "[::1]:", "[::1"} << QList<SearchTarget>{};
    QTest::newRow("empty") << QStringList{""} << QList<SearchTarget>{};
}

void TestProtocol::searchTargets()
{
    QFETCH(QStringList, entries);
    QFETCH(QList<SearchTarget>, targets);
    QCOMPARE(SearchTarget::parse(entries, 11310), targets);
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
