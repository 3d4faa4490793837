#include "textwriter.h"

#include <QXmlStreamReader>

#include <cstring>

namespace Xml {

namespace {

// Texts longer than this are escaped a piece at a time, into room for the longest form of a piece.
constexpr qsizetype Piece = 8192;

char* put(char* out, const char* text, size_t size)
{
    std::memcpy(out, text, size);
    return out + size;
}

// A name of ASCII characters, a byte each; nullptr for any other name.
char* putAsciiName(char* out, QStringView name)
{
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return nullptr;
        *out++ = char(c.unicode());
    }
    return out;
}

} // namespace

TextWriter::TextWriter(QByteArray* out, int indent)
    : m_out(out)
    , m_indent(indent)
{
}

// Most pieces of the output go through one pointer: room() makes the output longer by at most
// what they need and gives where they start, written() cuts it back to where they ended.
char* TextWriter::room(qsizetype size)
{
    const qsizetype at = m_out->size();
    m_out->resize(at + size);
    return m_out->data() + at;
}

void TextWriter::written(const char* end)
{
    m_out->resize(end - m_out->constData());
}

bool TextWriter::finishStartElement(bool contents)
{
    const bool hadSomethingWritten = m_wroteSomething;
    m_wroteSomething = contents;
    if (!m_inStartElement)
        return hadSomethingWritten;
    if (m_inEmptyElement) {
        m_out->append("/>");
        m_open.pop_back();
        m_lastWasStartElement = false;
    } else {
        m_out->append('>');
    }
    m_inStartElement = m_inEmptyElement = false;
    return hadSomethingWritten;
}

void TextWriter::newLine(qsizetype level)
{
    const qsizetype at = m_out->size();
    m_out->resize(at + 1 + level * m_indent);
    char* out = m_out->data() + at;
    *out = '\n';
    std::memset(out + 1, ' ', size_t(level * m_indent));
}

void TextWriter::appendEndTag()
{
    const Open open = m_open.back();
    m_open.pop_back();
    char* out = room(open.size + 3);
    *out++ = '<';
    *out++ = '/';
    std::memcpy(out, m_out->constData() + open.at, size_t(open.size));
    out[open.size] = '>';
}

void TextWriter::writeStartDocument()
{
    finishStartElement(false);
    m_out->append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
}

void TextWriter::writeEndDocument()
{
    while (!m_open.empty())
        writeEndElement();
    m_out->append('\n');
}

void TextWriter::startElement(QStringView name, bool empty)
{
    const qsizetype indent = finishStartElement(false) ? -1 : qsizetype(m_open.size()) * m_indent;
    char* out = room(indent + 2 + name.size());
    if (indent >= 0) {
        *out++ = '\n';
        std::memset(out, ' ', size_t(indent));
        out += indent;
    }
    *out++ = '<';
    const qsizetype at = out - m_out->constData();
    if (char* end = putAsciiName(out, name)) {
        written(end);
    } else {
        written(out);
        appendName(name);
    }
    m_open.push_back({at, m_out->size() - at});
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
    if (m_open.empty())
        return;
    if (m_inStartElement && !m_inEmptyElement) {
        m_out->append("/>");
        m_lastWasStartElement = m_inStartElement = false;
        m_open.pop_back();
        return;
    }
    if (!finishStartElement(false) && !m_lastWasStartElement)
        newLine(qsizetype(m_open.size()) - 1);
    if (m_open.empty())
        return;
    m_lastWasStartElement = false;
    appendEndTag();
}

// ` name="`, with room for `more` bytes after it.
char* TextWriter::attributeStart(QStringView name, qsizetype more)
{
    char* out = room(name.size() + 3 + more);
    *out++ = ' ';
    char* end = putAsciiName(out, name);
    if (!end) {
        written(out);
        appendName(name);
        end = room(2 + more);
    }
    *end++ = '=';
    *end++ = '"';
    return end;
}

void TextWriter::writeAttribute(QStringView name, QStringView value)
{
    if (value.size() > Piece) {
        written(attributeStart(name, 0));
        append(value, true);
        m_out->append('"');
        return;
    }
    char* out = appendEscaped(attributeStart(name, value.size() * 6 + 1), value, true);
    *out++ = '"';
    written(out);
}

void TextWriter::writeAttribute(QStringView name, qint64 value)
{
    char digits[24];
    int at = sizeof digits;
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        digits[--at] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        digits[--at] = '-';
    char* out = put(attributeStart(name, qsizetype(sizeof digits) + 1), digits + at, sizeof digits - size_t(at));
    *out++ = '"';
    written(out);
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
        newLine(qsizetype(m_open.size()));
    m_out->append("<!--");
    m_out->append(text.toUtf8());
    m_out->append("-->");
    m_inStartElement = m_lastWasStartElement = false;
}

void TextWriter::writeProcessingInstruction(QStringView target, QStringView data)
{
    if (!finishStartElement(false))
        newLine(qsizetype(m_open.size()));
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
    const qsizetype at = m_out->size();
    m_out->resize(at + name.size());
    char* out = m_out->data() + at;
    for (const QChar c : name) {
        if (c.unicode() >= 0x80) {
            m_out->resize(at);
            m_out->append(name.toUtf8());
            return;
        }
        *out++ = char(c.unicode());
    }
}

// Escaped as QXmlStreamWriter escapes: the markup characters, and in attributes the white
// space that a reader would turn into spaces. Written through a pointer into room for the
// longest form (six bytes a character), a piece at a time so that a long text needs no more.
void TextWriter::append(QStringView text, bool attribute)
{
    while (text.size() > Piece) {
        // A surrogate pair stays in one piece.
        const qsizetype cut = QChar::isHighSurrogate(text[Piece - 1].unicode()) ? Piece + 1 : Piece;
        appendPiece(text.first(cut), attribute);
        text = text.sliced(cut);
    }
    appendPiece(text, attribute);
}

void TextWriter::appendPiece(QStringView text, bool attribute)
{
    written(appendEscaped(room(text.size() * 6), text, attribute));
}

char* TextWriter::appendEscaped(char* out, QStringView text, bool attribute)
{
    const qsizetype size = text.size();
    const char16_t* data = text.utf16();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if (c >= 0x80) {
            if (c < 0x800) {
                *out++ = char(0xc0 | (c >> 6));
                *out++ = char(0x80 | (c & 0x3f));
            } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(data[i + 1])) {
                const char32_t u = QChar::surrogateToUcs4(c, data[++i]);
                *out++ = char(0xf0 | (u >> 18));
                *out++ = char(0x80 | ((u >> 12) & 0x3f));
                *out++ = char(0x80 | ((u >> 6) & 0x3f));
                *out++ = char(0x80 | (u & 0x3f));
            } else if (QChar::isSurrogate(c) || c >= 0xfffe) {
                m_error = true;
            } else {
                *out++ = char(0xe0 | (c >> 12));
                *out++ = char(0x80 | ((c >> 6) & 0x3f));
                *out++ = char(0x80 | (c & 0x3f));
            }
            continue;
        }
        switch (c) {
        case u'<':
            out = put(out, "&lt;", 4);
            break;
        case u'>':
            out = put(out, "&gt;", 4);
            break;
        case u'&':
            out = put(out, "&amp;", 5);
            break;
        case u'"':
            out = put(out, "&quot;", 6);
            break;
        case u'\t':
            out = attribute ? put(out, "&#9;", 4) : put(out, "\t", 1);
            break;
        case u'\n':
            out = attribute ? put(out, "&#10;", 5) : put(out, "\n", 1);
            break;
        case u'\r':
            out = attribute ? put(out, "&#13;", 5) : put(out, "\r", 1);
            break;
        default:
            if (c < 0x20)
                m_error = true;
            else
                *out++ = char(c);
        }
    }
    return out;
}

} // namespace Xml
