#pragma once

#include "records.h"
#include "xmlrecordtypes.h"

class QXmlStreamWriter;

namespace Xml {

// The element name of a record type: the name of its class.
template <typename T>
const char* elementName();

#define ORVANE_DECLARE_ELEMENT_NAME(Type, Name) template <> inline const char* elementName<Type>() { return Name; }
ORVANE_XML_RECORD_TYPES(ORVANE_DECLARE_ELEMENT_NAME)
#undef ORVANE_DECLARE_ELEMENT_NAME

// Writes a record's content into the element that the caller has opened.
class ConfigWriter
{
public:
#define ORVANE_DECLARE_WRITE(Type, Name) static void write(QXmlStreamWriter& writer, const Type& record);
    ORVANE_XML_RECORD_TYPES(ORVANE_DECLARE_WRITE)
#undef ORVANE_DECLARE_WRITE
};

} // namespace Xml
