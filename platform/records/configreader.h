#pragma once

#include "records.h"
#include "xmlrecordtypes.h"

class QXmlStreamReader;

namespace pugi {
class xml_node;
}

namespace Xml {

// Reads a record from the reader standing on its start element, up to and including its end
// element. Members not found keep their values. A value out of range or of the wrong form
// raises an error on the reader (reader.hasError()), naming the member.
// From a parsed document (the store's own files) the same, without messages: false when the node
// holds anything the stream would refuse or that this version does not know as a child element
// (the caller then reads the file as a stream).
class ConfigReader
{
public:
#define ORVANE_DECLARE_READ(Type, Name)                                 \
    static void read(QXmlStreamReader& reader, Type& record);          \
    static bool read(const pugi::xml_node& node, Type& record);
    ORVANE_XML_RECORD_TYPES(ORVANE_DECLARE_READ)
#undef ORVANE_DECLARE_READ
};

} // namespace Xml
