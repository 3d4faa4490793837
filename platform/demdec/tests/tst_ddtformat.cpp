#include "catalogue.h"
#include "ddtformat.h"
#include "ddtnames.h"
#include "testfiles.h"

#include <QDirIterator>
#include <QTest>

using namespace DemDecData;
using TestFiles::readFile;

namespace {

constexpr int MaxDepth = 14;

QByteArray nested(int depth)
{
    QByteArray xml = "<proc_node>\n";
    for (int i = 0; i < depth; ++i)
        xml += "<processing_node><demdec_task id=\"" + QByteArray::number(i) + "\"/>\n";
    for (int i = 0; i < depth; ++i)
        xml += "</processing_node>\n";
    return xml + "</proc_node>\n";
}

// A catalogue of n entries, one a line after the root's.
QByteArray entries(int n)
{
    QByteArray xml = "<demdec_catalogue>\n";
    for (int i = 0; i < n; ++i)
        xml += "<demdec_task id=\"" + QByteArray::number(i) + "\" name=\"д\"/>\n";
    return xml + "</demdec_catalogue>\n";
}

} // namespace

class TestDdtFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rejectsMalformed_data();
    void rejectsMalformed();
    void nestingLimit_data();
    void nestingLimit();
    void sampleFilesAreCanonical_data();
    void sampleFilesAreCanonical();
    void valuesSurviveRoundTrip();
    void catalogue_data();
    void catalogue();
    void sampleCatalogueRoundTrip();
};

void TestDdtFormat::rejectsMalformed_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("fragment");

    QTest::newRow("empty file") << QByteArray() << -1 << QString();
    QTest::newRow("not closed") << QByteArray("<proc_node>\n<processing_node>\n") << 3 << QString();
    QTest::newRow("wrong root") << QByteArray("<?xml version=\"1.0\"?>\n<demdec_catalogue/>\n") << 2
                                << "demdec_catalogue";
    QTest::newRow("results at the root")
        << QByteArray("<proc_node>\n<results_node><demdec_results id=\"1\"/></results_node>\n</proc_node>") << 2
        << "results_node";
    QTest::newRow("unknown element")
        << QByteArray("<proc_node>\n<processing_node>\n<demdec_task id=\"1\"/>\n<bogus/>\n</processing_node>\n</proc_node>")
        << 4 << "bogus";
    QTest::newRow("unknown attribute")
        << QByteArray("<proc_node>\n<processing_node>\n<demdec_task id=\"1\" zzz=\"2\"/>\n</processing_node>\n</proc_node>")
        << 3 << "zzz";
    QTest::newRow("task missing")
        << QByteArray("<proc_node>\n<processing_node>\n</processing_node>\n</proc_node>") << 3 << "demdec_task";
    QTest::newRow("two tasks")
        << QByteArray("<proc_node>\n<processing_node>\n<demdec_task id=\"1\"/>\n<demdec_task id=\"2\"/>\n"
                      "</processing_node>\n</proc_node>")
        << 4 << "demdec_task";
    QTest::newRow("stray text") << QByteArray("<proc_node>\nhello\n</proc_node>") << 3 << "hello";
    // UTF-7 turns "+..." into UTF-16 units of any kind, unpaired surrogates among them.
    QTest::newRow("a value XML cannot carry")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n<proc_node>\n<processing_node>\n"
                      "<demdec_task id=\"1\" name=\"a+2D0-\"/>\n</processing_node>\n</proc_node>")
        << 4 << "name";
    QTest::newRow("second root") << QByteArray("<proc_node/>\n<proc_node/>\n") << 2 << QString();
    // The files go through the safe reader of outside XML, tested with the hostile table there.
    QTest::newRow("document type")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE proc_node [<!ENTITY a \"aaaa\">]>\n<proc_node/>") << 2 << "DTD";
}

void TestDdtFormat::rejectsMalformed()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, line);
    QFETCH(QString, fragment);

    Xml::ReadError error;
    QVERIFY(!DdtFormat::read(xml, MaxDepth, &error));
    QVERIFY(!error.message.isEmpty());
    if (line > 0)
        QCOMPARE(error.line, line);
    QVERIFY2(error.message.contains(fragment), qPrintable(error.message));
    QVERIFY(error.toString().startsWith(error.line > 0 ? QStringLiteral("строка") : error.message));
}

void TestDdtFormat::nestingLimit_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("at the limit") << MaxDepth << true;
    QTest::newRow("one too deep") << MaxDepth + 1 << false;
    // Deep nesting must fail cleanly, not exhaust the stack.
    QTest::newRow("far too deep") << 100000 << false;
}

void TestDdtFormat::nestingLimit()
{
    QFETCH(int, depth);
    QFETCH(bool, accepted);

    Xml::ReadError error;
    const std::unique_ptr<DdtNode> root = DdtFormat::read(nested(depth), MaxDepth, &error);
    QCOMPARE(bool(root), accepted);
    if (accepted) {
        QCOMPARE(root->processingHeight(), depth);
    } else {
        QCOMPARE(error.line, MaxDepth + 2);
        QVERIFY(error.message.contains(QString::number(MaxDepth)));
    }
}

void TestDdtFormat::sampleFilesAreCanonical_data()
{
    QTest::addColumn<QString>("path");
    int count = 0;
    QDirIterator files(ORVANE_SOURCE_DIR "/sample/ddt", {"*.ddt"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QTest::newRow(qPrintable(path.mid(path.indexOf("sample/")))) << path;
        ++count;
    }
    QVERIFY(count >= 3);
}

void TestDdtFormat::sampleFilesAreCanonical()
{
    QFETCH(QString, path);
    const QByteArray bytes = readFile(path);
    Xml::ReadError error;
    const std::unique_ptr<DdtNode> root = DdtFormat::read(bytes, MaxDepth, &error);
    QVERIFY2(root, qPrintable(error.toString()));
    QVERIFY(root->childCount() > 0);
    // The samples are written as the editor writes, so opening and saving one changes nothing.
    QCOMPARE(DdtFormat::write(*root), bytes);
}

void TestDdtFormat::valuesSurviveRoundTrip()
{
    DdtNode root(DdtNode::Kind::Root);
    DdtNode* task = root.insertChild(0, std::make_unique<DdtNode>(
        DdtNode::Kind::Processing, QStringList{"7", "a&b", "<c>", "\"q\"", "Имя узла", "", " spaced ", "x\ny"}));
    task->insertChild(0, std::make_unique<DdtNode>(DdtNode::Kind::Results, QStringList{"1", "2", "7", "s", "t"}));
    task->insertChild(0, std::make_unique<DdtNode>(DdtNode::Kind::Processing, QStringList{"8"}));

    const QByteArray bytes = DdtFormat::write(root);
    Xml::ReadError error;
    const std::unique_ptr<DdtNode> read = DdtFormat::read(bytes, MaxDepth, &error);
    QVERIFY2(read, qPrintable(error.toString()));
    QCOMPARE(read->child(0)->values(), task->values());
    QCOMPARE(read->child(0)->child(0)->kind(), DdtNode::Kind::Processing);
    QCOMPARE(read->child(0)->child(1)->values(), task->child(1)->values());
    QCOMPARE(DdtFormat::write(*read), bytes);
}

void TestDdtFormat::catalogue_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("entries"); // -1: rejected
    QTest::addColumn<int>("line");

    QTest::newRow("empty catalogue") << QByteArray("<demdec_catalogue/>") << 0 << 0;
    QTest::newRow("two entries")
        << QByteArray("<demdec_catalogue>\n<demdec_task id=\"1\" name=\"a\"/>\n<demdec_task id=\"2\"/>\n</demdec_catalogue>")
        << 2 << 0;
    QTest::newRow("repeated id")
        << QByteArray("<demdec_catalogue>\n<demdec_task id=\"1\"/>\n<demdec_task id=\"1\"/>\n</demdec_catalogue>") << -1
        << 3;
    QTest::newRow("no id") << QByteArray("<demdec_catalogue>\n<demdec_task name=\"a\"/>\n</demdec_catalogue>") << -1 << 2;
    QTest::newRow("unknown attribute")
        << QByteArray("<demdec_catalogue>\n<demdec_task id=\"1\" dem=\"2\"/>\n</demdec_catalogue>") << -1 << 2;
    QTest::newRow("tree instead") << nested(1) << -1 << 1;
    QTest::newRow("document type")
        << QByteArray("<!DOCTYPE demdec_catalogue [<!ENTITY a \"aaaa\">]>\n<demdec_catalogue/>") << -1 << 1;
    QTest::newRow("as many entries as allowed") << entries(Catalogue::MaxEntries) << Catalogue::MaxEntries << 0;
    QTest::newRow("one entry too many") << entries(Catalogue::MaxEntries + 1) << -1 << Catalogue::MaxEntries + 2;
}

void TestDdtFormat::catalogue()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, entries);
    QFETCH(int, line);

    Catalogue read;
    Xml::ReadError error;
    QVERIFY2(Catalogue::fromXml(xml, &read, &error) == (entries >= 0), qPrintable(error.toString()));
    if (entries >= 0)
        QCOMPARE(read.size(), entries);
    else
        QCOMPARE(error.line, line);
}

void TestDdtFormat::sampleCatalogueRoundTrip()
{
    Catalogue sample;
    Xml::ReadError error;
    QVERIFY2(Catalogue::fromXml(readFile(ORVANE_SOURCE_DIR "/sample/demdec/catalogue.xml"), &sample, &error),
             qPrintable(error.toString()));
    QVERIFY(sample.size() >= 5);
    QCOMPARE(sample.entries().at(sample.indexOf("102")).value("name"), QStringLiteral("ЧМ"));
    QCOMPARE(sample.entries().at(0).title(), QStringLiteral("Демодуляторы / Аналоговые / АМ"));

    Catalogue copy;
    QVERIFY(Catalogue::fromXml(sample.toXml(), &copy, &error));
    QCOMPARE(copy, sample);
}

QTEST_GUILESS_MAIN(TestDdtFormat)
#include "tst_ddtformat.moc"
