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
    ORVANE_RECORD_EQUALITY(ComplexInfo, uid, name, description)
};

// A workstation union: workstations grouped together, with the antennas bound to them.
struct ArmUnion
{
    int uid = -1;
    QString name;
    QList<int> armUids;     // uids of the member workstations
    QList<int> antennaUids; // uids of the antennas bound to the union
    ORVANE_RECORD_EQUALITY(ArmUnion, uid, name, armUids, antennaUids)
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

    // linkUid takes no part in the comparison.
    friend bool operator==(const Pelengator& a, const Pelengator& b)
    {
        return a.uid == b.uid && a.name == b.name && a.capabilities == b.capabilities && a.latitude == b.latitude
            && a.longitude == b.longitude && a.marked == b.marked && a.isVirtual == b.isVirtual
            && a.bandStart == b.bandStart && a.bandWidth == b.bandWidth && a.payload == b.payload;
    }
    friend bool operator!=(const Pelengator& a, const Pelengator& b) { return !(a == b); }
};

// Direction finders that work together.
struct PelengatorUnion
{
    int uid = -1;
    QString name;
    QList<int> pelengatorUids;
    ORVANE_RECORD_EQUALITY(PelengatorUnion, uid, name, pelengatorUids)
};

// A directed link between two objects of the complex (task set, task transfer, report, Dravik).
struct InteractionLink
{
    int source = -1;
    int receiver = -1;
    ORVANE_RECORD_EQUALITY(InteractionLink, source, receiver)
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
    ORVANE_RECORD_EQUALITY(DataStorage, uid, name, path, computerUid)
};

} // namespace DataStore
