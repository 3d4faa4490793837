#include "configwriter.h"

#include "xmlrecordfields.h"
#include "xmlvalues.h"

#include "textwriter.h"

#include <QXmlStreamWriter>

#include <algorithm>
#include <vector>

namespace Xml {

namespace {

using Values::literal;

void writeNumber(QXmlStreamWriter& writer, QStringView name, qint64 value)
{
    writer.writeAttribute(literal(name), QString::number(value));
}

void writeNumber(TextWriter& writer, QStringView name, qint64 value)
{
    writer.writeAttribute(name, value);
}

template <typename W>
void writeText(W& writer, QStringView name, const QString& text)
{
    if (Values::isXmlText(text))
        writer.writeAttribute(literal(name), text);
    else
        writer.writeAttribute(name.toString() + QLatin1StringView("B64"), Values::encodeUtf16(text));
}

// Attributes.

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, QString>& f, const QString& value)
{
    writeText(writer, f.name, value);
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, int>& f, int value)
{
    writeNumber(writer, f.name, value);
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, unsigned int>& f, unsigned int value)
{
    writeNumber(writer, f.name, value);
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, bool>& f, bool value)
{
    writer.writeAttribute(literal(f.name), Values::fromBool(value));
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, float>& f, float value)
{
    writer.writeAttribute(literal(f.name), Values::formatFloat(value));
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, double>& f, double value)
{
    writer.writeAttribute(literal(f.name), Values::formatDouble(value));
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, QByteArray>& f, const QByteArray& value)
{
    writer.writeAttribute(literal(f.name), QString::fromLatin1(value.toBase64()));
}

template <typename W, typename R, int N>
void writeMember(W& writer, const Fields::Field<R, CoConfig::ComponentUid<N>>& f,
                 const CoConfig::ComponentUid<N>& value)
{
    writeNumber(writer, f.name, value.value);
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, CoConfig::ConfigUid>& f,
                 const CoConfig::ConfigUid& value)
{
    writeNumber(writer, f.name, value.value);
    writeNumber(writer, f.typeName, value.type);
}

// Child elements.

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, QList<int>>& f, const QList<int>& values)
{
    QString text;
    text.reserve(values.size() * 8);
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            text.append(u' ');
        Values::appendInt(text, values.at(i));
    }
    writer.writeTextElement(literal(f.name), text);
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, QStringList>& f, const QStringList& values)
{
    writer.writeStartElement(literal(f.name));
    for (const QString& value : values) {
        writer.writeEmptyElement(QStringLiteral("item"));
        writeText(writer, u"value", value);
    }
    writer.writeEndElement();
}

// A token that would not read back as itself (empty, with XML white space or characters XML
// cannot carry) can only have been put in by code, never read; it is left out.
bool isWritableToken(const QString& token)
{
    return !token.isEmpty() && Values::isXmlText(token)
        && std::none_of(token.cbegin(), token.cend(),
                        [](QChar c) { return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r'; });
}

template <typename W, typename R>
void writeFlags(W& writer, const Fields::FlagsField<R>& f, const R& record)
{
    QString text;
    for (const QString& token : CoConfig::Computers::toXmlNames(record.*f.member, record.*f.unknown)) {
        if (!isWritableToken(token))
            continue;
        if (!text.isEmpty())
            text.append(u' ');
        text.append(token);
    }
    writer.writeTextElement(literal(f.name), text);
}

template <typename W, typename R>
void writeMember(W& writer, const Fields::Field<R, CoConfig::Registrations>& f,
                 const CoConfig::Registrations& registrations)
{
    // In login order, as they are kept.
    writer.writeStartElement(literal(f.name));
    for (auto it = registrations.cbegin(); it != registrations.cend(); ++it) {
        writer.writeEmptyElement(QStringLiteral("item"));
        writeText(writer, u"login", it.key());
        writeNumber(writer, u"operator", it.value());
    }
    writer.writeEndElement();
}

template <typename W, typename T>
void writeRecord(W& writer, const T& record);

template <typename W, typename R, typename M, typename = std::enable_if_t<Fields::HasFields<M>::value>>
void writeMember(W& writer, const Fields::Field<R, M>& f, const M& value)
{
    writer.writeStartElement(literal(f.name));
    writeRecord(writer, value);
    writer.writeEndElement();
}

template <typename W, typename F, typename R>
void writeChildOf(W& writer, const F& field, const R& record)
{
    writeMember(writer, field, record.*field.member);
}

template <typename W, typename R>
void writeChildOf(W& writer, const Fields::FlagsField<R>& field, const R& record)
{
    writeFlags(writer, field, record);
}

// Attributes must precede child elements, so the member list is walked twice; the parts this
// version does not know follow the known ones of their kind.
template <typename W, typename T>
void writeRecord(W& writer, const T& record)
{
    const auto members = Fields::fields(Fields::Tag<T>{});
    std::apply(
        [&](const auto&... f) {
            auto attribute = [&](const auto& field) {
                using M = std::decay_t<decltype(record.*field.member)>;
                if constexpr (!Fields::isChild<M>)
                    writeMember(writer, field, record.*field.member);
            };
            (attribute(f), ...);
        },
        members);
    record.unknown.writeAttributes(writer);
    std::apply(
        [&](const auto&... f) {
            auto child = [&](const auto& field) {
                using M = std::decay_t<decltype(record.*field.member)>;
                if constexpr (Fields::isChild<M>)
                    writeChildOf(writer, field, record);
            };
            (child(f), ...);
        },
        members);
    record.unknown.writeElements(writer);
}

// Refusals: what the reader does not accept although the types can hold it.

QString belowMinimum(QLatin1StringView element, QStringView name, qint64 value, int minimum)
{
    return QStringLiteral("%1: %2 = %3, наименьшее допустимое значение %4")
        .arg(element, name.toString(), QString::number(value), QString::number(minimum));
}

template <typename T>
struct IsComponentUid : std::false_type
{
};
template <int N>
struct IsComponentUid<CoConfig::ComponentUid<N>> : std::true_type
{
};

template <typename T>
QString refusalOf(const T& record);

template <typename R, typename M>
QString memberRefusal(QLatin1StringView element, const Fields::Field<R, M>& f, const M& value)
{
    if constexpr (std::is_same_v<M, int>) {
        if (value < f.minimum)
            return belowMinimum(element, f.name, value, f.minimum);
    } else if constexpr (std::is_same_v<M, QList<int>>) {
        for (int item : value) {
            if (item < f.minimum)
                return belowMinimum(element, f.name, item, f.minimum);
        }
    } else if constexpr (std::is_same_v<M, CoConfig::ConfigUid>) {
        if (value.value < -1)
            return belowMinimum(element, f.name, value.value, -1);
        if (value.type < -1)
            return belowMinimum(element, f.typeName, value.type, -1);
    } else if constexpr (std::is_same_v<M, CoConfig::Registrations>) {
        for (auto it = value.cbegin(); it != value.cend(); ++it) {
            if (it.value() < -1)
                return belowMinimum(element, f.name, it.value(), -1);
        }
    } else if constexpr (Fields::HasFields<M>::value) {
        return refusalOf(value);
    } else if constexpr (IsComponentUid<M>::value) {
        if (value.value < -1)
            return belowMinimum(element, f.name, value.value, -1);
    }
    return QString();
}

// A flag token that would not read back is left out when written, not refused.
template <typename R>
QString memberRefusal(QLatin1StringView, const Fields::FlagsField<R>&, const CoConfig::ComputerFlags&)
{
    return QString();
}

template <typename T>
QString refusalOf(const T& record)
{
    const QLatin1StringView element(elementName<T>());
    QString reason;
    std::apply(
        [&](const auto&... f) {
            auto check = [&](const auto& field) {
                if (reason.isEmpty())
                    reason = memberRefusal(element, field, record.*field.member);
            };
            (check(f), ...);
        },
        Fields::fields(Fields::Tag<T>{}));
    return reason;
}

} // namespace

#define ORVANE_DEFINE_REFUSAL(Type, Name)                   \
    QString ConfigWriter::refusal(const Type& record)       \
    {                                                       \
        return refusalOf(record);                           \
    }
ORVANE_XML_RECORD_TYPES(ORVANE_DEFINE_REFUSAL)
#undef ORVANE_DEFINE_REFUSAL

#define ORVANE_DEFINE_WRITE(Type, Name)                                      \
    void ConfigWriter::write(QXmlStreamWriter& writer, const Type& record) \
    {                                                                        \
        writeRecord(writer, record);                                         \
    }                                                                        \
    void ConfigWriter::write(TextWriter& writer, const Type& record)       \
    {                                                                        \
        writeRecord(writer, record);                                         \
    }
ORVANE_XML_RECORD_TYPES(ORVANE_DEFINE_WRITE)
#undef ORVANE_DEFINE_WRITE

} // namespace Xml
