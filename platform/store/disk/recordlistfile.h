#pragma once

#include "kindfile.h"
#include "recordelement.h"

#include <algorithm>

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
    void copy(ComplexData& into, const ComplexData& from) const override { m_get(into) = list(from); }
    bool shared(const ComplexData& a, const ComplexData& b) const override { return list(a).isSharedWith(list(b)); }
    bool equal(const ComplexData& a, const ComplexData& b) const override { return list(a) == list(b); }
    bool writtenAlike(const ComplexData& a, const ComplexData& b) const override
    {
        const QList<Record>& first = list(a);
        const QList<Record>& second = list(b);
        const QString element = QLatin1String(Xml::elementName<Record>());
        return first.size() == second.size()
            && std::equal(first.cbegin(), first.cend(), second.cbegin(), [&element](const Record& x, const Record& y) {
                   return recordWrittenAlike(element, x, y);
               });
    }

protected:
    bool writeRecords(Xml::TextWriter& writer, const ComplexData& data, QString* error) const override
    {
        const QString element = QLatin1String(Xml::elementName<Record>());
        for (const Record& record : m_get(const_cast<ComplexData&>(data))) {
            if (!writeRecordElement(writer, element, record, path(), error))
                return false;
        }
        return true;
    }

    bool readElement(RecordDocumentReader& reader, ComplexData& data) const override
    {
        Record record;
        const ElementRead read = readRecordElement(reader, record);
        if (read == ElementRead::Record)
            m_get(data).append(std::move(record));
        return read != ElementRead::Failed;
    }

    bool readParsedElement(const pugi::xml_node& element, ComplexData& data) const override
    {
        Record record;
        if (!readRecordNode(element, record))
            return false;
        m_get(data).append(std::move(record));
        return true;
    }

private:
    const QList<Record>& list(const ComplexData& data) const { return m_get(const_cast<ComplexData&>(data)); }

    Accessor m_get;
};

} // namespace CoConfig
