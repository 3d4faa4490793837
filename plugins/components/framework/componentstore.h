#pragma once

#include "complexconfiginterface.h"

// Where the store keeps the records of each component type: ComponentStore<N>::Record is the
// record class of type N and map(store) its map by uid, mutable or constant as the store is.
template <int N>
struct ComponentStore;

#define ORVANE_COMPONENT_STORE(N, RecordClass, access)                                                  \
    template <>                                                                                        \
    struct ComponentStore<N>                                                                           \
    {                                                                                                  \
        using Record = CoConfig::RecordClass;                                                          \
        using Map = QMap<CoConfig::ComponentUid<N>, Record>;                                           \
        static Map& map(CoConfig::ComplexConfigInterface& store) { return store.access; }              \
        static const Map& map(const CoConfig::ComplexConfigInterface& store) { return store.access; }  \
    };

ORVANE_COMPONENT_STORE(0, Rack, racks())
ORVANE_COMPONENT_STORE(1, Computer, computers())
ORVANE_COMPONENT_STORE(2, Receiver, receivers().receivers)
ORVANE_COMPONENT_STORE(3, ChannelServer, receivers().channelServers)
ORVANE_COMPONENT_STORE(4, Channel, receivers().channels)
ORVANE_COMPONENT_STORE(5, ChannelParam, receivers().channelParams)
ORVANE_COMPONENT_STORE(6, AntennaPool, receivers().antennaPools)
ORVANE_COMPONENT_STORE(7, AntennaServer, receivers().antennaServers)
ORVANE_COMPONENT_STORE(8, AntennaControl, receivers().antennaControls)
ORVANE_COMPONENT_STORE(9, Ups, power().ups)
ORVANE_COMPONENT_STORE(10, Pdu, power().pdus)
ORVANE_COMPONENT_STORE(11, OpenSensor, power().openSensors)
ORVANE_COMPONENT_STORE(12, PowerSocket, power().powerSockets)

#undef ORVANE_COMPONENT_STORE
