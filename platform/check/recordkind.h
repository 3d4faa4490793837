#pragma once

#include "componenttype.h"

#include <QString>

namespace ConfigCheck {

// The kinds of records a problem can be found in. The component kinds keep the values of
// CoConfig::ComponentType, so a component reference of type N names RecordKind(N).
enum class RecordKind : int {
    Rack = int(CoConfig::ComponentType::Rack),
    Computer = int(CoConfig::ComponentType::Computer),
    Receiver = int(CoConfig::ComponentType::Receiver),
    ChannelServer = int(CoConfig::ComponentType::ChannelServer),
    Channel = int(CoConfig::ComponentType::Channel),
    ChannelParam = int(CoConfig::ComponentType::ChannelParam),
    AntennaPool = int(CoConfig::ComponentType::AntennaPool),
    AntennaServer = int(CoConfig::ComponentType::AntennaServer),
    AntennaControl = int(CoConfig::ComponentType::AntennaControl),
    Ups = int(CoConfig::ComponentType::Ups),
    Pdu = int(CoConfig::ComponentType::Pdu),
    OpenSensor = int(CoConfig::ComponentType::OpenSensor),
    PowerSocket = int(CoConfig::ComponentType::PowerSocket),
    Antenna,
    ArmUnion,
    Operator,
    Pelengator,
    PelengatorUnion,
    DataStorage
};

bool isComponentType(int type);
// The record class's name, as in the files ("Rack", "ArmUnion").
QString recordKindKey(RecordKind kind);
// What the editor calls one such record ("Стойка", "Объединение АРМ").
QString recordKindTitle(RecordKind kind);

} // namespace ConfigCheck
