#pragma once

#include "configreader.h"
#include "configwriter.h"
#include "kindfile.h"
#include "recorddocumentreader.h"

#include <QXmlStreamWriter>

namespace CoConfig {

// A file of records kept in the store as a list (links): written in list order.
template <typename Record>
class RecordListFile : public KindFile
{
public:
    using Accessor = QList<Record>& (*)(ComplexData&);

    RecordListFile(const char* path, int bit, const char* rootName, Accessor get)
        : KindFile(path, bit, 0, rootName), m_get(get)
    {
    }

    void take(ComplexData& into, ComplexData& from) const override { m_get(into) = std::move(m_get(from)); }
    void clear(ComplexData& data) const override { m_get(data).clear(); }

protected:
    bool writeRecords(QXmlStreamWriter& writer, const ComplexData& data, QString*) const override
    {
        const QString element = QLatin1String(Xml::elementName<Record>());
        for (const Record& record : m_get(const_cast<ComplexData&>(data))) {
            writer.writeStartElement(element);
            Xml::ConfigWriter::write(writer, record);
            writer.writeEndElement();
        }
        return true;
    }

    bool readElement(RecordDocumentReader& reader, ComplexData& data) const override
    {
        QXmlStreamReader& xml = reader.xml();
        if (xml.name() != QLatin1String(Xml::elementName<Record>())) {
            if (isRecordElementName(xml.name().toString()))
                return reader.fail(QStringLiteral("элемент <%1> не относится к этому файлу").arg(xml.name().toString()));
            return reader.skipElement();
        }
        Record record;
        Xml::ConfigReader::read(xml, record);
        if (xml.hasError())
            return reader.failFromReader();
        m_get(data).append(record);
        return true;
    }

private:
    Accessor m_get;
};

} // namespace CoConfig
