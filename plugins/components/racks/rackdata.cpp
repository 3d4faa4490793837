#include "rackdata.h"

template <>
ColumnBinding<CoConfig::Rack> columnBinding<CoConfig::Rack>(int field)
{
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<CoConfig::Rack>();
    case FieldName:
        return Bindings::text<&CoConfig::Rack::name>();
    case FieldShortName:
        return Bindings::text<&CoConfig::Rack::shortName>();
    default:
        return Bindings::unused<CoConfig::Rack>();
    }
}
