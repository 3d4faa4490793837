#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

class QXmlStreamReader;

// Text forms of scalar values in the record XML. Parsing is strict: the whole text must be the
// value, without surrounding spaces, and within the range of the target type.
namespace Xml::Values {

bool parseInt(QStringView text, int minimum, int& value);
bool parseUInt(QStringView text, unsigned int& value);
bool parseBool(QStringView text, bool& value);
// The same from UTF-8 (a parsed document's values), without converting it: what is not ASCII
// is no number, nor a flag.
bool parseInt(std::string_view text, int minimum, int& value);
bool parseUInt(std::string_view text, unsigned int& value);
bool parseBool(std::string_view text, bool& value);
bool parseFloat(QStringView text, float& value);
bool parseDouble(QStringView text, double& value);

// Shortest text that reads back to the same value.
QString formatFloat(float value);
QString formatDouble(double value);
void appendInt(QString& text, int value);

inline QString fromBool(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

// A QString over a string literal's data, without copying it.
inline QString literal(QStringView name) { return QString::fromRawData(name.data(), name.size()); }

// XML 1.0 cannot carry control characters or unpaired surrogates; such text is written as the
// base64 of its UTF-16 code units instead.
bool isXmlText(const QString& text);
QString encodeUtf16(const QString& text);
bool decodeUtf16(QStringView base64, QString& text);

// Errors on the reader, naming the element, the attribute or child element and the value.
void raiseBadValue(QXmlStreamReader& reader, QLatin1StringView element, QStringView name, QStringView value);
void raiseMissing(QXmlStreamReader& reader, QLatin1StringView element, QStringView child, QStringView name);
void raiseNotOnElement(QXmlStreamReader& reader, QLatin1StringView element);

} // namespace Xml::Values
