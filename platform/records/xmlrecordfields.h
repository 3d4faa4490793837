#pragma once

#include "xmlfield.h"

#include <tuple>

// The members of every record type as the XML codec writes and reads them, in writing order.
namespace Xml::Fields {

inline auto fields(Tag<CoConfig::Rack>)
{
    using R = CoConfig::Rack;
    return std::make_tuple(field(u"uid", &R::uid), field(u"name", &R::name), field(u"shortName", &R::shortName));
}

inline auto fields(Tag<CoConfig::Computer>)
{
    using R = CoConfig::Computer;
    return std::make_tuple(field(u"uid", &R::uid), field(u"rack", &R::rack), field(u"name", &R::name),
                           field(u"ipAddress", &R::ipAddress), flagsField(u"flags", &R::flags, &R::unknownFlags),
                           field(u"registrations", &R::registrations));
}

inline auto fields(Tag<CoConfig::Ups>)
{
    using R = CoConfig::Ups;
    return std::make_tuple(field(u"uid", &R::uid), field(u"rack", &R::rack), field(u"name", &R::name),
                           field(u"ipAddress", &R::ipAddress));
}

inline auto fields(Tag<CoConfig::Pdu>)
{
    using R = CoConfig::Pdu;
    return std::make_tuple(field(u"uid", &R::uid), field(u"rack", &R::rack), field(u"name", &R::name),
                           field(u"ipAddress", &R::ipAddress));
}

inline auto fields(Tag<CoConfig::OpenSensor>)
{
    using R = CoConfig::OpenSensor;
    return std::make_tuple(field(u"uid", &R::uid), field(u"ups", &R::ups), field(u"index", &R::index),
                           field(u"controlledRack", &R::controlledRack));
}

inline auto fields(Tag<CoConfig::PowerSocket>)
{
    using R = CoConfig::PowerSocket;
    return std::make_tuple(field(u"uid", &R::uid), field(u"pdu", &R::pdu), field(u"index", &R::index),
                           field(u"object", u"objectType", &R::object));
}

inline auto fields(Tag<CoConfig::Receiver>)
{
    using R = CoConfig::Receiver;
    return std::make_tuple(field(u"uid", &R::uid), field(u"rack", &R::rack), field(u"name", &R::name));
}

inline auto fields(Tag<CoConfig::ChannelServer>)
{
    using R = CoConfig::ChannelServer;
    return std::make_tuple(field(u"uid", &R::uid), field(u"computer", &R::computer), field(u"x64", &R::x64),
                           field(u"board", &R::board), field(u"name", &R::name),
                           field(u"controlPort", &R::controlPort), field(u"signalPort", &R::signalPort),
                           field(u"dacPort", &R::dacPort));
}

inline auto fields(Tag<CoConfig::Channel>)
{
    using R = CoConfig::Channel;
    return std::make_tuple(field(u"uid", &R::uid), field(u"name", &R::name), field(u"cassetteType", &R::cassetteType),
                           field(u"module", &R::module), field(u"fixed", &R::fixed), field(u"hidden", &R::hidden),
                           field(u"multi", &R::multi), field(u"scale", &R::scale), field(u"receiver", &R::receiver),
                           field(u"cassette", &R::cassette), field(u"channelServer", &R::channelServer),
                           field(u"serverIndex", &R::serverIndex), field(u"antennaControl", &R::antennaControl));
}

inline auto fields(Tag<CoConfig::ChannelParam>)
{
    using R = CoConfig::ChannelParam;
    return std::make_tuple(field(u"uid", &R::uid), field(u"name", &R::name), field(u"modes", &R::modes),
                           field(u"filters", &R::filters), field(u"attenuations", &R::attenuations));
}

inline auto fields(Tag<CoConfig::AntennaPool>)
{
    using R = CoConfig::AntennaPool;
    return std::make_tuple(field(u"uid", &R::uid), field(u"name", &R::name), uidField(u"antennaUids", &R::antennaUids));
}

inline auto fields(Tag<CoConfig::AntennaServer>)
{
    using R = CoConfig::AntennaServer;
    return std::make_tuple(field(u"uid", &R::uid), field(u"computer", &R::computer), field(u"name", &R::name),
                           field(u"controlPort", &R::controlPort), field(u"antennaPool", &R::antennaPool));
}

inline auto fields(Tag<Common::Antenna>)
{
    using R = Common::Antenna;
    return std::make_tuple(field(u"type", &R::type), field(u"azimuth", &R::azimuth), field(u"diagram", &R::diagram),
                           uidField(u"uid", &R::uid), field(u"state", &R::state));
}

inline auto fields(Tag<CoConfig::AntennaControl>)
{
    using R = CoConfig::AntennaControl;
    return std::make_tuple(field(u"uid", &R::uid), field(u"antennaServer", &R::antennaServer), field(u"rpu", &R::rpu),
                           field(u"group", &R::group), field(u"antenna", &R::antenna));
}

inline auto fields(Tag<CoConfig::ComplexInfo>)
{
    using R = CoConfig::ComplexInfo;
    return std::make_tuple(uidField(u"uid", &R::uid), field(u"name", &R::name),
                           field(u"description", &R::description));
}

inline auto fields(Tag<CoConfig::ArmUnion>)
{
    using R = CoConfig::ArmUnion;
    return std::make_tuple(uidField(u"uid", &R::uid), field(u"name", &R::name), uidField(u"armUids", &R::armUids),
                           uidField(u"antennaUids", &R::antennaUids));
}

inline auto fields(Tag<CoConfig::Pelengator>)
{
    using R = CoConfig::Pelengator;
    return std::make_tuple(uidField(u"uid", &R::uid), uidField(u"linkUid", &R::linkUid), field(u"name", &R::name),
                           field(u"capabilities", &R::capabilities), field(u"bandStart", &R::bandStart),
                           field(u"bandWidth", &R::bandWidth), field(u"latitude", &R::latitude),
                           field(u"longitude", &R::longitude), field(u"isVirtual", &R::isVirtual),
                           field(u"marked", &R::marked), field(u"payload", &R::payload));
}

inline auto fields(Tag<CoConfig::PelengatorUnion>)
{
    using R = CoConfig::PelengatorUnion;
    return std::make_tuple(uidField(u"uid", &R::uid), field(u"name", &R::name),
                           uidField(u"pelengatorUids", &R::pelengatorUids));
}

inline auto fields(Tag<CoConfig::InteractionLink>)
{
    using R = CoConfig::InteractionLink;
    return std::make_tuple(uidField(u"source", &R::source), uidField(u"receiver", &R::receiver));
}

inline auto fields(Tag<Common::Operator>)
{
    using R = Common::Operator;
    return std::make_tuple(uidField(u"uid", &R::uid), field(u"name", &R::name), field(u"surname", &R::surname),
                           field(u"thirdname", &R::thirdname), field(u"rank", &R::rank), field(u"post", &R::post));
}

inline auto fields(Tag<DataStore::DataStorage>)
{
    using R = DataStore::DataStorage;
    return std::make_tuple(uidField(u"uid", &R::uid), field(u"name", &R::name), field(u"path", &R::path),
                           uidField(u"computerUid", &R::computerUid));
}

} // namespace Xml::Fields
