#pragma once

#include "kindfile.h"
#include "recordelement.h"

namespace CoConfig {

namespace UidKey {
inline int value(int uid) { return uid; }
template <int N>
int value(const ComponentUid<N>& uid) { return uid.value; }
} // namespace UidKey

// A file of records kept in the store as a map by uid; written in ascending uid order.
template <typename Map>
class RecordMapFile : public KindFile
{
public:
    using Record = typename Map::mapped_type;
    using Accessor = Map& (*)(ComplexData&);

    RecordMapFile(const char* path, int bit, int uidType, const char* rootName, Accessor get)
        : KindFile(path, bit, uidType, rootName), m_get(get)
    {
    }

    void take(ComplexData& into, ComplexData& from) const override { m_get(into) = std::move(m_get(from)); }
    void clear(ComplexData& data) const override { m_get(data).clear(); }
    void copy(ComplexData& into, const ComplexData& from) const override { m_get(into) = constMap(from); }
    bool shared(const ComplexData& a, const ComplexData& b) const override { return constMap(a).isSharedWith(constMap(b)); }
    bool equal(const ComplexData& a, const ComplexData& b) const override
    {
        if constexpr (equalityIsExact<Record>)
            return constMap(a) == constMap(b);
        return shared(a, b);
    }

    // Record by record, only those whose equality cannot tell written as bytes.
    bool writtenAlike(const ComplexData& a, const ComplexData& b) const override
    {
        const Map& first = constMap(a);
        const Map& second = constMap(b);
        if (first.size() != second.size())
            return false;
        const QString element = QLatin1String(Xml::elementName<Record>());
        for (auto i = first.cbegin(), j = second.cbegin(); i != first.cend(); ++i, ++j) {
            if (i.key() != j.key() || UidKey::value(i.key()) != UidKey::value(i->uid)
                || UidKey::value(j.key()) != UidKey::value(j->uid))
                return false;
            if (!recordWrittenAlike(element, *i, *j))
                return false;
        }
        return true;
    }

    qint64 lastUid(const ComplexData& data) const override
    {
        const Map& map = constMap(data);
        return map.isEmpty() ? INT_MIN : UidKey::value(map.lastKey());
    }

    bool holdsUid(const ComplexData& data, int uid) const override
    {
        return constMap(data).contains(typename Map::key_type(uid));
    }

protected:
    bool writeRecords(Xml::TextWriter& writer, const ComplexData& data, QString* error) const override
    {
        const QString element = QLatin1String(Xml::elementName<Record>());
        const Map& map = constMap(data);
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            // A record under a key other than its own uid would read back elsewhere, or clash.
            if (UidKey::value(it.key()) != UidKey::value(it->uid)) {
                *error = QStringLiteral("Запись %1 с идентификатором %2 хранится под идентификатором %3; файл \"%4\" не записан")
                             .arg(element)
                             .arg(UidKey::value(it->uid))
                             .arg(UidKey::value(it.key()))
                             .arg(path());
                return false;
            }
            if (!writeRecordElement(writer, element, *it, path(), error))
                return false;
        }
        return true;
    }

    bool readElement(RecordDocumentReader& reader, ComplexData& data) const override
    {
        const qint64 line = reader.xml().lineNumber();
        Record record;
        const ElementRead read = readRecordElement(reader, record);
        if (read != ElementRead::Record)
            return read == ElementRead::Skipped;
        Map& map = m_get(data);
        const auto key = record.uid;
        if (map.isEmpty() || map.lastKey() < key) {
            map.insert(map.cend(), key, std::move(record)); // files are in uid order: append
        } else if (map.contains(key)) {
            return reader.fail(QStringLiteral("идентификатор %1 повторяется").arg(UidKey::value(key)), line);
        } else {
            map.insert(key, std::move(record));
        }
        return true;
    }

    bool readParsedElement(const pugi::xml_node& element, ComplexData& data) const override
    {
        Record record;
        if (!readRecordNode(element, record))
            return false;
        Map& map = m_get(data);
        const auto key = record.uid;
        if (map.isEmpty() || map.lastKey() < key)
            map.insert(map.cend(), key, std::move(record));
        else if (map.contains(key))
            return false;
        else
            map.insert(key, std::move(record));
        return true;
    }

private:
    const Map& constMap(const ComplexData& data) const { return m_get(const_cast<ComplexData&>(data)); }

    Accessor m_get;
};

} // namespace CoConfig
