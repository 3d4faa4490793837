#include "safexmlreader.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using Xml::SafeXmlReader;

namespace {

constexpr SafeXmlReader::Limits TestLimits{16, 64 * 1024};

// Hands its bytes out a few at a time, as a pipe or a socket may.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(const QByteArray& bytes, int piece)
        : m_bytes(bytes)
        , m_piece(piece)
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_bytes.size() - m_pos + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 size = std::min<qint64>({maxSize, m_piece, m_bytes.size() - m_pos});
        std::memcpy(data, m_bytes.constData() + m_pos, size_t(size));
        m_pos += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_pos = 0;
    int m_piece;
};

// Reads a whole document with root <r> as the store reads its files: the root's children one by
// one, each skipped as a record of unknown kind would be.
bool walk(SafeXmlReader& reader)
{
    if (!reader.readRoot(u"r"))
        return false;
    while (reader.readNextChild()) {
        if (!reader.skipElement())
            return false;
    }
    return !reader.hasError() && reader.finish();
}

QByteArray laughs()
{
    QByteArray dtd = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n <!ENTITY l0 \"ha\">\n";
    for (int i = 1; i < 10; ++i) {
        dtd += " <!ENTITY l" + QByteArray::number(i) + " \"";
        for (int k = 0; k < 10; ++k)
            dtd += "&l" + QByteArray::number(i - 1) + ';';
        dtd += "\">\n";
    }
    return dtd + "]>\n<r a=\"&l9;\"/>\n";
}

QByteArray junk()
{
    QRandomGenerator random(13);
    QByteArray bytes(4096, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    bytes[0] = '\x89';
    return bytes;
}

} // namespace

class TestSafeXmlReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostileInput_data();
    void hostileInput();
    void codecErrorsKeepTheirLine();
};

void TestSafeXmlReader::hostileInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("piece"); // bytes per read of the source; 0: all at once
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("line"); // 0: any
    QTest::addColumn<QString>("reason");

    const QByteArray nested = "<r>" + QByteArray("<n>").repeated(15) + QByteArray("</n>").repeated(15) + "</r>";
    struct Row
    {
        const char* name;
        QByteArray bytes;
        bool accepted;
        int line;
        QString reason;
    };
    const QList<Row> rows{
        {"plain document", "<?xml version=\"1.0\"?>\n<r a=\"1\">\n  <c/>\n  <c><d/></c>\n</r>\n<!-- end -->\n", true, 0, {}},
        {"nesting at the limit", nested, true, 0, {}},
        {"markup inside text is no markup",
         "<r a=\"1 /> x>\" b='>'>\n<c><![CDATA[<x><x><!DOCTYPE]]>t</c><!-- <y><!ENTITY --><?pi <z><!x ?>\n</r>", true, 0, {}},
        {"one level too deep", "<r>\n" + QByteArray("<n>").repeated(15) + "\n<n>", false, 3, "вложенность"},
        {"deep nesting, never closed", "<r>" + QByteArray("<a>").repeated(100000), false, 1, "вложенность"},
        {"billion laughs", laughs(), false, 2, "DTD"},
        {"external entity", "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n<r>&x;</r>", false, 1, "DTD"},
        {"declaration after the root", "<r/>\n<!DOCTYPE r>", false, 2, "DTD"},
        {"undeclared entity", "<r>\n&x;</r>", false, 2, "x"},
        {"huge attribute", "<r a=\"" + QByteArray(300 * 1024, 'x') + "\"/>", false, 1, "больше 65536 байт"},
        {"long after the root", "<r/>\n" + QByteArray(70 * 1024, ' '), false, 2, "больше"},
        {"empty", QByteArray(), false, 0, "оборван"},
        {"truncated in a tag", "<r>\n<c a=\"1", false, 2, "оборван"},
        {"truncated element", "<r>\n<c>\n", false, 3, "оборван"},
        {"binary junk", junk(), false, 0, {}},
        {"UTF-16 with a byte-order mark", QByteArray("\xff\xfe<\0r\0/\0>\0", 10), false, 1, "UTF-8"},
        {"UTF-16 without one", QByteArray("<\0r\0/\0>\0", 8), false, 1, "UTF-8"},
        {"plain text", "hello", false, 1, {}},
        {"text after the root", "<r/>\nx", false, 2, {}},
        {"second root", "<r/>\n<r/>", false, 2, {}},
        {"another root", "<q/>", false, 1, "<q>"},
        {"stray text inside", "<r>\n<c/>\ntext\n</r>", false, 4, "text"},
    };
    for (const Row& row : rows) {
        for (int piece : {0, 1}) {
            QTest::addRow("%s, %s", row.name, piece ? "byte by byte" : "at once")
                << row.bytes << piece << row.accepted << row.line << row.reason;
        }
    }
}

void TestSafeXmlReader::hostileInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, piece);
    QFETCH(bool, accepted);
    QFETCH(int, line);
    QFETCH(QString, reason);

    TrickleDevice trickle(bytes, piece);
    std::unique_ptr<SafeXmlReader> reader =
        piece ? std::make_unique<SafeXmlReader>(&trickle, QStringLiteral("hostile.xml"), TestLimits)
              : std::make_unique<SafeXmlReader>(bytes, QStringLiteral("hostile.xml"), TestLimits);
    QVERIFY2(walk(*reader) == accepted, qPrintable(reader->errorString()));
    QCOMPARE(reader->hasError(), !accepted);
    if (accepted)
        return;
    const Xml::ReadError error = reader->error();
    QVERIFY2(error.message.contains(reason), qPrintable(error.message));
    QVERIFY(error.line > 0);
    if (line > 0)
        QCOMPARE(error.line, line);
    QCOMPARE(reader->errorString(),
             QStringLiteral("Файл \"hostile.xml\", строка %1: %2").arg(error.line).arg(error.message));
}

void TestSafeXmlReader::codecErrorsKeepTheirLine()
{
    // A reader of the bytes, like the record codec, raises its error on xml(); the first error stays.
    SafeXmlReader reader(QByteArray("<r>\n<c n=\"x\"/>\n</r>"), QString(), TestLimits);
    QVERIFY(reader.readRoot(u"r"));
    QVERIFY(reader.readNextChild());
    reader.xml().raiseError(QStringLiteral("n: не число"));
    QVERIFY(!reader.failFromReader());
    QVERIFY(!reader.fail(QStringLiteral("later")));
    QCOMPARE(reader.errorString(), QStringLiteral("строка 2: n: не число"));
}

QTEST_GUILESS_MAIN(TestSafeXmlReader)
#include "tst_safexmlreader.moc"
