#pragma once

#include "records.h"

#include <QList>
#include <QMap>

namespace CoConfig {

// Everything one complex holds, as plain values: what the store keeps in memory and what a
// read fills before it is taken over.
struct ComplexData
{
    int complexUid = -1;
    QMap<int, ComplexInfo> complexInfos;
    QMap<int, Common::Antenna> antennas;
    QMap<int, DataStore::DataStorage> dataStorages;
    QMap<int, Pelengator> pelengators;
    QMap<int, ArmUnion> armUnions;
    QMap<int, PelengatorUnion> pelengatorUnions;
    QMap<int, Common::Operator> operators;
    QList<InteractionLink> taskSetLinks;
    QList<InteractionLink> taskTransferLinks;
    QList<InteractionLink> reportLinks;
    QList<InteractionLink> dravikLinks;
    QMap<ComponentUid<0>, Rack> racks;
    QMap<ComponentUid<1>, Computer> computers;
    PowerConfig power;
    ReceiverConfig receivers;
};

bool operator==(const ComplexData& a, const ComplexData& b);
inline bool operator!=(const ComplexData& a, const ComplexData& b) { return !(a == b); }

} // namespace CoConfig
