#include "antennaserverdata.h"

template <>
ColumnBinding<CoConfig::AntennaServer> columnBinding<CoConfig::AntennaServer>(int field)
{
    using CoConfig::AntennaServer;
    using namespace Bindings;
    switch (field) {
    case FieldUid:
        return ownUid<AntennaServer>();
    case FieldName:
        return text<&AntennaServer::name>();
    case FieldComputer:
        // "rack/computer"
        return reference<&AntennaServer::computer, ComponentSelectDelegate<CoConfig::Computer, 1, CoConfig::Rack, 0>,
                         &referencedPath<1>>();
    case FieldControlPort:
        return integer<&AntennaServer::controlPort>();
    case FieldAntennaPool:
        return reference<&AntennaServer::antennaPool>();
    default:
        return unused<AntennaServer>();
    }
}
