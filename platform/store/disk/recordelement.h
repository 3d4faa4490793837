#pragma once

#include "configreader.h"
#include "configwriter.h"
#include "kindfile.h"
#include "recorddocumentreader.h"

#include "textwriter.h"
#include <pugixml.hpp>

#include <cstring>

namespace CoConfig {

// One record as an element named after its class (element: Xml::elementName<Record>()); a record
// that the reader would refuse is not written: false, with the reason and the file's name.
template <typename Record>
bool writeRecordElement(Xml::TextWriter& writer, const QString& element, const Record& record, const QString& file,
                        QString* error)
{
    const QString refusal = Xml::ConfigWriter::refusal(record);
    if (!refusal.isEmpty()) {
        *error = QStringLiteral("Файл \"%1\" не записан: запись нельзя было бы прочитать (%2)").arg(file, refusal);
        return false;
    }
    writer.writeStartElement(element);
    Xml::ConfigWriter::write(writer, record);
    writer.writeEndElement();
    return true;
}

// Whether two records are written as the same bytes (false when either cannot be written).
template <typename Record>
bool writtenAlike(const QString& element, const Record& a, const Record& b)
{
    QByteArray first;
    QByteArray second;
    Xml::TextWriter firstWriter(&first);
    Xml::TextWriter secondWriter(&second);
    QString ignored;
    return writeRecordElement(firstWriter, element, a, QString(), &ignored)
        && writeRecordElement(secondWriter, element, b, QString(), &ignored) && !firstWriter.hasError()
        && !secondWriter.hasError() && first == second;
}

// Whether records that compare equal are written alike: a direction finder's equality leaves
// its link out.
template <typename Record>
inline constexpr bool equalityIsExact = true;
template <>
inline constexpr bool equalityIsExact<Pelengator> = false;

// The same, written out only where equality cannot tell.
template <typename Record>
bool recordWrittenAlike(const QString& element, const Record& a, const Record& b)
{
    if constexpr (equalityIsExact<Record>) {
        if (a == b)
            return true;
    }
    return writtenAlike(element, a, b);
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

// The same from a parsed document: false for anything but a record of this file read well.
template <typename Record>
bool readRecordNode(const pugi::xml_node& element, Record& record)
{
    return std::strcmp(element.name(), Xml::elementName<Record>()) == 0 && Xml::ConfigReader::read(element, record);
}

} // namespace CoConfig
