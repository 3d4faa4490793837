#include "xmlvalues.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QXmlStreamReader>

#include <charconv>
#include <limits>

namespace Xml::Values {

namespace {

// Numbers are ASCII; anything longer than this is not a number we wrote.
constexpr qsizetype MaxNumberLength = 128;

struct Ascii
{
    char data[MaxNumberLength];
    qsizetype size = 0;
    const char* end() const { return data + size; }
};

bool toAscii(QStringView text, Ascii& out)
{
    if (text.isEmpty() || text.size() > MaxNumberLength)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            return false;
        out.data[i] = char(c);
    }
    out.size = text.size();
    return true;
}

template <typename T>
bool parseNumber(std::string_view text, T& value)
{
    if (text.empty() || qsizetype(text.size()) > MaxNumberLength)
        return false;
    T parsed{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

template <typename T>
bool parseNumber(QStringView text, T& value)
{
    Ascii ascii;
    return toAscii(text, ascii) && parseNumber(std::string_view(ascii.data, size_t(ascii.size)), value);
}

template <typename T>
QString formatNumber(T value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString shortened(QStringView value)
{
    constexpr qsizetype MaxShown = 64;
    if (value.size() <= MaxShown)
        return value.toString();
    return value.left(MaxShown).toString() + QChar(0x2026);
}

} // namespace

bool parseInt(std::string_view text, int minimum, int& value)
{
    int parsed = 0;
    if (!parseNumber(text, parsed) || parsed < minimum)
        return false;
    value = parsed;
    return true;
}

bool parseInt(QStringView text, int minimum, int& value)
{
    Ascii ascii;
    return toAscii(text, ascii) && parseInt(std::string_view(ascii.data, size_t(ascii.size)), minimum, value);
}

bool parseUInt(std::string_view text, unsigned int& value)
{
    return parseNumber(text, value);
}

bool parseUInt(QStringView text, unsigned int& value)
{
    return parseNumber(text, value);
}

bool parseBool(std::string_view text, bool& value)
{
    if (text == "true" || text == "1")
        value = true;
    else if (text == "false" || text == "0")
        value = false;
    else
        return false;
    return true;
}

bool parseBool(QStringView text, bool& value)
{
    Ascii ascii;
    return toAscii(text, ascii) && parseBool(std::string_view(ascii.data, size_t(ascii.size)), value);
}

bool parseFloat(QStringView text, float& value)
{
    return parseNumber(text, value);
}

bool parseDouble(QStringView text, double& value)
{
    return parseNumber(text, value);
}

QString formatFloat(float value)
{
    return formatNumber(value);
}

QString formatDouble(double value)
{
    return formatNumber(value);
}

void appendInt(QString& text, int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(QLatin1StringView(buffer, result.ptr - buffer));
}

bool isXmlText(const QString& text)
{
    const qsizetype size = text.size();
    const QChar* data = text.constData();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (c >= 0x20 && c < 0xD800)
            continue;
        if (c == 0x9 || c == 0xA || c == 0xD || (c >= 0xE000 && c <= 0xFFFD))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(data[i + 1].unicode())) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

QString encodeUtf16(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return QString::fromLatin1(bytes.toBase64());
}

bool decodeUtf16(QStringView base64, QString& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() % 2 != 0)
        return false;
    const QByteArray& bytes = decoded.decoded;
    QString result(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < result.size(); ++i)
        result[i] = QChar(char16_t(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8)));
    text = result;
    return true;
}

void raiseBadValue(QXmlStreamReader& reader, QLatin1StringView element, QStringView name, QStringView value)
{
    reader.raiseError(QCoreApplication::translate("Xml", "Элемент %1, %2: неверное значение \"%3\"")
                          .arg(element, name, shortened(value)));
}

void raiseMissing(QXmlStreamReader& reader, QLatin1StringView element, QStringView child, QStringView name)
{
    reader.raiseError(QCoreApplication::translate("Xml", "Элемент %1, %2: нет атрибута %3").arg(element, child, name));
}

void raiseNotOnElement(QXmlStreamReader& reader, QLatin1StringView element)
{
    reader.raiseError(QCoreApplication::translate("Xml", "Ожидается начало элемента %1").arg(element));
}

} // namespace Xml::Values
