#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::Ups> columnBinding<CoConfig::Ups>(int field);

// The name comes before the rack here, unlike the PDU table.
using UpsData = ComponentData<CoConfig::Ups, int(CoConfig::ComponentType::Ups), CoConfig::ObjectUps, FieldUid, FieldName,
                              FieldRack, FieldIpAddress>;
