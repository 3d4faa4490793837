#include "unknownparts.h"

#include "textwriter.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Xml {

UnknownParts::UnknownParts(QList<Attribute> attributes, QStringList elements)
{
    if (!attributes.isEmpty() || !elements.isEmpty())
        m_parts = std::make_shared<const Parts>(Parts{std::move(attributes), std::move(elements)});
}

QList<UnknownParts::Attribute> UnknownParts::attributes() const
{
    return m_parts ? m_parts->attributes : QList<Attribute>();
}

QStringList UnknownParts::elements() const
{
    return m_parts ? m_parts->elements : QStringList();
}

bool operator==(const UnknownParts& a, const UnknownParts& b)
{
    if (a.m_parts == b.m_parts)
        return true;
    if (!a.m_parts || !b.m_parts)
        return false;
    return a.m_parts->attributes == b.m_parts->attributes && a.m_parts->elements == b.m_parts->elements;
}

// White space between elements is left out, so that a writer that indents gives back, when read
// again, the same text.
QString UnknownParts::captureElement(QXmlStreamReader& reader)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    int depth = 0;
    while (!reader.hasError()) {
        if (reader.isStartElement())
            ++depth;
        else if (reader.isEndElement())
            --depth;
        if (!reader.isWhitespace())
            writer.writeCurrentToken(reader);
        if (depth == 0 || reader.atEnd())
            break;
        reader.readNext();
    }
    return xml;
}

template <typename W>
void UnknownParts::writeAttributesTo(W& writer) const
{
    if (!m_parts)
        return;
    for (const Attribute& attribute : m_parts->attributes)
        writer.writeAttribute(attribute.name, attribute.value);
}

template <typename W>
void UnknownParts::writeElementsTo(W& writer) const
{
    if (!m_parts)
        return;
    for (const QString& element : m_parts->elements) {
        QXmlStreamReader reader(element);
        reader.setNamespaceProcessing(false);
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.hasError())
                break;
            if (!reader.isStartDocument() && !reader.isEndDocument() && !reader.isWhitespace())
                writer.writeCurrentToken(reader);
        }
    }
}

void UnknownParts::writeAttributes(QXmlStreamWriter& writer) const
{
    writeAttributesTo(writer);
}

void UnknownParts::writeElements(QXmlStreamWriter& writer) const
{
    writeElementsTo(writer);
}

void UnknownParts::writeAttributes(TextWriter& writer) const
{
    writeAttributesTo(writer);
}

void UnknownParts::writeElements(TextWriter& writer) const
{
    writeElementsTo(writer);
}

} // namespace Xml
