#include "opensensordata.h"

namespace {

using CoConfig::OpenSensor;
using Store = CoConfig::ComplexConfigInterface;

// A UPS in the cell: "name (rack)". Its combo lists "rack/name".
QString upsText(const Store& store, const CoConfig::ComponentUid<9>& uid)
{
    const CoConfig::Ups ups = ComponentStore<9>::map(store).value(uid);
    const CoConfig::Rack rack = ComponentStore<0>::map(store).value(ups.rack);
    return QStringLiteral("%1 (%2)").arg(componentLabel(ups), componentLabel(rack));
}

using UpsSelect = ComponentSelectDelegate<CoConfig::Ups, 9, CoConfig::Rack, 0>;

} // namespace

template <>
ColumnBinding<OpenSensor> columnBinding<OpenSensor>(int field)
{
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<OpenSensor>();
    case FieldUps:
        return Bindings::reference<&OpenSensor::ups, UpsSelect, &upsText>();
    case FieldIndex:
        return Bindings::integer<&OpenSensor::index>();
    case FieldControlledRack:
        return Bindings::reference<&OpenSensor::controlledRack>();
    default:
        return Bindings::unused<OpenSensor>();
    }
}
