#pragma once

namespace CoConfig {

enum class ComponentType : int {
    Rack = 0,
    Computer = 1,
    Receiver = 2,
    ChannelServer = 3,
    Channel = 4,
    ChannelParam = 5,
    AntennaPool = 6,
    AntennaServer = 7,
    AntennaControl = 8,
    Ups = 9,
    Pdu = 10,
    OpenSensor = 11,
    PowerSocket = 12
};

// Bit flags naming kinds of objects in store calls (read, write, generateObjectUid).
enum ComplexObjectType {
    ObjectAll = 0x1,
    ObjectComputers = 0x2,
    ObjectChannels = 0x4,
    ObjectAntennas = 0x10,
    ObjectPelengators = 0x20,
    ObjectArmUnions = 0x40,
    ObjectOperators = 0x2000,
    ObjectRacks = 0x4000,
    ObjectUps = 0x8000,
    ObjectOpenSensors = 0x10000,
    ObjectPdus = 0x20000,
    ObjectPowerSockets = 0x40000,
    ObjectReceivers = 0x80000,
    ObjectChannelServers = 0x200000,
    ObjectAntennaServers = 0x400000,
    ObjectAntennaPools = 0x800000,
    ObjectAntennaControls = 0x1000000
};

} // namespace CoConfig
