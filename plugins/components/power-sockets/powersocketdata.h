#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::PowerSocket> columnBinding<CoConfig::PowerSocket>(int field);

using PowerSocketData = ComponentData<CoConfig::PowerSocket, int(CoConfig::ComponentType::PowerSocket),
                                      CoConfig::ObjectPowerSockets, FieldUid, FieldPdu, FieldIndex, FieldObject>;
