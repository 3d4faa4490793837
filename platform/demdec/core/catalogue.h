#pragma once

#include "framereader.h"
#include "safexmlreader.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace DemDecData {

// One demodulator or decoder that a server offers: the task attributes of a processing node.
struct CatalogueEntry
{
    QStringList values; // ordered as Names::taskAttributes()

    QString value(const QString& name) const;
    QString id() const { return value(QStringLiteral("id")); }
    // "group / subgroup / name", skipping empty parts.
    QString title() const;

    bool operator==(const CatalogueEntry& other) const { return values == other.values; }
};

// The demodulators and decoders of a server: <demdec_catalogue> holding <demdec_task> elements,
// each with a non-empty id that no other entry has.
class Catalogue
{
public:
    // More than any server offers; a longer list is an error, not a wait.
    static constexpr int MaxEntries = 10000;
    // The catalogue travels in one frame.
    static constexpr qint64 MaxBytes = QNetData::FrameReader::DefaultLimit - 1;

    const QList<CatalogueEntry>& entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }
    int size() const { return int(m_entries.size()); }
    int indexOf(const QString& id) const;

    // False, with *error filled, for anything but a catalogue of at most MaxEntries entries in
    // at most MaxBytes.
    static bool fromXml(const QByteArray& bytes, Catalogue* catalogue, Xml::ReadError* error);
    QByteArray toXml() const;

    bool operator==(const Catalogue& other) const { return m_entries == other.m_entries; }

private:
    QList<CatalogueEntry> m_entries;
};

} // namespace DemDecData
