#pragma once

#include "componentrecords.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace CoConfig {

// Description of the complex itself.
struct ComplexInfo
{
    int uid = -1;
    QString name;
    QString description;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(ComplexInfo, uid, name, description, unknown)
};

// A workstation union: workstations grouped together, with the antennas bound to them.
struct ArmUnion
{
    int uid = -1;
    QString name;
    QList<int> armUids;     // uids of the member workstations
    QList<int> antennaUids; // uids of the antennas bound to the union
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(ArmUnion, uid, name, armUids, antennaUids, unknown)
};

// A direction finder.
struct Pelengator
{
    int uid = -1;
    int linkUid = -1;
    QString name;
    unsigned int capabilities = 0;
    int bandStart = 0;  // Hz
    int bandWidth = 0;  // Hz
    double latitude = 0.0;
    double longitude = 0.0;
    bool isVirtual = false;
    bool marked = false;
    QByteArray payload;
    Xml::UnknownParts unknown = {};

    // linkUid takes no part in the comparison.
    friend bool operator==(const Pelengator& a, const Pelengator& b)
    {
        return a.uid == b.uid && a.name == b.name && a.capabilities == b.capabilities && a.latitude == b.latitude
            && a.longitude == b.longitude && a.marked == b.marked && a.isVirtual == b.isVirtual
            && a.bandStart == b.bandStart && a.bandWidth == b.bandWidth && a.payload == b.payload
            && a.unknown == b.unknown;
    }
    friend bool operator!=(const Pelengator& a, const Pelengator& b) { return !(a == b); }
};

// Direction finders that work together.
struct PelengatorUnion
{
    int uid = -1;
    QString name;
    QList<int> pelengatorUids;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(PelengatorUnion, uid, name, pelengatorUids, unknown)
};

// A directed link between two objects of the complex (task set, task transfer, report, Dravik).
struct InteractionLink
{
    int source = -1;
    int receiver = -1;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(InteractionLink, source, receiver, unknown)
};

} // namespace CoConfig

namespace DataStore {

// A place where the complex keeps recorded data.
struct DataStorage
{
    int uid = -1;
    QString name;
    QString path;
    int computerUid = -1;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(DataStorage, uid, name, path, computerUid, unknown)
};

} // namespace DataStore
