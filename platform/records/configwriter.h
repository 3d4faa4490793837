#pragma once

#include "records.h"
#include "xmlrecordtypes.h"

#include <QString>

class QXmlStreamWriter;

namespace Xml {

class TextWriter;

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
#define ORVANE_DECLARE_WRITE(Type, Name)                                \
    static void write(QXmlStreamWriter& writer, const Type& record); \
    static void write(TextWriter& writer, const Type& record);
    ORVANE_XML_RECORD_TYPES(ORVANE_DECLARE_WRITE)
#undef ORVANE_DECLARE_WRITE

    // Why ConfigReader would refuse the record once written (a member below the least value it
    // accepts), naming the member and the value; empty when it reads back.
#define ORVANE_DECLARE_REFUSAL(Type, Name) static QString refusal(const Type& record);
    ORVANE_XML_RECORD_TYPES(ORVANE_DECLARE_REFUSAL)
#undef ORVANE_DECLARE_REFUSAL
};

} // namespace Xml
