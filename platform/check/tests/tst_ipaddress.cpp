#include "ipaddress.h"

#include <QTest>

using namespace ConfigCheck;

class TestIpAddress : public QObject
{
    Q_OBJECT

private slots:
    void canonical_data();
    void canonical();
};

void TestIpAddress::canonical_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("canonical"); // empty: no address

    QTest::newRow("dotted quad") << "192.168.10.1" << "192.168.10.1";
    QTest::newRow("zeros and maximums") << "0.0.255.255" << "0.0.255.255";
    QTest::newRow("three parts") << "192.168.10" << "";
    QTest::newRow("five parts") << "1.2.3.4.5" << "";
    QTest::newRow("empty part") << "1..3.4" << "";
    QTest::newRow("trailing dot") << "1.2.3.4." << "";
    QTest::newRow("above 255") << "1.2.3.256" << "";
    QTest::newRow("four digits") << "1.2.3.0255" << "";
    QTest::newRow("leading zero") << "192.168.010.1" << "";
    QTest::newRow("leading space") << " 192.168.10.1" << "";
    QTest::newRow("host name") << "server-1" << "";
    QTest::newRow("a letter") << "1.2.3.З" << "";
    QTest::newRow("IPv6 loopback") << "::1" << "::1";
    QTest::newRow("IPv6 written long") << "0:0:0:0:0:0:0:1" << "::1";
    QTest::newRow("IPv6 upper case") << "FE80::A" << "fe80::a";
    QTest::newRow("IPv6 with a space") << "::1 " << "";
    QTest::newRow("IPv6 nonsense") << "1::2::3" << "";
}

void TestIpAddress::canonical()
{
    QFETCH(QString, text);
    QFETCH(QString, canonical);
    QCOMPARE(IpAddress::canonical(text), canonical);
}

QTEST_GUILESS_MAIN(TestIpAddress)
#include "tst_ipaddress.moc"
