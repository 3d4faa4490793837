#pragma once

#include "componentdata.h"

// A 13-column table for the benchmark, shaped like the channel editor's.
template <>
ColumnBinding<CoConfig::Channel> columnBinding<CoConfig::Channel>(int field);

using BenchChannelData =
    ComponentData<CoConfig::Channel, 4, CoConfig::ObjectChannels, FieldUid, FieldName, FieldCassetteType, FieldModule,
                  FieldFixed, FieldHidden, FieldMulti, FieldScale, FieldReceiver, FieldCassette, FieldChannelServer,
                  FieldServerIndex, FieldRpu>;
