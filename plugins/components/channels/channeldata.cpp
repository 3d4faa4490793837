#include "channeldata.h"

#include "channelmoduleeditdelegate.h"

template <>
ColumnBinding<CoConfig::Channel> columnBinding<CoConfig::Channel>(int field)
{
    using namespace CoConfig;
    using namespace Bindings;
    switch (field) {
    case FieldUid:
        return ownUid<Channel>();
    case FieldName:
        return text<&Channel::name>();
    case FieldCassetteType:
        return reference<&Channel::cassetteType>();
    case FieldModule: {
        ColumnBinding<Channel> module = integer<&Channel::module>();
        module.makeDelegate = &makeHolder<ChannelModuleEditDelegate>;
        return module;
    }
    case FieldFixed:
        return boolean<&Channel::fixed>();
    case FieldHidden:
        return boolean<&Channel::hidden>();
    case FieldMulti:
        return boolean<&Channel::multi>();
    case FieldScale:
        return integer<&Channel::scale>();
    case FieldReceiver:
        // "rack/receiver"
        return reference<&Channel::receiver, ComponentSelectDelegate<Receiver, 2, Rack, 0>, &referencedPath<2>>();
    case FieldCassette:
        return integer<&Channel::cassette>();
    case FieldChannelServer:
        // "rack/computer/server" in the cell, "computer/server" in the combo box
        return reference<&Channel::channelServer, ComponentSelectDelegate<ChannelServer, 3, Computer, 1>,
                         &referencedPath<3, 3>>();
    case FieldServerIndex:
        return integer<&Channel::serverIndex>();
    case FieldRpu:
        // "antenna server/3 (group)"
        return reference<&Channel::antennaControl, ComponentSelectDelegate<AntennaControl, 8, AntennaServer, 7>,
                         &referencedPath<8>>();
    default:
        return unused<Channel>();
    }
}
