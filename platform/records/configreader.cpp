#include "configreader.h"
#include "configwriter.h"

#include "xmlrecordfields.h"
#include "xmlvalues.h"

#include <QVarLengthArray>
#include <QXmlStreamReader>

#include <pugixml.hpp>

#include <cstring>
#include <optional>
#include <string_view>

namespace Xml {

namespace {

// The codec reads from two sources with one walk over the member lists: a QXmlStreamReader
// (anything from outside, with errors that name the member) and a parsed document of the store's
// own files (fast; any surprise only fails, and the caller reads the file again the other way).

template <typename Attributes>
const auto* findAttribute(const Attributes& attributes, QStringView name, QStringView suffix = {})
{
    for (const auto& attribute : attributes) {
        const QStringView qualified = attribute.qualifiedName();
        if (qualified.size() == name.size() + suffix.size() && qualified.startsWith(name) && qualified.endsWith(suffix))
            return &attribute;
    }
    return static_cast<decltype(&*attributes.begin())>(nullptr);
}

// UTF-8 text of a parsed document as UTF-16 for the value parsers: short ASCII (names, numbers)
// on the stack, anything else converted. Not to be copied: the view may point into it.
class Utf8Text
{
public:
    explicit Utf8Text(const char* text)
    {
        qsizetype size = 0;
        while (size < qsizetype(std::size(m_buffer)) && text[size] && uchar(text[size]) < 0x80) {
            m_buffer[size] = char16_t(uchar(text[size]));
            ++size;
        }
        if (text[size] == 0) {
            m_view = QStringView(m_buffer, size);
        } else {
            m_string = QString::fromUtf8(text);
            m_view = m_string;
        }
    }
    Utf8Text(const Utf8Text&) = delete;
    Utf8Text& operator=(const Utf8Text&) = delete;

    operator QStringView() const { return m_view; }
    QString toString() const { return m_string.isNull() ? m_view.toString() : m_string; }

private:
    char16_t m_buffer[64];
    QString m_string;
    QStringView m_view;
};

// An attribute of a parsed document: its name and value as the document holds them.
struct NodeAttribute
{
    const char* name;
    const char* utf8;
    Utf8Text qualifiedName() const { return Utf8Text(name); }
    Utf8Text value() const { return Utf8Text(utf8); }
    // Text members take the whole value, converted once.
    QString text() const { return QString::fromUtf8(utf8); }
};
// Names of members are ASCII: compared with the document's UTF-8 without converting it.
bool hasName(const char* qualified, QStringView name, QStringView suffix)
{
    qsizetype i = 0;
    for (; i < name.size(); ++i) {
        if (qualified[i] != char(name[i].unicode()))
            return false;
    }
    for (qsizetype j = 0; j < suffix.size(); ++j) {
        if (qualified[i + j] != char(suffix[j].unicode()))
            return false;
    }
    return qualified[i + suffix.size()] == 0;
}

// The attributes of an element of a parsed document. The writer writes them in the members'
// order, in which they are read: each is looked for from where the one before it was found.
class NodeAttributes
{
public:
    void append(const pugi::xml_attribute& attribute) { m_items.append({attribute.name(), attribute.value()}); }
    qsizetype size() const { return m_items.size(); }
    const NodeAttribute* begin() const { return m_items.cbegin(); }
    const NodeAttribute* end() const { return m_items.cend(); }

    const NodeAttribute* find(QStringView name, QStringView suffix) const
    {
        const qsizetype count = m_items.size();
        for (qsizetype n = 0, i = m_next; n < count; ++n, i = i + 1 == count ? 0 : i + 1) {
            if (hasName(m_items[i].name, name, suffix)) {
                m_next = i + 1 == count ? 0 : i + 1;
                return &m_items[i];
            }
        }
        return nullptr;
    }

private:
    QVarLengthArray<NodeAttribute, 24> m_items;
    mutable qsizetype m_next = 0;
};

const NodeAttribute* findAttribute(const NodeAttributes& attributes, QStringView name, QStringView suffix = {})
{
    return attributes.find(name, suffix);
}

QString textOf(const QXmlStreamAttribute& attribute)
{
    return attribute.value().toString();
}

QString textOf(const NodeAttribute& attribute)
{
    return attribute.text();
}

// The stream: the reader stands on the record's start element and ends on its end element.
class StreamSource
{
public:
    explicit StreamSource(QXmlStreamReader& reader) : m_reader(reader) {}

    bool onStartElement() const { return m_reader.tokenType() == QXmlStreamReader::StartElement; }
    QXmlStreamAttributes attributes() const { return m_reader.attributes(); }
    bool nextChild() { return m_reader.readNextStartElement(); }
    QStringView childName() const { return m_reader.name(); }
    QString childText() { return m_reader.readElementText(QXmlStreamReader::SkipChildElements); }

    // Calls function with the attributes of each "item" child of the current child; other
    // children are skipped. Stops when function returns false.
    template <typename Function>
    void forEachItem(Function function)
    {
        while (m_reader.readNextStartElement()) {
            if (m_reader.name() == u"item") {
                if (!function(m_reader.attributes()))
                    return;
            }
            m_reader.skipCurrentElement();
        }
    }

    template <typename T>
    void readChildRecord(T& value);

    void keepUnknownChild(QStringList& elements) { elements.append(UnknownParts::captureElement(m_reader)); }

    bool hasError() const { return m_reader.hasError(); }
    void badValue(QLatin1StringView element, QStringView name, QStringView value)
    {
        Values::raiseBadValue(m_reader, element, name, value);
    }
    void missing(QLatin1StringView element, QStringView list, QStringView name)
    {
        Values::raiseMissing(m_reader, element, list, name);
    }
    void notOnElement(QLatin1StringView element) { Values::raiseNotOnElement(m_reader, element); }
    void duplicateAttribute() {} // the reader has refused it already

private:
    QXmlStreamReader& m_reader;
};

// A parsed document: a node and its children. Fails on what it does not take: an element this
// version does not know, a value out of range.
class NodeSource
{
public:
    explicit NodeSource(const pugi::xml_node& node) : m_node(node) {}

    bool onStartElement() const { return m_node.type() == pugi::node_element; }
    NodeAttributes attributes() const { return attributesOf(m_node); }

    bool nextChild()
    {
        m_child = m_child ? m_child.next_sibling() : m_node.first_child();
        while (m_child && m_child.type() != pugi::node_element)
            m_child = m_child.next_sibling();
        if (m_child)
            m_childName.emplace(m_child.name());
        return bool(m_child) && !m_failed;
    }
    QStringView childName() const { return *m_childName; }
    QString childText() const
    {
        // Mostly one piece of text: converted at once.
        const pugi::xml_node first = m_child.first_child();
        if (!first)
            return QString();
        if (first.type() == pugi::node_pcdata && !first.next_sibling())
            return QString::fromUtf8(first.value());
        QByteArray text;
        for (pugi::xml_node part = first; part; part = part.next_sibling()) {
            if (part.type() == pugi::node_pcdata)
                text.append(part.value());
        }
        return QString::fromUtf8(text);
    }

    template <typename Function>
    void forEachItem(Function function)
    {
        for (pugi::xml_node item = m_child.child("item"); item; item = item.next_sibling("item")) {
            if (!function(attributesOf(item)))
                return;
        }
    }

    template <typename T>
    void readChildRecord(T& value);

    void keepUnknownChild(QStringList&) { m_failed = true; }

    bool hasError() const { return m_failed; }
    void badValue(QLatin1StringView, QStringView, QStringView) { m_failed = true; }
    void missing(QLatin1StringView, QStringView, QStringView) { m_failed = true; }
    void notOnElement(QLatin1StringView) { m_failed = true; }
    void duplicateAttribute() { m_failed = true; }

private:
    static NodeAttributes attributesOf(const pugi::xml_node& node)
    {
        NodeAttributes attributes;
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
            attributes.append(a);
        return attributes;
    }

    pugi::xml_node m_node;
    pugi::xml_node m_child;
    std::optional<Utf8Text> m_childName; // on the stack for the short ASCII names of members
    bool m_failed = false;
};

// The source and the name of the record type being read, for error messages.
template <typename Source>
struct Context
{
    Source& source;
    QLatin1StringView element;
    qsizetype claimed = 0; // attributes of the record's element that members have read
};

// Scalar values. False means the text is no valid value of the member's type.

bool parse(QStringView text, int minimum, int& value)
{
    return Values::parseInt(text, minimum, value);
}

bool parse(QStringView text, int, unsigned int& value)
{
    return Values::parseUInt(text, value);
}

bool parse(QStringView text, int, bool& value)
{
    return Values::parseBool(text, value);
}

bool parse(QStringView text, int, float& value)
{
    return Values::parseFloat(text, value);
}

bool parse(QStringView text, int, double& value)
{
    return Values::parseDouble(text, value);
}

bool parse(QStringView text, int, QByteArray& value)
{
    auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    value = std::move(decoded.decoded);
    return true;
}

template <int N>
bool parse(QStringView text, int, CoConfig::ComponentUid<N>& value)
{
    return Values::parseInt(text, -1, value.value);
}

// Numbers, flags and uids of a parsed document are read from its UTF-8 as it stands.
bool parse(std::string_view text, int minimum, int& value)
{
    return Values::parseInt(text, minimum, value);
}

bool parse(std::string_view text, int, unsigned int& value)
{
    return Values::parseUInt(text, value);
}

bool parse(std::string_view text, int, bool& value)
{
    return Values::parseBool(text, value);
}

template <int N>
bool parse(std::string_view text, int, CoConfig::ComponentUid<N>& value)
{
    return Values::parseInt(text, -1, value.value);
}

template <typename T>
constexpr bool readFromUtf8 = std::is_same_v<T, int> || std::is_same_v<T, unsigned int> || std::is_same_v<T, bool>;
template <int N>
constexpr bool readFromUtf8<CoConfig::ComponentUid<N>> = true;

template <typename T>
bool parseValue(const QXmlStreamAttribute& attribute, int minimum, T& value)
{
    return parse(attribute.value(), minimum, value);
}

// A value's UTF-8 up to its end, or up to a length no number or flag has.
std::string_view shortValue(const char* text)
{
    size_t size = 0;
    while (size < 200 && text[size])
        ++size;
    return std::string_view(text, size);
}

template <typename T>
bool parseValue(const NodeAttribute& attribute, int minimum, T& value)
{
    if constexpr (readFromUtf8<T>)
        return parse(shortValue(attribute.utf8), minimum, value);
    else
        return parse(attribute.value(), minimum, value);
}

// Reads one attribute into value; an absent attribute leaves it as it is. False after an error.
template <typename Source, typename Attributes, typename T>
bool readAttribute(Context<Source>& context, const Attributes& attributes, QStringView name, int minimum, T& value)
{
    const auto* attribute = findAttribute(attributes, name);
    if (!attribute)
        return true;
    ++context.claimed;
    if (parseValue(*attribute, minimum, value))
        return true;
    context.source.badValue(context.element, name, attribute->value());
    return false;
}

enum class TextRead { Absent, Done, Failed };

// Text is stored as is, or as base64 of UTF-16 under the name with "B64" appended.
template <typename Source, typename Attributes>
TextRead readText(Context<Source>& context, const Attributes& attributes, QStringView name, QString& value)
{
    if (const auto* attribute = findAttribute(attributes, name)) {
        ++context.claimed;
        value = textOf(*attribute);
        return TextRead::Done;
    }
    if (const auto* encoded = findAttribute(attributes, name, u"B64")) {
        ++context.claimed;
        if (Values::decodeUtf16(encoded->value(), value))
            return TextRead::Done;
        context.source.badValue(context.element, encoded->qualifiedName(), encoded->value());
        return TextRead::Failed;
    }
    return TextRead::Absent;
}

// Items of a list element carry every attribute; one missing is an error.
template <typename Source, typename Attributes>
bool readItemText(Context<Source>& context, const Attributes& attributes, QStringView list, QStringView name,
                  QString& value)
{
    const TextRead result = readText(context, attributes, name, value);
    if (result == TextRead::Absent)
        context.source.missing(context.element, list, name);
    return result == TextRead::Done;
}

template <typename Source, typename Attributes, typename R, typename M>
bool readMember(Context<Source>& context, const Attributes& attributes, const Fields::Field<R, M>& f, M& value)
{
    return readAttribute(context, attributes, f.name, f.minimum, value);
}

template <typename Source, typename Attributes, typename R>
bool readMember(Context<Source>& context, const Attributes& attributes, const Fields::Field<R, QString>& f,
                QString& value)
{
    return readText(context, attributes, f.name, value) != TextRead::Failed;
}

template <typename Source, typename Attributes, typename R>
bool readMember(Context<Source>& context, const Attributes& attributes,
                const Fields::Field<R, CoConfig::ConfigUid>& f, CoConfig::ConfigUid& value)
{
    CoConfig::ConfigUid read = value;
    if (!readAttribute(context, attributes, f.name, -1, read.value)
        || !readAttribute(context, attributes, f.typeName, -1, read.type))
        return false;
    value = read;
    return true;
}

// Child elements. Each is called with the source on the child and leaves it past the child's
// end (or in error).

// Splits text on XML white space.
template <typename Function>
bool forEachToken(QStringView text, Function function)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    auto isSpace = [](QChar c) { return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r'; };
    while (i < size) {
        while (i < size && isSpace(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < size && !isSpace(text[i]))
            ++i;
        if (i > start && !function(text.mid(start, i - start)))
            return false;
    }
    return true;
}

template <typename Source, typename R>
void readChild(Context<Source>& context, const Fields::Field<R, QList<int>>& f, QList<int>& values)
{
    const QString text = context.source.childText();
    if (context.source.hasError())
        return;
    QList<int> read;
    forEachToken(text, [&](QStringView token) {
        int value = 0;
        if (!Values::parseInt(token, f.minimum, value)) {
            context.source.badValue(context.element, f.name, token);
            return false;
        }
        read.append(value);
        return true;
    });
    if (!context.source.hasError())
        values = std::move(read);
}

template <typename Source, typename R>
void readFlags(Context<Source>& context, const Fields::FlagsField<R>& f, R& record)
{
    const QString text = context.source.childText();
    if (context.source.hasError())
        return;
    CoConfig::ComputerFlags flags;
    QSet<QString> unknown;
    forEachToken(text, [&](QStringView token) {
        CoConfig::Computers::addXmlName(token, flags, unknown);
        return true;
    });
    record.*f.member = std::move(flags);
    record.*f.unknown = std::move(unknown);
}

template <typename Source, typename R>
void readChild(Context<Source>& context, const Fields::Field<R, QStringList>& f, QStringList& values)
{
    QStringList read;
    context.source.forEachItem([&](const auto& attributes) {
        QString value;
        if (!readItemText(context, attributes, f.name, u"value", value))
            return false;
        read.append(value);
        return true;
    });
    if (!context.source.hasError())
        values = std::move(read);
}

template <typename Source, typename R>
void readChild(Context<Source>& context, const Fields::Field<R, CoConfig::Registrations>& f,
               CoConfig::Registrations& registrations)
{
    QList<std::pair<QString, int>> read; // as the file lists them, sorted once at the end
    context.source.forEachItem([&](const auto& attributes) {
        QString login;
        if (!readItemText(context, attributes, f.name, u"login", login))
            return false;
        if (!findAttribute(attributes, u"operator")) {
            context.source.missing(context.element, f.name, u"operator");
            return false;
        }
        int operatorUid = -1;
        if (!readAttribute(context, attributes, u"operator", -1, operatorUid))
            return false;
        read.append({std::move(login), operatorUid});
        return true;
    });
    if (!context.source.hasError())
        registrations = CoConfig::Registrations::fromItems(std::move(read));
}

template <typename Source, typename R, typename M, typename = std::enable_if_t<Fields::HasFields<M>::value>>
void readChild(Context<Source>& context, const Fields::Field<R, M>&, M& value)
{
    context.source.readChildRecord(value);
}

template <typename Source, typename F, typename R>
void readChildOf(Context<Source>& context, const F& field, R& record)
{
    readChild(context, field, record.*field.member);
}

template <typename Source, typename R>
void readChildOf(Context<Source>& context, const Fields::FlagsField<R>& field, R& record)
{
    readFlags(context, field, record);
}

// Whether a field reads the attribute or child element of this name.
template <typename R, typename M>
bool claims(const Fields::Field<R, M>& f, QStringView name)
{
    if (name == f.name)
        return true;
    if constexpr (std::is_same_v<M, QString>)
        return name.size() == f.name.size() + 3 && name.startsWith(f.name) && name.endsWith(u"B64");
    else if constexpr (std::is_same_v<M, CoConfig::ConfigUid>)
        return name == f.typeName;
    return false;
}

template <typename R>
bool claims(const Fields::FlagsField<R>& f, QStringView name)
{
    return name == f.name;
}

template <typename Members>
bool claimedBy(const Members& members, QStringView name)
{
    return std::apply([&](const auto&... f) { return (claims(f, name) || ...); }, members);
}

// Fills a copy of the record and hands it over only when the whole element was read well.
// Attributes and child elements that no member reads are kept in the record's unknown parts.
template <typename Source, typename T>
void readRecord(Source& source, T& record)
{
    if (source.hasError())
        return;
    const QLatin1StringView element(elementName<T>());
    if (!source.onStartElement()) {
        source.notOnElement(element);
        return;
    }
    Context<Source> context{source, element};
    T read = record;
    const auto members = Fields::fields(Fields::Tag<T>{});

    const auto& attributes = source.attributes();
    bool ok = !source.hasError();
    std::apply(
        [&](const auto&... f) {
            auto attribute = [&](const auto& field) {
                using M = std::decay_t<decltype(read.*field.member)>;
                if constexpr (!Fields::isChild<M>)
                    ok = ok && readMember(context, attributes, field, read.*field.member);
            };
            (attribute(f), ...);
        },
        members);
    if (!ok)
        return;
    // Members read distinct attributes: when they read all, there is nothing else to keep, and no
    // name can be there twice.
    QList<UnknownParts::Attribute> unknownAttributes;
    if (context.claimed < attributes.size()) {
        QStringList names;
        for (const auto& attribute : attributes) {
            const QString name = attribute.qualifiedName().toString();
            if (names.contains(name)) {
                source.duplicateAttribute();
                return;
            }
            names.append(name);
            if (!claimedBy(members, name))
                unknownAttributes.append({name, textOf(attribute)});
        }
    }

    QStringList unknownElements;
    while (source.nextChild()) {
        bool known = false;
        std::apply(
            [&](const auto&... f) {
                auto child = [&](const auto& field) {
                    using M = std::decay_t<decltype(read.*field.member)>;
                    if constexpr (Fields::isChild<M>) {
                        if (!known && source.childName() == field.name) {
                            known = true;
                            readChildOf(context, field, read);
                        }
                    }
                };
                (child(f), ...);
            },
            members);
        if (!known)
            source.keepUnknownChild(unknownElements);
        if (source.hasError())
            return;
    }
    if (source.hasError())
        return;
    read.unknown = UnknownParts(std::move(unknownAttributes), std::move(unknownElements));
    record = std::move(read);
}

template <typename T>
void StreamSource::readChildRecord(T& value)
{
    readRecord(*this, value);
}

template <typename T>
void NodeSource::readChildRecord(T& value)
{
    NodeSource child(m_child);
    readRecord(child, value);
    m_failed = m_failed || child.hasError();
}

} // namespace

#define ORVANE_DEFINE_READ(Type, Name)                                                      \
    void ConfigReader::read(QXmlStreamReader& reader, Type& record)                      \
    {                                                                                       \
        StreamSource source(reader);                                                        \
        readRecord(source, record);                                                         \
    }                                                                                       \
    bool ConfigReader::read(const pugi::xml_node& node, Type& record)                    \
    {                                                                                       \
        NodeSource source(node);                                                            \
        readRecord(source, record);                                                         \
        return !source.hasError();                                                          \
    }
ORVANE_XML_RECORD_TYPES(ORVANE_DEFINE_READ)
#undef ORVANE_DEFINE_READ

} // namespace Xml
