#include "nestingguarddevice.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace CoConfig {

NestingGuardDevice::NestingGuardDevice(QIODevice* source, int maxDepth, QObject* parent)
    : QIODevice(parent), m_source(source), m_maxDepth(maxDepth)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 NestingGuardDevice::bytesAvailable() const
{
    return m_refusal.isEmpty() ? m_source->bytesAvailable() + QIODevice::bytesAvailable() : 0;
}

qint64 NestingGuardDevice::readData(char* data, qint64 maxSize)
{
    if (!m_refusal.isEmpty())
        return -1;
    const qint64 size = m_source->read(data, maxSize);
    if (size <= 0)
        return size;
    if (m_first) {
        m_first = false;
        // A UTF-16 or UTF-32 text has a zero byte in its first two, or starts with a byte-order mark.
        const auto byte = [&](int i) { return i < size ? uchar(data[i]) : 0x20; };
        if (byte(0) == 0 || byte(1) == 0 || (byte(0) == 0xfe && byte(1) == 0xff) || (byte(0) == 0xff && byte(1) == 0xfe)) {
            m_refusal = QStringLiteral("файл не в кодировке UTF-8");
            return -1;
        }
    }
    return scan(data, size) ? size : -1;
}

bool NestingGuardDevice::scan(const char* data, qint64 size)
{
    constexpr std::string_view comment("--");
    constexpr std::string_view cdata("[CDATA[");
    for (qint64 i = 0; i < size; ++i) {
        const char c = data[i];
        switch (m_state) {
        case Text: {
            const void* open = std::memchr(data + i, '<', size_t(size - i));
            if (!open)
                return lineCounted(data, size, true);
            i = static_cast<const char*>(open) - data;
            m_state = Open;
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
                if (++m_depth > m_maxDepth) {
                    m_refusal = QStringLiteral("вложенность элементов глубже %1").arg(m_maxDepth);
                    return lineCounted(data, i, false);
                }
                m_state = StartTag;
                m_quote = 0;
                m_slash = false;
            }
            break;
        case StartTag:
            if (m_quote) {
                const void* end = std::memchr(data + i, m_quote, size_t(size - i));
                if (!end)
                    return lineCounted(data, size, true);
                i = static_cast<const char*>(end) - data;
                m_quote = 0;
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
            // "<!--" opens a comment, "<![CDATA[" a CDATA section, anything else a declaration.
            m_bang[m_run++] = c;
            const std::string_view seen(m_bang, size_t(m_run));
            if (seen == comment || seen == cdata) {
                m_state = seen == comment ? Comment : CData;
                m_run = 0;
            } else if (comment.substr(0, seen.size()) != seen && cdata.substr(0, seen.size()) != seen) {
                m_state = c == '>' ? Text : Declaration;
                m_run = 0;
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
        case Declaration:
            if (c == '>')
                m_state = Text;
            break;
        case Instruction:
            if (c == '>' && m_run == 1)
                m_state = Text;
            m_run = c == '?' ? 1 : 0;
            break;
        }
    }
    return lineCounted(data, size, true);
}

bool NestingGuardDevice::lineCounted(const char* data, qint64 size, bool result)
{
    m_line += std::count(data, data + size, '\n');
    return result;
}

} // namespace CoConfig
