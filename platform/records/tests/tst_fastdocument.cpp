#include "fastdocument.h"

#include <QTest>

#include <pugixml.hpp>

// What the parsed reading takes: the store's own form only; the rest goes to the stream reader.
class TestFastDocument : public QObject
{
    Q_OBJECT

private slots:
    void form_data();
    void form();
};

void TestFastDocument::form_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("children"); // as readChildren() takes them; "-" when it refuses

    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const auto row = [](const char* name, const QByteArray& document, bool taken, const QString& children = {}) {
        QTest::newRow(name) << document << taken << (taken || !children.isEmpty() ? children : QStringLiteral("-"));
    };
    row("as the store writes", declaration + "<Racks>\n  <Rack uid=\"1\" name=\"&lt;Стойка&gt; &amp; &#10;&#x1F600;\"/>\n</Racks>\n", true,
        QStringLiteral("Rack uid=1 name=<Стойка> & \n\U0001F600"));
    row("no declaration", "<Racks><Rack uid='1'/></Racks>", true, "Rack uid=1");
    row("children apart, each a slice", "<A>\n <b x=\"1\"/>\n <c><d/>t</c>\n <b x=\"2\"></b>\n</A>\n", true, "b x=1,c,b x=2");
    row("text beside the children", "<A>x<b/></A>", true, "-");
    row("reference beside the children", "<A><b/>&amp;</A>", true, "-");
    row("text with references", "<A><b>1 2&#9;3 &gt; ]</b></A>", true, "b");
    row("end tag of a child that does not match", "<A><b></c></A>", false);
    row("root's end tag longer", "<A><b/></AB>", false);
    row("root's end tag with white space", "<A><b/></A \n>", true, "b");
    row("root's attributes malformed", "<A x y><b/></A>", false);
    row("other declaration", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A/>", false);
    row("document type", "<!DOCTYPE A [<!ENTITY e \"x\">]><A>&e;</A>", false);
    row("comment", "<A><!-- c --></A>", false);
    row("CDATA", "<A><![CDATA[x]]></A>", false);
    row("instruction", "<A><?pi x?></A>", false);
    row("unknown entity", "<A b=\"&nbsp;\"/>", false);
    row("bare ampersand", "<A>a & b</A>", false);
    row("reference to a control character", "<A b=\"&#1;\"/>", false);
    row("reference beyond Unicode", "<A b=\"&#x110000;\"/>", false);
    row("control character", "<A b=\"\x01\"/>", false);
    row("invalid UTF-8", "<A b=\"\xff\"/>", false);
    row("overlong UTF-8", "<A b=\"\xc0\xaf\"/>", false);
    row("encoded surrogate", "<A b=\"\xed\xa0\x80\"/>", false);
    row("U+FFFF", "<A b=\"\xef\xbf\xbf\"/>", false);
    row("UTF-16", QByteArray("<\0A\0/\0>\0", 8), false);
    row("two document elements", "<A/><B/>", false);
    row("text outside", "<A/>x", false);
    row("less-than in a value", "<A b=\"<\"/>", false);
    row("attributes not apart", "<A b=\"1\"c=\"2\"/>", false);
    row("attribute twice", "<A b=\"1\" b=\"2\"/>", true); // parsed; the record reader declines it
    row("deeper than the limit", QByteArray("<a>").repeated(9) + QByteArray("</a>").repeated(9), false);
    row("within the limit", QByteArray("<a>").repeated(8) + QByteArray("</a>").repeated(8), true, "a");
    row("cut short", "<A><b>", false);
    row("end tag that does not match", "<A></B>", false);
    row("empty", "", false);
}

void TestFastDocument::form()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, taken);
    QFETCH(QString, children);
    Xml::FastDocument parsed;
    QCOMPARE(parsed.parse(document, {8, 1 << 20}), taken);
    QCOMPARE(bool(parsed.root()), taken);
    QVERIFY(!Xml::FastDocument().parse(QByteArray("<A/>").leftJustified(100, ' '), {8, 99}));

    // The same children whether each is parsed alone or all at once.
    const QByteArray root = taken ? QByteArray(parsed.root().name()) : QByteArray("A");
    for (const qsizetype slice : {1, 1 << 20}) {
        QStringList read;
        QByteArray bytes = document;
        const bool took = Xml::FastDocument::readChildren(bytes, {8, 1 << 20}, root.toStdString(), [&](const pugi::xml_node& child) {
            QString text = QString::fromUtf8(child.name());
            for (const pugi::xml_attribute& attribute : child.attributes())
                text += QLatin1Char(' ') + QString::fromUtf8(attribute.name()) + QLatin1Char('=') + QString::fromUtf8(attribute.value());
            read.append(text);
            return true;
        }, slice);
        QCOMPARE(took ? read.join(QLatin1Char(',')) : QStringLiteral("-"), children);
    }
    if (taken) {
        QByteArray bytes = document;
        QVERIFY(!Xml::FastDocument::readChildren(bytes, {8, 1 << 20}, "Other", [](const pugi::xml_node&) { return true; }));
        bytes = document;
        QCOMPARE(Xml::FastDocument::readChildren(bytes, {8, 1 << 20}, root.toStdString(), [](const pugi::xml_node&) { return false; }),
                 children.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestFastDocument)
#include "tst_fastdocument.moc"
