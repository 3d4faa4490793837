#include "componentfield.h"
#include "componenttable.h"

// Every component editor: its library, tab title, columns and a sample record.
QList<ComponentTable> componentTables()
{
    using namespace CoConfig;
    return {
        componentTable("orvane-10-racks", "Стойки", {FieldUid, FieldName, FieldShortName},
                       Rack{ComponentUid<0>(1), "Стойка управления", "СУ"}),
        componentTable("orvane-30-receivers", "Приёмники", {FieldUid, FieldRack, FieldName},
                       Receiver{ComponentUid<2>(1), ComponentUid<0>(2), "Приёмник КВ-1"}),
    };
}
