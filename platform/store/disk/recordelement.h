#pragma once

#include "configreader.h"
#include "configwriter.h"
#include "kindfile.h"
#include "recorddocumentreader.h"

#include <QXmlStreamWriter>

namespace CoConfig {

// One record as an element named after its class (element: Xml::elementName<Record>()).
template <typename Record>
void writeRecordElement(QXmlStreamWriter& writer, const QString& element, const Record& record)
{
    writer.writeStartElement(element);
    Xml::ConfigWriter::write(writer, record);
    writer.writeEndElement();
}

enum class ElementRead { Record, Skipped, Failed };

// Reads the child element the reader stands on: a record of this file, an element written by a
// newer version (skipped; carried over by others, ignored here), or an error on the reader.
template <typename Record>
ElementRead readRecordElement(RecordDocumentReader& reader, Record& record)
{
    QXmlStreamReader& xml = reader.xml();
    if (xml.name() != QLatin1String(Xml::elementName<Record>())) {
        const QString name = xml.name().toString();
        if (KindFile::isRecordElementName(name)) {
            reader.fail(QStringLiteral("элемент <%1> не относится к этому файлу").arg(name));
            return ElementRead::Failed;
        }
        return reader.skipElement() ? ElementRead::Skipped : ElementRead::Failed;
    }
    Xml::ConfigReader::read(xml, record);
    if (xml.hasError()) {
        reader.failFromReader();
        return ElementRead::Failed;
    }
    return ElementRead::Record;
}

} // namespace CoConfig
