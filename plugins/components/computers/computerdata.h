#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::Computer> columnBinding<CoConfig::Computer>(int field);

using ComputerData = ComponentData<CoConfig::Computer, int(CoConfig::ComponentType::Computer), CoConfig::ObjectComputers,
                                   FieldUid, FieldRack, FieldName, FieldIpAddress, FieldComputerFlags>;
