#include "channelserverdata.h"

#include <QCoreApplication>

namespace {

QString boardToolTip()
{
    return QCoreApplication::translate(
        "ChannelServerData", "Если индекс платы больше или равен нулю, то planning будет автоматически стартовать сервер");
}

} // namespace

template <>
ColumnBinding<CoConfig::ChannelServer> columnBinding<CoConfig::ChannelServer>(int field)
{
    using CoConfig::ChannelServer;
    using namespace Bindings;
    switch (field) {
    case FieldUid:
        return ownUid<ChannelServer>();
    case FieldBoard:
        return integer<&ChannelServer::board, &boardToolTip>();
    case FieldName:
        return text<&ChannelServer::name>();
    case FieldX64:
        return boolean<&ChannelServer::x64>();
    case FieldComputer:
        return reference<&ChannelServer::computer, ComponentSelectDelegate<CoConfig::Computer, 1, CoConfig::Rack, 0>,
                         &referencedPath<1>>();
    case FieldControlPort:
        return integer<&ChannelServer::controlPort>();
    case FieldSignalPort:
        return integer<&ChannelServer::signalPort>();
    case FieldDacPort:
        return integer<&ChannelServer::dacPort>();
    default:
        return unused<ChannelServer>();
    }
}
