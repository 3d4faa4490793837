#pragma once

#include "unknownparts.h"

#include <QString>

namespace Common {

struct Antenna
{
    int type = -1;          // -1 undefined, 0, 1 or 2
    float azimuth = -1.0f;  // degrees 0..360, -1 unset
    int diagram = -1;       // pattern number
    int uid = -1;
    bool state = false;     // on
    Xml::UnknownParts unknown = {};

    friend bool operator==(const Antenna& a, const Antenna& b)
    {
        return a.type == b.type && a.azimuth == b.azimuth && a.diagram == b.diagram && a.uid == b.uid
            && a.state == b.state
            && a.unknown == b.unknown;
    }
    friend bool operator!=(const Antenna& a, const Antenna& b) { return !(a == b); }
};

struct Operator
{
    int uid = -1;
    QString name;
    QString surname;
    QString thirdname;
    QString rank;
    QString post;
    Xml::UnknownParts unknown = {};

    friend bool operator==(const Operator& a, const Operator& b)
    {
        return a.uid == b.uid && a.name == b.name && a.surname == b.surname && a.thirdname == b.thirdname
            && a.rank == b.rank && a.post == b.post
            && a.unknown == b.unknown;
    }
    friend bool operator!=(const Operator& a, const Operator& b) { return !(a == b); }
};

} // namespace Common
