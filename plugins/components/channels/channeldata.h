#pragma once

#include "componentdata.h"

template <>
ColumnBinding<CoConfig::Channel> columnBinding<CoConfig::Channel>(int field);

using ChannelData =
    ComponentData<CoConfig::Channel, int(CoConfig::ComponentType::Channel), CoConfig::ObjectChannels, FieldUid,
                  FieldName, FieldCassetteType, FieldModule, FieldFixed, FieldHidden, FieldMulti, FieldScale,
                  FieldReceiver, FieldCassette, FieldChannelServer, FieldServerIndex, FieldRpu>;
