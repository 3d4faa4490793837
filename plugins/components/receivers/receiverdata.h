#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::Receiver> columnBinding<CoConfig::Receiver>(int field);

using ReceiverData = ComponentData<CoConfig::Receiver, int(CoConfig::ComponentType::Receiver),
                                   CoConfig::ObjectReceivers, FieldUid, FieldRack, FieldName>;
