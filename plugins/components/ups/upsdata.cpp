#include "upsdata.h"

template <>
ColumnBinding<CoConfig::Ups> columnBinding<CoConfig::Ups>(int field)
{
    using CoConfig::Ups;
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<Ups>();
    case FieldName:
        return Bindings::text<&Ups::name>();
    case FieldRack:
        return Bindings::reference<&Ups::rack>();
    case FieldIpAddress:
        return Bindings::text<&Ups::ipAddress>();
    default:
        return Bindings::unused<Ups>();
    }
}
