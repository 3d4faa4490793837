#pragma once

#include "records.h"
#include "xmlrecordtypes.h"

class QXmlStreamReader;

namespace Xml {

// Reads a record from the reader standing on its start element, up to and including its end
// element. Members not found keep their values. A value out of range or of the wrong form
// raises an error on the reader (reader.hasError()), naming the member.
class ConfigReader
{
public:
#define ORVANE_DECLARE_READ(Type, Name) static void read(QXmlStreamReader& reader, Type& record);
    ORVANE_XML_RECORD_TYPES(ORVANE_DECLARE_READ)
#undef ORVANE_DECLARE_READ
};

} // namespace Xml
