#include "pdudata.h"

template <>
ColumnBinding<CoConfig::Pdu> columnBinding<CoConfig::Pdu>(int field)
{
    using CoConfig::Pdu;
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<Pdu>();
    case FieldRack:
        return Bindings::reference<&Pdu::rack>();
    case FieldName:
        return Bindings::text<&Pdu::name>();
    case FieldIpAddress:
        return Bindings::text<&Pdu::ipAddress>();
    default:
        return Bindings::unused<Pdu>();
    }
}
