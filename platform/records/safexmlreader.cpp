#include "safexmlreader.h"

#include "xmlvalues.h"

#include <QBuffer>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Xml {

// Passes the bytes of the source to the XML reader while following the markup: element
// nesting, comments, CDATA sections and instructions. At the first byte that breaks a rule (a
// declaration, nesting too deep, too many bytes) it passes what came before and then ends the
// stream, keeping why and where.
class SafeXmlReader::Guard : public QIODevice
{
public:
    Guard(QIODevice* source, const Limits& limits)
        : m_source(source)
        , m_limits(limits)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_cut ? 0 : m_source->bytesAvailable() + QIODevice::bytesAvailable();
    }

    // Why the stream was cut; empty while it flows.
    const QString& refusal() const { return m_refusal; }
    qint64 refusalLine() const { return m_refusalLine; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_cut)
            return -1;
        // Fills the block as far as the source gives, scanning each piece as it comes.
        qint64 size = 0;
        while (size < maxSize && m_refusal.isEmpty()) {
            const qint64 piece = m_source->read(data + size, maxSize - size);
            if (piece <= 0) {
                if (size == 0)
                    return piece;
                break;
            }
            const qint64 room = m_limits.maxBytes - m_total;
            const qint64 passed = scan(data + size, std::min(piece, room));
            m_total += passed;
            size += passed;
            if (m_refusal.isEmpty() && piece > room) {
                m_refusal = QStringLiteral("больше %1").arg(sizeText(m_limits.maxBytes));
                m_refusalLine = m_line;
            }
        }
        if (m_first) {
            m_first = false;
            // UTF-16 and UTF-32 have a zero byte in their first two, or start with a byte-order
            // mark; the scan follows only ASCII-compatible text.
            const auto byte = [&](int i) { return i < size ? uchar(data[i]) : 0x20; };
            if (byte(0) == 0 || byte(1) == 0 || (byte(0) == 0xfe && byte(1) == 0xff)
                || (byte(0) == 0xff && byte(1) == 0xfe)) {
                m_refusal = QStringLiteral("текст не в кодировке UTF-8");
                m_refusalLine = 1;
                size = 0;
            }
        }
        if (m_refusal.isEmpty())
            return size;
        // What came before the fault still goes to the reader; the next read ends the stream.
        m_cut = true;
        return size > 0 ? size : -1;
    }

    qint64 writeData(const char*, qint64) override { return -1; }

private:
    enum State { Text, Open, StartTag, EndTag, Bang, Comment, CData, Instruction };

    static QString sizeText(qint64 bytes)
    {
        constexpr qint64 MiB = 1024 * 1024;
        return bytes % MiB == 0 ? QStringLiteral("%1 МБ").arg(bytes / MiB) : QStringLiteral("%1 байт").arg(bytes);
    }

    // The number of bytes that keep to the limits; sets the refusal when that is not all of them.
    qint64 scan(const char* data, qint64 size)
    {
        constexpr std::string_view comment("--");
        constexpr std::string_view cdata("[CDATA[");
        const auto stop = [&](qint64 at, const QString& why) {
            m_line += std::count(data, data + at, '\n');
            m_refusal = why;
            m_refusalLine = m_line;
            return at;
        };
        for (qint64 i = 0; i < size; ++i) {
            const char c = data[i];
            switch (m_state) {
            case Text: {
                const void* open = std::memchr(data + i, '<', size_t(size - i));
                if (!open) {
                    i = size - 1;
                } else {
                    i = static_cast<const char*>(open) - data;
                    m_state = Open;
                    m_tagStart = i;
                }
                break;
            }
            case Open:
                if (c == '/') {
                    m_state = EndTag;
                } else if (c == '!') {
                    m_state = Bang;
                    m_run = 0;
                } else if (c == '?') {
                    m_state = Instruction;
                    m_run = 0;
                } else {
                    if (++m_depth > m_limits.maxDepth)
                        return stop(std::max<qint64>(m_tagStart, 0),
                                    QStringLiteral("вложенность элементов глубже %1").arg(m_limits.maxDepth));
                    m_state = StartTag;
                    m_quote = 0;
                    m_slash = false;
                }
                break;
            case StartTag:
                if (m_quote) {
                    const void* end = std::memchr(data + i, m_quote, size_t(size - i));
                    if (!end) {
                        i = size - 1;
                    } else {
                        i = static_cast<const char*>(end) - data;
                        m_quote = 0;
                    }
                } else if (c == '"' || c == '\'') {
                    m_quote = c;
                    m_slash = false;
                } else if (c == '>') {
                    if (m_slash)
                        --m_depth;
                    m_state = Text;
                } else {
                    m_slash = c == '/';
                }
                break;
            case EndTag:
                if (c == '>') {
                    --m_depth;
                    m_state = Text;
                }
                break;
            case Bang: {
                // "<!--" opens a comment, "<![CDATA[" a CDATA section; anything else declares a
                // document type or its parts.
                m_bang[m_run++] = c;
                const std::string_view seen(m_bang, size_t(m_run));
                if (seen == comment || seen == cdata) {
                    m_state = seen == comment ? Comment : CData;
                    m_run = 0;
                } else if (comment.substr(0, seen.size()) != seen && cdata.substr(0, seen.size()) != seen) {
                    return stop(std::max<qint64>(m_tagStart, 0), QStringLiteral("объявление DTD не допускается"));
                }
                break;
            }
            case Comment:
            case CData:
                // Both end with two of their closing character and '>': "-->", "]]>".
                if (c == (m_state == Comment ? '-' : ']'))
                    ++m_run;
                else if (c == '>' && m_run >= 2)
                    m_state = Text;
                else
                    m_run = 0;
                if (m_state == Text)
                    m_run = 0;
                break;
            case Instruction:
                if (c == '>' && m_run == 1)
                    m_state = Text;
                m_run = c == '?' ? 1 : 0;
                break;
            }
        }
        m_line += std::count(data, data + size, '\n');
        // A markup start seen in this block lies before every later block.
        m_tagStart = m_state == Text ? 0 : -1;
        return size;
    }

    QIODevice* m_source;
    Limits m_limits;
    qint64 m_total = 0;
    int m_depth = 0;
    State m_state = Text;
    qint64 m_tagStart = 0; // where the current markup began in the block; -1: in an earlier block
    char m_quote = 0;
    bool m_slash = false;  // a start tag's last character was '/'
    int m_run = 0;         // characters seen after "<!", or of a closing "-->", "]]>", "?>"
    char m_bang[8] = {};
    bool m_first = true;
    bool m_cut = false;
    qint64 m_line = 1;
    QString m_refusal;
    qint64 m_refusalLine = 0;
};

QString ReadError::toString() const
{
    QString where;
    if (!source.isEmpty())
        where = QStringLiteral("Файл \"%1\"").arg(source);
    if (line > 0)
        where += (where.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("строка %1").arg(line);
    return where.isEmpty() ? message : where + QStringLiteral(": ") + message;
}

SafeXmlReader::SafeXmlReader(QIODevice* device, const QString& source, const Limits& limits)
{
    start(device, source, limits);
}

SafeXmlReader::SafeXmlReader(const QByteArray& bytes, const QString& source, const Limits& limits)
    : m_buffer(std::make_unique<QBuffer>())
{
    m_buffer->setData(bytes);
    m_buffer->open(QIODevice::ReadOnly);
    start(m_buffer.get(), source, limits);
}

SafeXmlReader::~SafeXmlReader() = default;

void SafeXmlReader::start(QIODevice* device, const QString& source, const Limits& limits)
{
    m_error.source = source;
    m_guard = std::make_unique<Guard>(device, limits);
    m_xml.setDevice(m_guard.get());
    m_xml.setNamespaceProcessing(false);
}

bool SafeXmlReader::readRoot(QAnyStringView expected)
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (m_xml.name() != expected)
                return fail(QStringLiteral("корневой элемент <%1> вместо <%2>").arg(m_xml.name(), expected.toString()));
            return true;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("текст вне корневого элемента"));
            break;
        case QXmlStreamReader::Invalid:
            return failFromReader();
        default:
            break;
        }
    }
    return m_xml.hasError() ? failFromReader() : fail(QStringLiteral("нет корневого элемента <%1>").arg(expected.toString()));
}

bool SafeXmlReader::readNextChild()
{
    if (hasError())
        return false;
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
            return false;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("лишний текст «%1»").arg(m_xml.text().trimmed().left(40)));
            break;
        case QXmlStreamReader::Invalid:
            return failFromReader();
        default:
            break;
        }
    }
    return m_xml.hasError() ? failFromReader() : fail(QStringLiteral("документ оборван"));
}

bool SafeXmlReader::skipElement()
{
    m_xml.skipCurrentElement();
    return m_xml.hasError() ? failFromReader() : true;
}

bool SafeXmlReader::finish()
{
    if (hasError())
        return false;
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return fail(QStringLiteral("данные после корневого элемента"));
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("данные после корневого элемента"));
            break;
        default:
            break;
        }
    }
    // The document element is whole, so a reader that wants more data is no fault; a cut is.
    if (!m_guard->refusal().isEmpty()
        || (m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError))
        return failFromReader();
    return true;
}

bool SafeXmlReader::readAttributes(const QStringList& names, QStringList* values)
{
    *values = QStringList();
    for (qsizetype i = 0; i < names.size(); ++i)
        values->append(QString());
    const QXmlStreamAttributes attributes = m_xml.attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        const qsizetype index = names.indexOf(attribute.qualifiedName());
        if (index < 0)
            return fail(QStringLiteral("неизвестный атрибут «%1» у <%2>").arg(attribute.qualifiedName(), m_xml.name()));
        (*values)[index] = attribute.value().toString();
        // A document in another encoding may decode to what XML cannot carry, nor be written again.
        if (!Values::isXmlText((*values)[index]))
            return fail(QStringLiteral("недопустимые символы в атрибуте «%1» у <%2>").arg(attribute.qualifiedName(), m_xml.name()));
    }
    return true;
}

bool SafeXmlReader::expectNoAttributes()
{
    if (m_xml.attributes().isEmpty())
        return true;
    return fail(QStringLiteral("у <%1> не бывает атрибутов").arg(m_xml.name()));
}

bool SafeXmlReader::expectEmpty()
{
    const QString element = m_xml.name().toString();
    if (readNextChild())
        return fail(QStringLiteral("<%1> внутри <%2>").arg(m_xml.name(), element));
    return !hasError();
}

bool SafeXmlReader::fail(const QString& message)
{
    return fail(message, m_xml.lineNumber());
}

bool SafeXmlReader::fail(const QString& message, qint64 line)
{
    if (!hasError()) {
        m_error.line = line;
        m_error.message = message;
    }
    if (!m_xml.hasError())
        m_xml.raiseError(message);
    return false;
}

bool SafeXmlReader::failFromReader()
{
    if (!m_guard->refusal().isEmpty())
        return fail(m_guard->refusal(), m_guard->refusalLine());
    if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        return fail(QStringLiteral("документ оборван"));
    const QString what = m_xml.errorString();
    return fail(what.isEmpty() ? QStringLiteral("ошибка XML") : what);
}

} // namespace Xml
