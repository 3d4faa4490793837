#pragma once

// Every record type that the XML codec reads and writes: X(namespace-qualified class, element name).
#define ORVANE_XML_RECORD_TYPES(X)                  \
    X(CoConfig::Rack, "Rack")                       \
    X(CoConfig::Computer, "Computer")               \
    X(CoConfig::Ups, "Ups")                         \
    X(CoConfig::Pdu, "Pdu")                         \
    X(CoConfig::OpenSensor, "OpenSensor")           \
    X(CoConfig::PowerSocket, "PowerSocket")         \
    X(CoConfig::Receiver, "Receiver")               \
    X(CoConfig::ChannelServer, "ChannelServer")     \
    X(CoConfig::Channel, "Channel")                 \
    X(CoConfig::ChannelParam, "ChannelParam")       \
    X(CoConfig::AntennaPool, "AntennaPool")         \
    X(CoConfig::AntennaServer, "AntennaServer")     \
    X(CoConfig::AntennaControl, "AntennaControl")   \
    X(CoConfig::ComplexInfo, "ComplexInfo")         \
    X(CoConfig::ArmUnion, "ArmUnion")               \
    X(CoConfig::Pelengator, "Pelengator")           \
    X(CoConfig::PelengatorUnion, "PelengatorUnion") \
    X(CoConfig::InteractionLink, "InteractionLink") \
    X(Common::Antenna, "Antenna")                   \
    X(Common::Operator, "Operator")                 \
    X(DataStore::DataStorage, "DataStorage")
