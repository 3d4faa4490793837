#include "foreignparts.h"

#include "configreader.h"

#include <QXmlStreamReader>

namespace ForeignParts {

namespace {

// Plain arrays: the parts may be asked for while other files are still being initialised.
constexpr char Attributes[] = " color=\"red\" site=\"\xd1\x81\xd0\xb5\xd0\xb2\xd0\xb5\xd1\x80\"";
constexpr char Elements[] = "<maintenance due=\"2027-03\"><step n=\"1\">\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb2\xd0\xb5\xd1\x80"
                            "\xd0\xb8\xd1\x82\xd1\x8c &amp; \xd1\x81\xd0\xbc\xd0\xb0\xd0\xb7\xd0\xb0\xd1\x82\xd1\x8c"
                            "</step><!-- by hand --></maintenance><note/>";

} // namespace

Xml::UnknownParts parts()
{
    QXmlStreamReader reader(QByteArray("<Rack") + Attributes + ">" + Elements + "</Rack>");
    reader.readNextStartElement();
    CoConfig::Rack rack;
    Xml::ConfigReader::read(reader, rack);
    return rack.unknown;
}

QByteArray addTo(QByteArray document, const QByteArray& element)
{
    qsizetype at = 0;
    while ((at = document.indexOf("<" + element, at)) >= 0) {
        const char after = document.at(at + element.size() + 1);
        if (after == ' ' || after == '>' || after == '/' || after == '\n')
            break;
        ++at;
    }
    if (at < 0)
        return document;
    const qsizetype nameEnd = at + element.size() + 1;
    document.insert(nameEnd, Attributes);
    const qsizetype tagEnd = document.indexOf('>', nameEnd + qsizetype(sizeof(Attributes)) - 1);
    if (document.at(tagEnd - 1) == '/')
        document.replace(tagEnd - 1, 2, QByteArray(">") + Elements + "</" + element + ">");
    else
        document.insert(tagEnd + 1, Elements);
    return document;
}

bool heldBy(const QByteArray& document)
{
    const QByteArray attributes(Attributes);
    const QByteArray elements(Elements);
    const qsizetype step = elements.indexOf("<step");
    for (const QByteArray& part :
         {QByteArray("color=\"red\""), attributes.mid(attributes.indexOf("site")), QByteArray("<maintenance due=\"2027-03\">"),
          elements.mid(step, elements.indexOf("</step>") + 7 - step), QByteArray("<!-- by hand -->"), QByteArray("<note/>")}) {
        if (!document.contains(part))
            return false;
    }
    return true;
}

} // namespace ForeignParts
