#pragma once

#include <QString>

namespace ConfigCheck::IpAddress {

// The address in one canonical text, so that equal addresses compare equal; an empty string
// when the text is no IPv4 address in dotted decimal (four numbers 0..255, no leading zeros,
// no spaces) and no IPv6 address.
QString canonical(const QString& text);

} // namespace ConfigCheck::IpAddress
