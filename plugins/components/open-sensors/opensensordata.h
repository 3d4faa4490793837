#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::OpenSensor> columnBinding<CoConfig::OpenSensor>(int field);

using OpenSensorData = ComponentData<CoConfig::OpenSensor, int(CoConfig::ComponentType::OpenSensor),
                                     CoConfig::ObjectOpenSensors, FieldUid, FieldUps, FieldIndex, FieldControlledRack>;
