#include "fastdocument.h"

#include <QRegularExpression>
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
    QTest::addColumn<QString>("children"); // as readChildren() takes them; "-" when it refuses

    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const auto row = [](const char* name, const QByteArray& document, const QString& children) {
        QTest::newRow(name) << document << children;
    };
    row("as the store writes", declaration + "<Racks>\n  <Rack uid=\"1\" name=\"&lt;Стойка&gt; &amp; &#10;&#x1F600;\"/>\n</Racks>\n",
        QStringLiteral("Rack uid=1 name=<Стойка> & \n\U0001F600"));
    row("no declaration", "<Racks><Rack uid='1'/></Racks>", "Rack uid=1");
    row("children apart, each a slice", "<A>\n <b x=\"1\"/>\n <c><d/>t</c>\n <b x=\"2\"></b>\n</A>\n", "b x=1,c,b x=2");
    row("text beside the children", "<A>x<b/></A>", "-");
    row("reference beside the children", "<A><b/>&amp;</A>", "-");
    row("text with references", "<A><b>1 2&#9;3 &gt; ]</b></A>", "b");
    row("end tag of a child that does not match", "<A><b></c></A>", "-");
    row("root's end tag longer", "<A><b/></AB>", "-");
    row("root's end tag with white space", "<A><b/></A \n>", "b");
    row("root's attributes malformed", "<A x y><b/></A>", "-");
    row("other declaration", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A/>", "-");
    row("document type", "<!DOCTYPE A [<!ENTITY e \"x\">]><A>&e;</A>", "-");
    row("comment", "<A><!-- c --></A>", "-");
    row("CDATA", "<A><![CDATA[x]]></A>", "-");
    row("instruction", "<A><?pi x?></A>", "-");
    row("unknown entity", "<A b=\"&nbsp;\"/>", "-");
    row("bare ampersand", "<A>a & b</A>", "-");
    row("reference to a control character", "<A b=\"&#1;\"/>", "-");
    row("reference beyond Unicode", "<A b=\"&#x110000;\"/>", "-");
    row("control character", "<A b=\"\x01\"/>", "-");
    row("invalid UTF-8", "<A b=\"\xff\"/>", "-");
    row("overlong UTF-8", "<A b=\"\xc0\xaf\"/>", "-");
    row("encoded surrogate", "<A b=\"\xed\xa0\x80\"/>", "-");
    row("U+FFFF", "<A b=\"\xef\xbf\xbf\"/>", "-");
    row("UTF-16", QByteArray("<\0A\0/\0>\0", 8), "-");
    row("two document elements", "<A/><B/>", "-");
    row("text outside", "<A/>x", "-");
    row("less-than in a value", "<A b=\"<\"/>", "-");
    row("attributes not apart", "<A b=\"1\"c=\"2\"/>", "-");
    row("attribute twice", "<A b=\"1\" b=\"2\"/>", ""); // parsed; the record reader declines it
    row("deeper than the limit", QByteArray("<a>").repeated(9) + QByteArray("</a>").repeated(9), "-");
    row("within the limit", QByteArray("<a>").repeated(8) + QByteArray("</a>").repeated(8), "a");
    row("cut short", "<A><b>", "-");
    row("end tag that does not match", "<A></B>", "-");
    row("empty", "", "-");
    row("reference outside", "<A/>&amp;", "-");
    row("text outside, not ASCII", "<A/>я", "-");
}

void TestFastDocument::form()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, children);
    const QRegularExpressionMatch named = QRegularExpression(QStringLiteral("<([A-Za-z]+)")).match(QString::fromLatin1(document));
    const std::string root = named.hasMatch() ? named.captured(1).toStdString() : std::string("A");
    const auto any = [](const pugi::xml_node&) { return true; };

    // The same children whether each is parsed alone or all at once.
    for (const qsizetype slice : {1, 1 << 20}) {
        QStringList read;
        QByteArray bytes = document;
        const bool took = Xml::FastDocument::readChildren(bytes, {8, 1 << 20}, root, [&](const pugi::xml_node& child) {
            QString text = QString::fromUtf8(child.name());
            for (const pugi::xml_attribute& attribute : child.attributes())
                text += QLatin1Char(' ') + QString::fromUtf8(attribute.name()) + QLatin1Char('=') + QString::fromUtf8(attribute.value());
            read.append(text);
            return true;
        }, slice);
        QCOMPARE(took ? read.join(QLatin1Char(',')) : QStringLiteral("-"), children);
    }
    if (children != QLatin1String("-")) {
        QByteArray bytes = document;
        QVERIFY(!Xml::FastDocument::readChildren(bytes, {8, 1 << 20}, "Other", any));
        bytes = document;
        QCOMPARE(Xml::FastDocument::readChildren(bytes, {8, 1 << 20}, root, [](const pugi::xml_node&) { return false; }),
                 children.isEmpty());
        bytes = document.leftJustified(qsizetype(1) << 10, ' ');
        QVERIFY(!Xml::FastDocument::readChildren(bytes, {8, 1000}, root, any)); // larger than the limit
    }
}

QTEST_GUILESS_MAIN(TestFastDocument)
#include "tst_fastdocument.moc"
