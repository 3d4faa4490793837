#pragma once

#include "bindings.h"
#include "columnbinding.h"
#include "componentclipboard.h"
#include "componentfield.h"
#include "componentstore.h"
#include "configreader.h"
#include "configwriter.h"
#include "standarddata.h"

#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <optional>

// The records of one component type: T is the record class, componentType its ComponentType,
// objectType the ComplexObjectType flag that new uids are asked for, and f0 … f12 the fields
// shown, in column order, ended by the first -1. The bindings come from columnBinding<T>.
template <typename T, int componentType, int objectType, int f0 = -1, int f1 = -1, int f2 = -1, int f3 = -1,
          int f4 = -1, int f5 = -1, int f6 = -1, int f7 = -1, int f8 = -1, int f9 = -1, int f10 = -1,
          int f11 = -1, int f12 = -1>
class ComponentData : public StandardData
{
    static_assert(std::is_same_v<typename ComponentStore<componentType>::Record, T>,
                  "the component type does not name this record class");

public:
    ComponentData()
    {
        for (const int field : {f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12}) {
            if (field < 0 || field >= FieldCount)
                break;
            m_headers.append(fieldHeaders().at(field));
            m_bindings.append(columnBinding<T>(field));
        }
    }

    QVector<QHash<int, QVariant>> columns() const override { return m_headers; }

    StandardDelegate* createDelegate(int column) const override
    {
        if (column < 0 || column >= m_bindings.size() || !m_bindings.at(column).makeDelegate)
            return nullptr;
        return m_bindings.at(column).makeDelegate();
    }

    bool load(CoConfig::ComplexConfigInterface* store) override
    {
        const auto byUid = [](const T& a, const T& b) { return a.uid.value < b.uid.value; };
        QVector<T> before = std::move(m_records);
        m_store = store;
        m_records.clear();
        bool changed = false;
        const bool rising = std::adjacent_find(before.cbegin(), before.cend(), [](const T& a, const T& b) {
                                return a.uid.value >= b.uid.value;
                            }) == before.cend();
        if (store && rising) {
            // Both go by uid: a row that is the store's record moves into place, the rest are
            // copied from the store.
            const auto& map = ComponentStore<componentType>::map(std::as_const(*store));
            m_records.reserve(map.size());
            auto row = before.begin();
            for (const T& stored : map) {
                for (; row != before.end() && row->uid.value < stored.uid.value; ++row)
                    changed = true; // a row the store no longer holds
                if (row != before.end() && *row == stored) {
                    m_records.append(std::move(*row++));
                } else {
                    m_records.append(stored);
                    changed = true;
                }
            }
            changed = changed || row != before.end();
            if (!std::is_sorted(m_records.cbegin(), m_records.cend(), byUid)) // a map by uid already is
                std::stable_sort(m_records.begin(), m_records.end(), byUid);
        } else {
            if (store) {
                m_records = ComponentStore<componentType>::map(std::as_const(*store)).values();
                if (!std::is_sorted(m_records.cbegin(), m_records.cend(), byUid))
                    std::stable_sort(m_records.begin(), m_records.end(), byUid);
            }
            if (!std::is_sorted(before.cbegin(), before.cend(), byUid))
                std::stable_sort(before.begin(), before.end(), byUid);
            changed = before != m_records;
        }
        forgetLoadedState();
        m_agreed.reset(); // the next comparison tells
        return changed;
    }

    bool keep(CoConfig::ComplexConfigInterface* store) override
    {
        if (!store || !holdsRecordsOf(*store))
            return false;
        m_agreed = ComponentStore<componentType>::map(std::as_const(*store));
        m_store = store;
        forgetLoadedState();
        return true;
    }

    void save(CoConfig::ComplexConfigInterface* store) override
    {
        if (!store)
            return;
        // Rows that are the store's records already leave its map alone (shared with what was
        // read, so the store sees the kind unchanged without comparing it).
        if (!holdsRecordsOf(*store)) {
            auto& map = ComponentStore<componentType>::map(*store);
            map.clear();
            // Rows are in uid order but for uids typed in: each goes in at the end, as a rule.
            for (const T& record : std::as_const(m_records))
                map.insert(map.cend(), record.uid, record);
        }
        // Rows in strictly rising uids are the map's records, each in its place.
        const bool rising = std::adjacent_find(m_records.cbegin(), m_records.cend(), [](const T& a, const T& b) {
                                return a.uid.value >= b.uid.value;
                            }) == m_records.cend();
        if (rising)
            m_agreed = ComponentStore<componentType>::map(std::as_const(*store));
        else
            m_agreed.reset();
        // The store now holds the other editors' commits too, whether or not its write succeeds:
        // names of referenced records are looked up again.
        m_displayTexts.fill({}, m_bindings.size());
    }

    int rowCount() const override { return int(m_records.size()); }

    int freshUid() override
    {
        if (!m_store)
            return -1;
        // The store never repeats an answer nor gives a uid that its records hold, and the rows
        // came from it or from its answers; only a uid typed in by hand can collide.
        for (qsizetype tries = 0; tries <= m_typedUids.size(); ++tries) {
            const int uid = m_store->generateObjectUid(objectType);
            if (uid < 0 || !m_typedUids.contains(uid))
                return uid;
        }
        return -1;
    }

    void appendRecord(int uid) override
    {
        m_agreed.reset();
        T record;
        record.uid = CoConfig::ComponentUid<componentType>(uid);
        m_records.append(record);
    }

    void removeRecords(const QList<int>& rows) override
    {
        if (rows.isEmpty() || rows.first() < 0 || rows.last() >= m_records.size())
            return;
        m_agreed.reset();
        // Close the gaps in one pass: each kept record moves at most once.
        T* const records = m_records.data();
        const qsizetype size = m_records.size();
        qsizetype write = rows.first();
        qsizetype next = 0;
        for (qsizetype read = rows.first(); read < size; ++read) {
            if (next < rows.size() && rows.at(next) == read) {
                ++next;
            } else {
                if (write != read)
                    records[write] = std::move(records[read]);
                ++write;
            }
        }
        m_records.resize(write);
    }

    QVariant data(int row, int column, int role) const override
    {
        if (!isCell(row, column))
            return QVariant();
        const ColumnBinding<T>& binding = m_bindings.at(column);
        const T& record = m_records.at(row);
        if (role != Qt::DisplayRole || !binding.displayKey || !m_store)
            return binding.get(record, role, m_store);
        QHash<qint64, QVariant>& texts = m_displayTexts[column];
        const qint64 key = binding.displayKey(record);
        const auto known = texts.constFind(key);
        if (known != texts.cend())
            return *known;
        return *texts.insert(key, binding.get(record, role, m_store));
    }

    bool setData(const QVariant& value, int row, int column, int role) override
    {
        if (!isCell(row, column))
            return false;
        m_agreed.reset();
        T& record = m_records[row];
        const int uidBefore = record.uid.value;
        const bool stored = m_bindings.at(column).set(value, record, role);
        if (record.uid.value != uidBefore)
            m_typedUids.insert(record.uid.value);
        return stored;
    }

    CellReader cellReader(int column) const override
    {
        if (column < 0 || column >= m_bindings.size() || !m_bindings.at(column).textReader)
            return CellReader();
        return m_bindings.at(column).textReader(m_store);
    }

    int recordType() const override { return componentType; }

    bool isOwnUid(int column) const override { return column >= 0 && column < m_bindings.size() && m_bindings.at(column).ownUid; }

    QByteArray copyRecords(const QList<int>& rows) const override
    {
        QList<QByteArray> documents;
        documents.reserve(rows.size());
        for (const int row : rows) {
            if (row < 0 || row >= m_records.size())
                continue;
            const T& record = m_records.at(row);
            documents.append(ComponentClipboard::writeDocument(
                Xml::elementName<T>(), [&record](QXmlStreamWriter& writer) { Xml::ConfigWriter::write(writer, record); }));
        }
        return ComponentClipboard::pack(documents);
    }

    int pasteCount(const QByteArray& bytes) override { return int(parse(bytes).size()); }

    void pasteRecords(const QByteArray& bytes, const QList<int>& uids) override
    {
        m_agreed.reset();
        const QVector<T> records = parse(bytes);
        const qsizetype count = std::min(records.size(), uids.size());
        m_records.reserve(m_records.size() + count);
        for (qsizetype k = 0; k < count; ++k) {
            T record = records.at(k);
            record.uid = CoConfig::ComponentUid<componentType>(uids.at(k));
            m_records.append(record);
        }
        m_pasteBytes.clear();
        m_pasteRecords.clear();
    }

    std::any record(int row) const override { return m_records.value(row); }

    void setRecord(int row, const std::any& record) override
    {
        if (row >= 0 && row < m_records.size()) {
            m_agreed.reset();
            m_records[row] = std::any_cast<const T&>(record);
        }
    }

    int uidAt(int row) const override { return row >= 0 && row < m_records.size() ? m_records.at(row).uid.value : -1; }

    void insertRecords(const QVector<QPair<int, std::any>>& rows) override
    {
        m_agreed.reset();
        // One pass: the kept rows fill the places the inserted ones leave.
        QVector<T> merged;
        merged.reserve(m_records.size() + rows.size());
        qsizetype kept = 0;
        for (const auto& [row, record] : rows) {
            while (merged.size() < row && kept < m_records.size())
                merged.append(std::move(m_records[kept++]));
            merged.append(std::any_cast<const T&>(record));
        }
        while (kept < m_records.size())
            merged.append(std::move(m_records[kept++]));
        m_records = std::move(merged);
    }

private:
    // The rows are the store's records of this type, each in its place. No record is compared
    // while the store's map is the one they last agreed with and no row changed since.
    bool holdsRecordsOf(const CoConfig::ComplexConfigInterface& store) const
    {
        const auto& current = ComponentStore<componentType>::map(store);
        if (current.size() != m_records.size())
            return false;
        if (m_agreed && m_agreed->isSharedWith(current))
            return true;
        return std::equal(current.keyValueBegin(), current.keyValueEnd(), m_records.cbegin(),
                          [](const auto& stored, const T& record) {
                              return stored.first == record.uid && stored.second == record;
                          });
    }

    // What a load ends: uids typed, the last paste read, the texts of referenced records.
    void forgetLoadedState()
    {
        m_typedUids.clear();
        m_pasteBytes.clear();
        m_pasteRecords.clear();
        m_displayTexts.fill({}, m_bindings.size());
    }

    bool isCell(int row, int column) const
    {
        return row >= 0 && row < m_records.size() && column >= 0 && column < m_bindings.size();
    }

    // The whole records of this type that the bytes hold. The last answer is kept, since a
    // paste asks for the count and then for the records of the same bytes.
    QVector<T> parse(const QByteArray& bytes)
    {
        if (bytes.isEmpty() || bytes != m_pasteBytes) {
            QVector<T> records;
            ComponentClipboard::unpack(bytes, [&records](const QByteArray& document) {
                T record;
                if (ComponentClipboard::readDocument(document, Xml::elementName<T>(), [&record](QXmlStreamReader& reader) {
                        Xml::ConfigReader::read(reader, record);
                    }))
                    records.append(record);
            });
            m_pasteBytes = bytes;
            m_pasteRecords = records;
        }
        return m_pasteRecords;
    }

    CoConfig::ComplexConfigInterface* m_store = nullptr;
    QVector<QHash<int, QVariant>> m_headers;
    QVector<ColumnBinding<T>> m_bindings;
    QVector<T> m_records;
    // The store's map when the rows were last its records, each in its place; reset by any change
    // of a row.
    std::optional<std::decay_t<decltype(ComponentStore<componentType>::map(std::declval<const CoConfig::ComplexConfigInterface&>()))>> m_agreed;
    QSet<int> m_typedUids; // uids set by hand since the last load, whether still held or not
    QByteArray m_pasteBytes;
    QVector<T> m_pasteRecords;
    // Per column with a display key: the text of each key, as the store held it at the last load.
    mutable QVector<QHash<qint64, QVariant>> m_displayTexts;
};
