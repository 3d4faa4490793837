#include "textwriter.h"

#include <QXmlStreamReader>

namespace Xml {

TextWriter::TextWriter(QByteArray* out, int indent)
    : m_out(out)
    , m_indent(indent)
{
}

bool TextWriter::finishStartElement(bool contents)
{
    const bool hadSomethingWritten = m_wroteSomething;
    m_wroteSomething = contents;
    if (!m_inStartElement)
        return hadSomethingWritten;
    if (m_inEmptyElement) {
        m_out->append("/>");
        m_open.removeLast();
        m_lastWasStartElement = false;
    } else {
        m_out->append('>');
    }
    m_inStartElement = m_inEmptyElement = false;
    return hadSomethingWritten;
}

void TextWriter::newLine(qsizetype level)
{
    m_out->append('\n');
    m_out->append(QByteArray(level * m_indent, ' '));
}

void TextWriter::writeStartDocument()
{
    finishStartElement(false);
    m_out->append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
}

void TextWriter::writeEndDocument()
{
    while (!m_open.isEmpty())
        writeEndElement();
    m_out->append('\n');
}

void TextWriter::startElement(QStringView name, bool empty)
{
    if (!finishStartElement(false))
        newLine(m_open.size());
    m_out->append('<');
    appendName(name);
    m_open.append(name.toString());
    m_inStartElement = m_lastWasStartElement = true;
    m_inEmptyElement = empty;
}

void TextWriter::writeStartElement(QStringView name)
{
    startElement(name, false);
}

void TextWriter::writeEmptyElement(QStringView name)
{
    startElement(name, true);
}

void TextWriter::writeEndElement()
{
    if (m_open.isEmpty())
        return;
    if (m_inStartElement && !m_inEmptyElement) {
        m_out->append("/>");
        m_lastWasStartElement = m_inStartElement = false;
        m_open.removeLast();
        return;
    }
    if (!finishStartElement(false) && !m_lastWasStartElement)
        newLine(m_open.size() - 1);
    if (m_open.isEmpty())
        return;
    m_lastWasStartElement = false;
    m_out->append("</");
    appendName(m_open.takeLast());
    m_out->append('>');
}

void TextWriter::writeAttribute(QStringView name, QStringView value)
{
    m_out->append(' ');
    appendName(name);
    m_out->append("=\"");
    append(value, true);
    m_out->append('"');
}

void TextWriter::writeAttribute(QStringView name, qint64 value)
{
    m_out->append(' ');
    appendName(name);
    m_out->append("=\"");
    char digits[24];
    int at = sizeof digits;
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        digits[--at] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        digits[--at] = '-';
    m_out->append(digits + at, qsizetype(sizeof digits) - at);
    m_out->append('"');
}

void TextWriter::writeTextElement(QStringView name, QStringView text)
{
    writeStartElement(name);
    writeCharacters(text);
    writeEndElement();
}

void TextWriter::writeCharacters(QStringView text)
{
    finishStartElement(true);
    append(text, false);
}

void TextWriter::writeCDATA(QStringView text)
{
    finishStartElement(true);
    m_out->append("<![CDATA[");
    for (qsizetype at = 0;;) {
        const qsizetype end = text.indexOf(u"]]>", at);
        if (end < 0) {
            m_out->append(text.sliced(at).toUtf8());
            break;
        }
        m_out->append(text.sliced(at, end - at).toUtf8());
        m_out->append("]]]]><![CDATA[>");
        at = end + 3;
    }
    m_out->append("]]>");
}

void TextWriter::writeComment(QStringView text)
{
    if (!finishStartElement(false))
        newLine(m_open.size());
    m_out->append("<!--");
    m_out->append(text.toUtf8());
    m_out->append("-->");
    m_inStartElement = m_lastWasStartElement = false;
}

void TextWriter::writeProcessingInstruction(QStringView target, QStringView data)
{
    if (!finishStartElement(false))
        newLine(m_open.size());
    m_out->append("<?");
    m_out->append(target.toUtf8());
    if (!data.isNull()) {
        m_out->append(' ');
        m_out->append(data.toUtf8());
    }
    m_out->append("?>");
}

void TextWriter::writeEntityReference(QStringView name)
{
    finishStartElement(true);
    m_out->append('&');
    m_out->append(name.toUtf8());
    m_out->append(';');
}

void TextWriter::writeCurrentToken(const QXmlStreamReader& reader)
{
    switch (reader.tokenType()) {
    case QXmlStreamReader::StartElement:
        writeStartElement(reader.qualifiedName());
        for (const QXmlStreamAttribute& attribute : reader.attributes())
            writeAttribute(attribute.qualifiedName(), attribute.value());
        break;
    case QXmlStreamReader::EndElement:
        writeEndElement();
        break;
    case QXmlStreamReader::Characters:
        if (reader.isCDATA())
            writeCDATA(reader.text());
        else
            writeCharacters(reader.text());
        break;
    case QXmlStreamReader::Comment:
        writeComment(reader.text());
        break;
    case QXmlStreamReader::ProcessingInstruction:
        writeProcessingInstruction(reader.processingInstructionTarget(), reader.processingInstructionData());
        break;
    case QXmlStreamReader::EntityReference:
        writeEntityReference(reader.name());
        break;
    default: // documents and DTDs are not inside records
        m_error = true;
        break;
    }
}

void TextWriter::appendName(QStringView name)
{
    for (const QChar c : name) {
        if (c.unicode() >= 0x80) {
            m_out->append(name.toUtf8());
            return;
        }
    }
    for (const QChar c : name)
        m_out->append(char(c.unicode()));
}

// Escaped as QXmlStreamWriter escapes: the markup characters, and in attributes the white
// space that a reader would turn into spaces.
void TextWriter::append(QStringView text, bool attribute)
{
    const qsizetype size = text.size();
    const char16_t* data = text.utf16();
    m_out->reserve(m_out->size() + size + 16);
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if (c >= 0x80) {
            if (c < 0x800) {
                m_out->append(char(0xc0 | (c >> 6)));
                m_out->append(char(0x80 | (c & 0x3f)));
            } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(data[i + 1])) {
                const char32_t u = QChar::surrogateToUcs4(c, data[++i]);
                m_out->append(char(0xf0 | (u >> 18)));
                m_out->append(char(0x80 | ((u >> 12) & 0x3f)));
                m_out->append(char(0x80 | ((u >> 6) & 0x3f)));
                m_out->append(char(0x80 | (u & 0x3f)));
            } else if (QChar::isSurrogate(c) || c >= 0xfffe) {
                m_error = true;
            } else {
                m_out->append(char(0xe0 | (c >> 12)));
                m_out->append(char(0x80 | ((c >> 6) & 0x3f)));
                m_out->append(char(0x80 | (c & 0x3f)));
            }
            continue;
        }
        switch (c) {
        case u'<':
            m_out->append("&lt;");
            break;
        case u'>':
            m_out->append("&gt;");
            break;
        case u'&':
            m_out->append("&amp;");
            break;
        case u'"':
            m_out->append("&quot;");
            break;
        case u'\t':
            m_out->append(attribute ? "&#9;" : "\t");
            break;
        case u'\n':
            m_out->append(attribute ? "&#10;" : "\n");
            break;
        case u'\r':
            m_out->append(attribute ? "&#13;" : "\r");
            break;
        default:
            if (c < 0x20)
                m_error = true;
            else
                m_out->append(char(c));
        }
    }
}

} // namespace Xml
