#include "receiverdata.h"

template <>
ColumnBinding<CoConfig::Receiver> columnBinding<CoConfig::Receiver>(int field)
{
    using CoConfig::Receiver;
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<Receiver>();
    case FieldRack:
        return Bindings::reference<&Receiver::rack>();
    case FieldName:
        return Bindings::text<&Receiver::name>();
    default:
        return Bindings::unused<Receiver>();
    }
}
