#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::AntennaControl> columnBinding<CoConfig::AntennaControl>(int field);

using AntennaControlData =
    ComponentData<CoConfig::AntennaControl, int(CoConfig::ComponentType::AntennaControl), CoConfig::ObjectAntennaControls,
                  FieldUid, FieldAntennaServer, FieldControlRpu, FieldGroup, FieldAntenna>;
