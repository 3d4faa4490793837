#pragma once

#include "bindings.h"
#include "componentclipboard.h"
#include "componentstore.h"
#include "configreader.h"
#include "configwriter.h"
#include "foreignparts.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QXmlStreamWriter>

#include <functional>

// One component editor as the conformance test knows it: a row of componentTables(), made by
// componentTable() from the editor's library, tab title, columns and a sample record.
struct ComponentTable
{
    QString library;   // the plugin's file name without ".so", e.g. "orvane-10-racks"
    QString rootClass; // the class of the library's root object, e.g. "OstrelInterface"
    QString title;     // its tab title
    QList<int> fields; // its columns, as ComponentField values
    int componentType = -1;
    // Adds a copy of the sample record to the store under the uid.
    std::function<void(CoConfig::ComplexConfigInterface& store, int uid)> addSample;
    // The store's records of the type by uid, each as an XML document without its uid: two
    // records compare equal when every member but the uid is equal.
    std::function<QMap<int, QByteArray>(const CoConfig::ComplexConfigInterface& store)> records;
    QByteArray newRecord; // a default record, as records() gives it
    // Every member of a record is in a column, so that its text pasted back is the same record.
    bool textShowsEveryMember = true;
    // A record as records() gives it, without what this version does not know (which text cannot carry).
    std::function<QByteArray(const QByteArray& record)> knownParts;
};

// Every component editor, one row each (componenttables.cpp).
QList<ComponentTable> componentTables();

// Adds the records that the samples refer to (racks, computers, antennas, ...), but none of the
// type ownType, each named after its kind; with an offset, another set under uids that much
// higher, with the same names.
void addReferencedRecords(CoConfig::ComplexConfigInterface& store, int ownType, int offset = 0);

template <typename T>
QByteArray documentWithoutUid(T record)
{
    record.uid = decltype(record.uid)();
    return ComponentClipboard::writeDocument(Xml::elementName<T>(), [&record](QXmlStreamWriter& writer) {
        Xml::ConfigWriter::write(writer, record);
    });
}

// The sample should set every member to something other than its default, so that a member
// lost on the way through the clipboard or the store shows; it is given foreign parts as well.
template <typename T>
ComponentTable componentTable(const QString& library, const QString& rootClass, const QString& title,
                              const QList<int>& fields, T sample)
{
    sample.unknown = ForeignParts::parts();
    constexpr int type = Bindings::UidTraits<decltype(sample.uid)>::type;
    ComponentTable table;
    table.library = library;
    table.rootClass = rootClass;
    table.title = title;
    table.fields = fields;
    table.componentType = type;
    table.addSample = [sample](CoConfig::ComplexConfigInterface& store, int uid) {
        T record = sample;
        record.uid = CoConfig::ComponentUid<type>(uid);
        ComponentStore<type>::map(store).insert(record.uid, record);
    };
    table.records = [](const CoConfig::ComplexConfigInterface& store) {
        QMap<int, QByteArray> records;
        const auto& map = ComponentStore<type>::map(store);
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            records.insert(it.key().value, documentWithoutUid(it.value()));
        return records;
    };
    table.newRecord = documentWithoutUid(T());
    table.knownParts = [](const QByteArray& document) {
        T record;
        ComponentClipboard::readDocument(document, Xml::elementName<T>(),
                                         [&record](QXmlStreamReader& reader) { Xml::ConfigReader::read(reader, record); });
        record.unknown = {};
        return documentWithoutUid(record);
    };
    return table;
}
