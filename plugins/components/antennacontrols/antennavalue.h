#pragma once

#include "commonrecords.h"

#include <QByteArray>

// An antenna as the table hands it over: type, pattern, azimuth in whole degrees (halves up),
// uid (each a 32-bit number) and state (one byte), in Qt's data stream format.
namespace AntennaValue {

QByteArray toBytes(const Common::Antenna& antenna);
// Bytes from anywhere: a value missing from them reads as 0 (false), bytes beyond the five
// values are ignored, and an azimuth outside 0 to 360 becomes -1.
Common::Antenna fromBytes(const QByteArray& bytes);

} // namespace AntennaValue
