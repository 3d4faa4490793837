#pragma once

#include <QMetaType>

// A geographic point in degrees: longitude first, then latitude.
struct MapPoint
{
    double longitude = 0.0;
    double latitude = 0.0;
};

Q_DECLARE_METATYPE(MapPoint)
