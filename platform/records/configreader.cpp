#include "configreader.h"
#include "configwriter.h"

#include "xmlrecordfields.h"
#include "xmlvalues.h"

#include <QXmlStreamReader>

namespace Xml {

namespace {

// The reader and the name of the record type being read, for error messages.
struct Context
{
    QXmlStreamReader& reader;
    QLatin1StringView element;
    qsizetype claimed = 0; // attributes of the record's element that members have read
};

const QXmlStreamAttribute* findAttribute(const QXmlStreamAttributes& attributes, QStringView name,
                                         QStringView suffix = {})
{
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView qualified = attribute.qualifiedName();
        if (qualified.size() == name.size() + suffix.size() && qualified.startsWith(name) && qualified.endsWith(suffix))
            return &attribute;
    }
    return nullptr;
}

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

// Reads one attribute into value; an absent attribute leaves it as it is. False after an error.
template <typename T>
bool readAttribute(Context& context, const QXmlStreamAttributes& attributes, QStringView name, int minimum, T& value)
{
    const QXmlStreamAttribute* attribute = findAttribute(attributes, name);
    if (!attribute)
        return true;
    ++context.claimed;
    if (parse(attribute->value(), minimum, value))
        return true;
    Values::raiseBadValue(context.reader, context.element, name, attribute->value());
    return false;
}

enum class TextRead { Absent, Done, Failed };

// Text is stored as is, or as base64 of UTF-16 under the name with "B64" appended.
TextRead readText(Context& context, const QXmlStreamAttributes& attributes, QStringView name, QString& value)
{
    if (const QXmlStreamAttribute* attribute = findAttribute(attributes, name)) {
        ++context.claimed;
        value = attribute->value().toString();
        return TextRead::Done;
    }
    if (const QXmlStreamAttribute* encoded = findAttribute(attributes, name, u"B64")) {
        ++context.claimed;
        if (Values::decodeUtf16(encoded->value(), value))
            return TextRead::Done;
        Values::raiseBadValue(context.reader, context.element, encoded->qualifiedName(), encoded->value());
        return TextRead::Failed;
    }
    return TextRead::Absent;
}

// Items of a list element carry every attribute; one missing is an error.
bool readItemText(Context& context, const QXmlStreamAttributes& attributes, QStringView list, QStringView name,
                  QString& value)
{
    const TextRead result = readText(context, attributes, name, value);
    if (result == TextRead::Absent)
        Values::raiseMissing(context.reader, context.element, list, name);
    return result == TextRead::Done;
}

template <typename R, typename M>
bool readMember(Context& context, const QXmlStreamAttributes& attributes, const Fields::Field<R, M>& f, M& value)
{
    return readAttribute(context, attributes, f.name, f.minimum, value);
}

template <typename R>
bool readMember(Context& context, const QXmlStreamAttributes& attributes, const Fields::Field<R, QString>& f,
                QString& value)
{
    return readText(context, attributes, f.name, value) != TextRead::Failed;
}

template <typename R>
bool readMember(Context& context, const QXmlStreamAttributes& attributes,
                const Fields::Field<R, CoConfig::ConfigUid>& f, CoConfig::ConfigUid& value)
{
    CoConfig::ConfigUid read = value;
    if (!readAttribute(context, attributes, f.name, -1, read.value)
        || !readAttribute(context, attributes, f.typeName, -1, read.type))
        return false;
    value = read;
    return true;
}

// Child elements. Each is called with the reader on the child's start element and leaves it on
// the child's end element (or in error).

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

template <typename R>
void readChild(Context& context, const Fields::Field<R, QList<int>>& f, QList<int>& values)
{
    const QString text = context.reader.readElementText(QXmlStreamReader::SkipChildElements);
    if (context.reader.hasError())
        return;
    QList<int> read;
    forEachToken(text, [&](QStringView token) {
        int value = 0;
        if (!Values::parseInt(token, f.minimum, value)) {
            Values::raiseBadValue(context.reader, context.element, f.name, token);
            return false;
        }
        read.append(value);
        return true;
    });
    if (!context.reader.hasError())
        values = std::move(read);
}

template <typename R>
void readFlags(Context& context, const Fields::FlagsField<R>& f, R& record)
{
    const QString text = context.reader.readElementText(QXmlStreamReader::SkipChildElements);
    if (context.reader.hasError())
        return;
    QStringList tokens;
    forEachToken(text, [&](QStringView token) {
        tokens.append(token.toString());
        return true;
    });
    CoConfig::Computers::fromXmlNames(tokens, record.*f.member, record.*f.unknown);
}

// Walks the "item" children of a list element; other children are skipped.
template <typename Function>
void forEachItem(QXmlStreamReader& reader, Function function)
{
    while (reader.readNextStartElement()) {
        if (reader.name() == u"item") {
            if (!function(reader.attributes()))
                return;
        }
        reader.skipCurrentElement();
    }
}

template <typename R>
void readChild(Context& context, const Fields::Field<R, QStringList>& f, QStringList& values)
{
    QStringList read;
    forEachItem(context.reader, [&](const QXmlStreamAttributes& attributes) {
        QString value;
        if (!readItemText(context, attributes, f.name, u"value", value))
            return false;
        read.append(value);
        return true;
    });
    if (!context.reader.hasError())
        values = std::move(read);
}

template <typename R>
void readChild(Context& context, const Fields::Field<R, QHash<QString, int>>& f, QHash<QString, int>& registrations)
{
    QHash<QString, int> read;
    forEachItem(context.reader, [&](const QXmlStreamAttributes& attributes) {
        QString login;
        if (!readItemText(context, attributes, f.name, u"login", login))
            return false;
        if (!findAttribute(attributes, u"operator")) {
            Values::raiseMissing(context.reader, context.element, f.name, u"operator");
            return false;
        }
        int operatorUid = -1;
        if (!readAttribute(context, attributes, u"operator", -1, operatorUid))
            return false;
        read.insert(login, operatorUid);
        return true;
    });
    if (!context.reader.hasError())
        registrations = std::move(read);
}

template <typename T>
void readRecord(QXmlStreamReader& reader, T& record);

template <typename R, typename M, typename = std::enable_if_t<Fields::HasFields<M>::value>>
void readChild(Context& context, const Fields::Field<R, M>&, M& value)
{
    readRecord(context.reader, value);
}

template <typename F, typename R>
void readChildOf(Context& context, const F& field, R& record)
{
    readChild(context, field, record.*field.member);
}

template <typename R>
void readChildOf(Context& context, const Fields::FlagsField<R>& field, R& record)
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
template <typename T>
void readRecord(QXmlStreamReader& reader, T& record)
{
    if (reader.hasError())
        return;
    if (reader.tokenType() != QXmlStreamReader::StartElement) {
        Values::raiseNotOnElement(reader, QLatin1StringView(elementName<T>()));
        return;
    }
    const QLatin1StringView element(elementName<T>());
    Context context{reader, element};
    T read = record;
    const auto members = Fields::fields(Fields::Tag<T>{});

    const QXmlStreamAttributes attributes = reader.attributes();
    bool ok = true;
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
    QList<UnknownParts::Attribute> unknownAttributes;
    for (qsizetype i = 0; context.claimed < attributes.size() && i < attributes.size(); ++i) {
        const QXmlStreamAttribute& attribute = attributes.at(i);
        if (!claimedBy(members, attribute.qualifiedName()))
            unknownAttributes.append({attribute.qualifiedName().toString(), attribute.value().toString()});
    }

    QStringList unknownElements;
    while (reader.readNextStartElement()) {
        bool known = false;
        std::apply(
            [&](const auto&... f) {
                auto child = [&](const auto& field) {
                    using M = std::decay_t<decltype(read.*field.member)>;
                    if constexpr (Fields::isChild<M>) {
                        if (!known && reader.name() == field.name) {
                            known = true;
                            readChildOf(context, field, read);
                        }
                    }
                };
                (child(f), ...);
            },
            members);
        if (!known)
            unknownElements.append(UnknownParts::captureElement(reader));
        if (reader.hasError())
            return;
    }
    if (reader.hasError())
        return;
    read.unknown = UnknownParts(std::move(unknownAttributes), std::move(unknownElements));
    record = std::move(read);
}

} // namespace

#define ORVANE_DEFINE_READ(Type, Name)                                 \
    void ConfigReader::read(QXmlStreamReader& reader, Type& record) \
    {                                                                  \
        readRecord(reader, record);                                    \
    }
ORVANE_XML_RECORD_TYPES(ORVANE_DEFINE_READ)
#undef ORVANE_DEFINE_READ

} // namespace Xml
