#pragma once

#include <QString>

// Degrees, minutes and seconds of the absolute value, e.g. 33°30'0". Seconds are rounded
// and not carried, so they may read 60.
QString formatDms(double value);
// formatDms followed by the hemisphere: "С" or "Ю" for a latitude, "В" or "З" for a longitude.
QString latitudeText(double latitude);
QString longitudeText(double longitude);
