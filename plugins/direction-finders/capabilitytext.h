#pragma once

#include <QString>

// The name of one capability bit of a direction finder. Bit 0 of the record's capabilities
// chooses the wording: "направление" when set, "пеленг" when clear. Bit 0 itself (no bit) means
// that no capabilities were given.
QString capabilityText(unsigned int bit, unsigned int capabilities);
