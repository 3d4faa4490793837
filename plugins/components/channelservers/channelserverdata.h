#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::ChannelServer> columnBinding<CoConfig::ChannelServer>(int field);

using ChannelServerData =
    ComponentData<CoConfig::ChannelServer, int(CoConfig::ComponentType::ChannelServer), CoConfig::ObjectChannelServers,
                  FieldUid, FieldBoard, FieldName, FieldX64, FieldComputer, FieldControlPort, FieldSignalPort,
                  FieldDacPort>;
