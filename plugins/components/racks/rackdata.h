#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::Rack> columnBinding<CoConfig::Rack>(int field);

using RackData = ComponentData<CoConfig::Rack, int(CoConfig::ComponentType::Rack), CoConfig::ObjectRacks,
                               FieldUid, FieldName, FieldShortName>;
