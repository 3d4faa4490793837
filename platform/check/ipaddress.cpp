#include "ipaddress.h"

#include <QHostAddress>

namespace ConfigCheck::IpAddress {

namespace {

bool isDottedQuad(const QString& text)
{
    int parts = 0;
    int digits = 0;
    int value = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (digits == 0 || ++parts > 3)
                return false;
            digits = 0;
            value = 0;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        if (digits == 1 && value == 0)
            return false; // a leading zero reads as octal to some of the complex's programs
        value = value * 10 + (c.unicode() - '0');
        if (++digits > 3 || value > 255)
            return false;
    }
    return parts == 3 && digits > 0;
}

} // namespace

QString canonical(const QString& text)
{
    if (isDottedQuad(text))
        return text;
    if (!text.contains(QLatin1Char(':')) || text.trimmed() != text)
        return QString();
    const QHostAddress address(text);
    return address.protocol() == QAbstractSocket::IPv6Protocol ? address.toString() : QString();
}

} // namespace ConfigCheck::IpAddress
