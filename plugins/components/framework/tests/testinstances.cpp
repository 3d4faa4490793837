#include "testinstances.h"

template <>
ColumnBinding<CoConfig::Receiver> columnBinding<CoConfig::Receiver>(int field)
{
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<CoConfig::Receiver>();
    case FieldRack:
        return Bindings::reference<&CoConfig::Receiver::rack>();
    case FieldName:
        return Bindings::text<&CoConfig::Receiver::name>();
    default:
        return Bindings::unused<CoConfig::Receiver>();
    }
}

template <>
ColumnBinding<CoConfig::ChannelServer> columnBinding<CoConfig::ChannelServer>(int field)
{
    using CoConfig::ChannelServer;
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<ChannelServer>();
    case FieldComputer:
        return Bindings::reference<&ChannelServer::computer, ComputerSelect, &Bindings::referencedPath<1>>();
    case FieldName:
        return Bindings::text<&ChannelServer::name>();
    case FieldX64:
        return Bindings::boolean<&ChannelServer::x64>();
    case FieldBoard:
        return Bindings::integer<&ChannelServer::board>();
    default:
        return Bindings::unused<ChannelServer>();
    }
}
