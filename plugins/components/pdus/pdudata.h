#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::Pdu> columnBinding<CoConfig::Pdu>(int field);

using PduData = ComponentData<CoConfig::Pdu, int(CoConfig::ComponentType::Pdu), CoConfig::ObjectPdus, FieldUid, FieldRack,
                              FieldName, FieldIpAddress>;
