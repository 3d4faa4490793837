#include "fastdocument.h"

#include <pugixml.hpp>

#include <cstring>
#include <string>

namespace Xml {

namespace {

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// One UTF-8 sequence from its lead byte at p; the length taken, 0 when it is not a character XML
// may carry in its shortest form.
int utf8Sequence(const uchar* p, const uchar* end)
{
    const uchar lead = p[0];
    int length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    return c >= least && isXmlChar(c) ? length : 0;
}

// A reference after '&': one of XML's five entities or a character XML may carry; its length
// up to and including ';', 0 otherwise.
int reference(const char* p, const char* end)
{
    const char* semicolon = static_cast<const char*>(std::memchr(p, ';', size_t(std::min<qsizetype>(end - p, 12))));
    if (!semicolon)
        return 0;
    const std::string_view name(p + 1, size_t(semicolon - p - 1));
    if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos")
        return int(semicolon - p + 1);
    if (name.size() < 2 || name[0] != '#')
        return 0;
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty())
        return 0;
    char32_t c = 0;
    for (char d : digits) {
        int value = -1;
        if (d >= '0' && d <= '9')
            value = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            value = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            value = d - 'A' + 10;
        if (value < 0 || c > 0x10FFFF)
            return 0;
        c = c * (hex ? 16 : 10) + char32_t(value);
    }
    return isXmlChar(c) ? int(semicolon - p + 1) : 0;
}

constexpr bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

// Characters of names, white space and '=' inside tags: passed over without a look at the state.
struct TagChars
{
    bool plain[256] = {};
    constexpr TagChars()
    {
        for (int c = 'a'; c <= 'z'; ++c)
            plain[c] = true;
        for (int c = 'A'; c <= 'Z'; ++c)
            plain[c] = true;
        for (int c = '0'; c <= '9'; ++c)
            plain[c] = true;
        for (const char c : {'_', ':', '.', '-', '=', ' ', '\n', '\t', '\r'})
            plain[uchar(c)] = true;
    }
};
constexpr TagChars InTag;

// Characters that end the quick run over a value: quotes, markup, references, controls other
// than white space and the lead bytes of UTF-8 sequences.
struct ValueStops
{
    bool stop[256] = {};
    constexpr ValueStops()
    {
        for (int c = 0; c < 256; ++c)
            stop[c] = (c < 0x20 && !isSpace(char(c))) || c >= 0x80 || c == '"' || c == '\'' || c == '<' || c == '&';
    }
};
constexpr ValueStops InValue;

// The quick way over a value from p, its UTF-8 sequences checked as met: up to its closing quote
// or what needs a closer look (markup, a reference, a control character, the end); nullptr at a
// sequence XML does not take.
const char* valueRun(const char* p, const char* end, char quote)
{
    while (p < end) {
        const uchar u = uchar(*p);
        if (!InValue.stop[u] || ((u == '"' || u == '\'') && char(u) != quote)) {
            ++p;
            continue;
        }
        if (u < 0x80)
            return p;
        // Two bytes from C2..DF on are always a character XML carries (Cyrillic).
        if (u >= 0xC2 && u <= 0xDF && p + 1 < end && (uchar(p[1]) & 0xC0) == 0x80) {
            p += 2;
            continue;
        }
        const int length = utf8Sequence(reinterpret_cast<const uchar*>(p), reinterpret_cast<const uchar*>(end));
        if (length == 0)
            return nullptr;
        p += length;
    }
    return p;
}

// Where the root's parts lie, found while the form is checked.
struct RootParts
{
    qsizetype sliceBytes = 0;
    qsizetype rootOpen = -1; // the '<' of its start tag
    qsizetype rootTagEnd = -1; // past that tag's '>'
    bool closesItself = false;
    qsizetype contentEnd = -1; // the '<' of its end tag
    std::vector<qsizetype> cuts; // past the '>' of a child, about sliceBytes apart; the last past the last child
    qsizetype lastCut = 0;
    qsizetype lastChildEnd = 0;

    void childEnded(qsizetype at)
    {
        lastChildEnd = at;
        if (at - lastCut >= sliceBytes) {
            cuts.push_back(at);
            lastCut = at;
        }
    }
};

bool checkForm(const char* const begin, qsizetype size, const SafeXmlReader::Limits& limits, RootParts& parts)
{
    if (size > limits.maxBytes)
        return false;
    const char* p = begin;
    const char* const end = p + size;
    for (const char* declaration : {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<?xml version=\"1.0\"?>"}) {
        const size_t length = std::strlen(declaration);
        if (size_t(end - p) >= length && std::memcmp(p, declaration, length) == 0) {
            p += length;
            break;
        }
    }
    enum State { Text, StartTag, Value, AfterValue, EndTag } state = Text;
    char quote = 0;
    int depth = 0;
    bool elementSeen = false;
    bool slash = false; // a start tag's last character was '/'
    // Past a reference at p; false when it is none XML takes.
    const auto skipReference = [&p, end] {
        const int length = reference(p, end);
        p += length;
        return length > 0;
    };
    while (p < end) {
        const char c = *p;
        if (uchar(c) >= 0x80) {
            const int length = utf8Sequence(reinterpret_cast<const uchar*>(p), reinterpret_cast<const uchar*>(end));
            if (length == 0)
                return false;
            p += length;
            slash = false;
            if (state == AfterValue)
                return false;
            if (state == Text && depth <= 1)
                return false; // text outside the root or beside its children
            continue;
        }
        if (uchar(c) < 0x20 && !isSpace(c))
            return false;
        switch (state) {
        case Text:
            if (depth > 0 && isSpace(c)) {
                while (++p < end && isSpace(*p)) {
                }
                continue;
            }
            if (c == '<') {
                if (p + 1 >= end)
                    return false;
                if (p[1] == '/') {
                    if (depth == 1)
                        parts.contentEnd = p - begin;
                    state = EndTag;
                    ++p;
                } else if (p[1] == '!' || p[1] == '?') {
                    return false;
                } else {
                    if (++depth > limits.maxDepth || (depth == 1 && elementSeen))
                        return false;
                    if (depth == 1)
                        parts.rootOpen = p - begin;
                    elementSeen = true;
                    state = StartTag;
                    slash = false;
                }
            } else if (c == '&') {
                if (depth <= 1 || !skipReference())
                    return false;
                continue;
            } else if (c == ']' && end - p >= 3 && p[1] == ']' && p[2] == '>') {
                return false;
            } else if (depth <= 1 && !isSpace(c)) {
                return false;
            }
            break;
        case AfterValue:
            if (!isSpace(c) && c != '/' && c != '>')
                return false;
            state = StartTag;
            [[fallthrough]];
        case StartTag:
            if (InTag.plain[uchar(c)] || c == '"' || c == '\'') {
                // The run of a tag's names, white space and plain values, in one go.
                for (;;) {
                    if (p < end && InTag.plain[uchar(*p)]) {
                        while (++p < end && InTag.plain[uchar(*p)]) {
                        }
                        slash = false;
                    }
                    if (p >= end || (*p != '"' && *p != '\''))
                        break;
                    quote = *p;
                    slash = false;
                    const char* const stop = valueRun(p + 1, end, quote);
                    if (!stop)
                        return false;
                    if (stop == end || *stop != quote) {
                        p = stop;
                        state = Value;
                        break;
                    }
                    p = stop + 1;
                    if (p == end || !isSpace(*p)) {
                        state = AfterValue;
                        break;
                    }
                }
                continue;
            }
            if (c == '>') {
                if (slash)
                    --depth;
                if (depth == 1 && slash) {
                    parts.childEnded(p + 1 - begin);
                } else if (depth <= 1 && parts.rootTagEnd < 0) {
                    parts.rootTagEnd = p + 1 - begin;
                    parts.closesItself = depth == 0;
                }
                state = Text;
            } else if (c == '<' || c == '&') {
                return false;
            }
            slash = c == '/';
            break;
        case Value:
            if (c == quote) {
                state = AfterValue;
            } else if (c == '<') {
                return false;
            } else if (c == '&') {
                if (!skipReference())
                    return false;
                continue;
            } else {
                p = valueRun(p + 1, end, quote);
                if (!p)
                    return false;
                continue;
            }
            break;
        case EndTag:
            if (InTag.plain[uchar(c)]) {
                while (++p < end && InTag.plain[uchar(*p)]) {
                }
                continue;
            }
            if (c == '>') {
                if (--depth == 1)
                    parts.childEnded(p + 1 - begin);
                state = Text;
            } else if (c == '<' || c == '&' || c == '"' || c == '\'') {
                return false;
            }
            break;
        }
        ++p;
    }
    if (state != Text || depth != 0 || !elementSeen)
        return false;
    if (parts.lastChildEnd > parts.lastCut)
        parts.cuts.push_back(parts.lastChildEnd);
    return true;
}

} // namespace

namespace FastDocument {

bool readChildren(QByteArray& bytes, const SafeXmlReader::Limits& limits, std::string_view rootName,
                  const std::function<bool(const pugi::xml_node&)>& take, qsizetype sliceBytes)
{
    // Parsed in place: never into bytes another holds.
    return readChildren(bytes.data(), bytes.size(), limits, rootName, take, sliceBytes);
}

bool readChildren(char* const data, qsizetype size, const SafeXmlReader::Limits& limits, std::string_view rootName,
                  const std::function<bool(const pugi::xml_node&)>& take, qsizetype sliceBytes)
{
    RootParts parts;
    parts.sliceBytes = std::max<qsizetype>(1, sliceBytes);
    if (!checkForm(data, size, limits, parts))
        return false;
    // The root's start tag alone, closed, for pugixml to check its name and attributes.
    std::string tag(data + parts.rootOpen, size_t(parts.rootTagEnd - parts.rootOpen));
    if (!parts.closesItself)
        tag.insert(tag.size() - 1, 1, '/');
    pugi::xml_document document;
    if (!document.load_buffer_inplace(tag.data(), tag.size(), pugi::parse_default, pugi::encoding_utf8))
        return false;
    const pugi::xml_node root = document.first_child();
    if (!root || root.type() != pugi::node_element || root.next_sibling() || std::string_view(root.name()) != rootName)
        return false;
    if (parts.closesItself)
        return true;
    // Its end tag: "</", the name, white space, '>'.
    const std::string_view end(data + parts.contentEnd, size_t(size - parts.contentEnd));
    size_t at = 2 + rootName.size();
    if (end.substr(2, rootName.size()) != rootName)
        return false;
    while (at < end.size() && isSpace(end[at]))
        ++at;
    if (at >= end.size() || end[at] != '>')
        return false;
    qsizetype from = parts.rootTagEnd;
    for (const qsizetype cut : parts.cuts) {
        if (!document.load_buffer_inplace(data + from, size_t(cut - from), pugi::parse_default | pugi::parse_fragment,
                                          pugi::encoding_utf8))
            return false;
        for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
            if (!take(child))
                return false;
        }
        from = cut;
    }
    return true;
}

} // namespace FastDocument

} // namespace Xml
