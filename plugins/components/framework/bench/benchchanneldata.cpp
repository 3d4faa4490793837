#include "benchchanneldata.h"

template <>
ColumnBinding<CoConfig::Channel> columnBinding<CoConfig::Channel>(int field)
{
    using CoConfig::Channel;
    using namespace Bindings;
    switch (field) {
    case FieldUid:
        return ownUid<Channel>();
    case FieldName:
        return text<&Channel::name>();
    case FieldCassetteType:
        return reference<&Channel::cassetteType>();
    case FieldModule:
        return integer<&Channel::module>();
    case FieldFixed:
        return boolean<&Channel::fixed>();
    case FieldHidden:
        return boolean<&Channel::hidden>();
    case FieldMulti:
        return boolean<&Channel::multi>();
    case FieldScale:
        return integer<&Channel::scale>();
    case FieldReceiver:
        return reference<&Channel::receiver, ComponentSelectDelegate<CoConfig::Receiver, 2, CoConfig::Rack, 0>,
                         &referencedPath<2>>();
    case FieldCassette:
        return integer<&Channel::cassette>();
    case FieldChannelServer:
        return reference<&Channel::channelServer,
                         ComponentSelectDelegate<CoConfig::ChannelServer, 3, CoConfig::Computer, 1>,
                         &referencedPath<3>>();
    case FieldServerIndex:
        return integer<&Channel::serverIndex>();
    case FieldRpu:
        return reference<&Channel::antennaControl,
                         ComponentSelectDelegate<CoConfig::AntennaControl, 8, CoConfig::AntennaServer, 7>,
                         &referencedPath<8>>();
    default:
        return unused<Channel>();
    }
}
