#pragma once

#include <QString>

// The absolute value of an angle in whole degrees, minutes and seconds, rounded to the nearest
// second with 60 seconds carried into the minute and 60 minutes into the degree.
struct Dms
{
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
};

Dms toDms(double value);
double fromDms(const Dms& dms, bool negative);

// Degrees, minutes and seconds of the absolute value, e.g. 33°30'0".
QString formatDms(double value);
// formatDms followed by the hemisphere: "С" or "Ю" for a latitude, "В" or "З" for a longitude.
QString latitudeText(double latitude);
QString longitudeText(double longitude);
