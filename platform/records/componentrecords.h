#pragma once

#include "commonrecords.h"
#include "componenttype.h"
#include "componentuid.h"
#include "computerflags.h"
#include "registrations.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <tuple>

// Records of the component tables. Equality compares every member. Each record's `unknown` keeps
// the attributes and elements of its XML that this version does not know.
#define ORVANE_RECORD_EQUALITY(Type, ...)                                                      \
    auto tie() const { return std::tie(__VA_ARGS__); }                                         \
    friend bool operator==(const Type& a, const Type& b) { return a.tie() == b.tie(); }        \
    friend bool operator!=(const Type& a, const Type& b) { return !(a == b); }



namespace CoConfig {

struct Rack
{
    ComponentUid<0> uid;
    QString name;
    QString shortName;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(Rack, uid, name, shortName, unknown)
};

struct Computer
{
    ComponentUid<1> uid;
    ComponentUid<0> rack;
    QString name;
    QString ipAddress;
    ComputerFlags flags;
    QSet<QString> unknownFlags; // tokens of flags this version does not know, kept as read
    Registrations registrations; // login -> operator uid; a login is unique on one workstation
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(Computer, uid, rack, name, ipAddress, flags, unknownFlags, registrations, unknown)
};

struct Ups
{
    ComponentUid<9> uid;
    ComponentUid<0> rack;
    QString name;
    QString ipAddress;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(Ups, uid, rack, name, ipAddress, unknown)
};

struct Pdu
{
    ComponentUid<10> uid;
    ComponentUid<0> rack;
    QString name;
    QString ipAddress;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(Pdu, uid, rack, name, ipAddress, unknown)
};

struct OpenSensor
{
    ComponentUid<11> uid;
    ComponentUid<9> ups;
    int index = 0;
    ComponentUid<0> controlledRack;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(OpenSensor, uid, ups, index, controlledRack, unknown)
};

struct PowerSocket
{
    ComponentUid<12> uid;
    ComponentUid<10> pdu;
    int index = 0;
    ConfigUid object; // the computer or receiver plugged in
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(PowerSocket, uid, pdu, index, object, unknown)
};

struct Receiver
{
    ComponentUid<2> uid;
    ComponentUid<0> rack;
    QString name;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(Receiver, uid, rack, name, unknown)
};

struct ChannelServer
{
    ComponentUid<3> uid;
    ComponentUid<1> computer;
    bool x64 = false;
    int board = 0;
    QString name;
    int controlPort = 0;
    int signalPort = 0;
    int dacPort = 0;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(ChannelServer, uid, computer, x64, board, name, controlPort, signalPort, dacPort, unknown)
};

struct Channel
{
    ComponentUid<4> uid;
    QString name;
    ComponentUid<5> cassetteType;
    int module = -1; // a Common::ChannelModuleType value (Wistral)
    bool fixed = false;
    bool hidden = false;
    bool multi = false;
    int scale = 0;
    ComponentUid<2> receiver;
    int cassette = -1;
    ComponentUid<3> channelServer;
    int serverIndex = -1;
    ComponentUid<8> antennaControl;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(Channel, uid, name, cassetteType, module, fixed, hidden, multi, scale, receiver,
                           cassette, channelServer, serverIndex, antennaControl, unknown)
};

// A channel parameter set (cassette type): operating modes, filters and attenuations.
struct ChannelParam
{
    ComponentUid<5> uid;
    QString name;
    QStringList modes;
    QList<int> filters;      // band widths, Hz
    QList<int> attenuations; // dB
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(ChannelParam, uid, name, modes, filters, attenuations, unknown)
};

struct AntennaPool
{
    ComponentUid<6> uid;
    QString name;
    QList<int> antennaUids;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(AntennaPool, uid, name, antennaUids, unknown)
};

struct AntennaServer
{
    ComponentUid<7> uid;
    ComponentUid<1> computer;
    QString name;
    int controlPort = 0;
    ComponentUid<6> antennaPool;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(AntennaServer, uid, computer, name, controlPort, antennaPool, unknown)
};

struct AntennaControl
{
    ComponentUid<8> uid;
    ComponentUid<7> antennaServer;
    int rpu = -1;
    QString group;
    Common::Antenna antenna;
    Xml::UnknownParts unknown = {};
    ORVANE_RECORD_EQUALITY(AntennaControl, uid, antennaServer, rpu, group, antenna, unknown)
};

// The store's power equipment, keyed by uid.
struct PowerConfig
{
    QMap<ComponentUid<9>, Ups> ups;
    QMap<ComponentUid<10>, Pdu> pdus;
    QMap<ComponentUid<11>, OpenSensor> openSensors;
    QMap<ComponentUid<12>, PowerSocket> powerSockets;
};

// The store's radio equipment, keyed by uid.
struct ReceiverConfig
{
    QMap<ComponentUid<2>, Receiver> receivers;
    QMap<ComponentUid<3>, ChannelServer> channelServers;
    QMap<ComponentUid<7>, AntennaServer> antennaServers;
    QMap<ComponentUid<6>, AntennaPool> antennaPools;
    QMap<ComponentUid<8>, AntennaControl> antennaControls;
    QMap<ComponentUid<4>, Channel> channels;
    QMap<ComponentUid<5>, ChannelParam> channelParams;
};

} // namespace CoConfig
