#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::AntennaPool> columnBinding<CoConfig::AntennaPool>(int field);

using AntennaPoolData = ComponentData<CoConfig::AntennaPool, int(CoConfig::ComponentType::AntennaPool),
                                      CoConfig::ObjectAntennaPools, FieldUid, FieldName, FieldDiagrams>;
