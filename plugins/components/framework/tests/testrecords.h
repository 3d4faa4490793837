#pragma once

#include "records.h"

// Records for the framework's tests.
inline CoConfig::Rack makeRack(int uid, const QString& name, const QString& shortName = QString())
{
    CoConfig::Rack rack;
    rack.uid = CoConfig::ComponentUid<0>(uid);
    rack.name = name;
    rack.shortName = shortName;
    return rack;
}

inline CoConfig::Receiver makeReceiver(int uid, int rack, const QString& name)
{
    CoConfig::Receiver receiver;
    receiver.uid = CoConfig::ComponentUid<2>(uid);
    receiver.rack = CoConfig::ComponentUid<0>(rack);
    receiver.name = name;
    return receiver;
}

inline CoConfig::Computer makeComputer(int uid, int rack, const QString& name)
{
    CoConfig::Computer computer;
    computer.uid = CoConfig::ComponentUid<1>(uid);
    computer.rack = CoConfig::ComponentUid<0>(rack);
    computer.name = name;
    return computer;
}
