#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::AntennaServer> columnBinding<CoConfig::AntennaServer>(int field);

using AntennaServerData =
    ComponentData<CoConfig::AntennaServer, int(CoConfig::ComponentType::AntennaServer), CoConfig::ObjectAntennaServers,
                  FieldUid, FieldName, FieldComputer, FieldControlPort, FieldAntennaPool>;
