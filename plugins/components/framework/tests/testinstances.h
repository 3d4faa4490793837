#pragma once

#include "componentdata.h"

// Small instantiations of the framework for its own tests:
// receivers (uid, rack reference shown by name, name) and channel servers (uid, computer
// reference shown as "rack/computer", name, x64, board).
template <>
ColumnBinding<CoConfig::Receiver> columnBinding<CoConfig::Receiver>(int field);
template <>
ColumnBinding<CoConfig::ChannelServer> columnBinding<CoConfig::ChannelServer>(int field);

using TestReceiverData = ComponentData<CoConfig::Receiver, 2, CoConfig::ObjectReceivers, FieldUid, FieldRack, FieldName>;
using TestChannelServerData = ComponentData<CoConfig::ChannelServer, 3, CoConfig::ObjectChannelServers, FieldUid,
                                            FieldComputer, FieldName, FieldX64, FieldBoard>;

using RackSelect = ComponentSelectDelegate<CoConfig::Rack, 0>;
using ComputerSelect = ComponentSelectDelegate<CoConfig::Computer, 1, CoConfig::Rack, 0>;
