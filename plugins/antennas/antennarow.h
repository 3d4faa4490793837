#pragma once

#include "commonrecords.h"

// One row of the antenna table: an antenna record and the workstation union that lists it.
struct AntennaRow
{
    int type = -1;
    float azimuth = -1.0f;
    int diagram = -1;
    int uid = -1;
    bool state = false;
    int armUnionUid = -1; // -1: no union
    Xml::UnknownParts unknown = {}; // of the antenna record

    static AntennaRow fromAntenna(const Common::Antenna& antenna, int armUnionUid = -1);
    Common::Antenna toAntenna() const;

    // Degrees from 0 to 360 inclusive; anything else (not a number, out of range) becomes -1.
    void setAzimuth(float degrees);

    friend bool operator==(const AntennaRow& a, const AntennaRow& b)
    {
        return a.type == b.type && a.azimuth == b.azimuth && a.diagram == b.diagram && a.uid == b.uid
            && a.state == b.state && a.armUnionUid == b.armUnionUid && a.unknown == b.unknown;
    }
    friend bool operator!=(const AntennaRow& a, const AntennaRow& b) { return !(a == b); }
};
