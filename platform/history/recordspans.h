#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace History {

// One child element of a file's root, as bytes: found without parsing the XML, so that records
// whose bytes are equal in two versions cost one comparison.
struct RecordSpan
{
    QByteArrayView element; // its name
    QByteArrayView uid;     // its uid attribute's value; empty without one
    QByteArrayView bytes;   // from its '<' to its end
};

struct RecordSpans
{
    QByteArrayView rootTag; // the root's start tag
    QList<RecordSpan> records;
};

// Splits a document into its root's start tag and child elements; false when the bytes are not
// such a document (the caller's XML reader then says why). Comments, processing instructions
// and CDATA are skipped; quoted attribute values may hold any character.
bool scanRecords(QByteArrayView bytes, RecordSpans* spans);

// Of two versions of a document, only the records around the bytes where they differ (the
// others are equal), found by the layout the store writes: each record starts a line, indented
// by two spaces. False when the versions are not laid out so around their difference; true with
// no records when they are equal. The root tags are left empty: they are equal.
bool differingRecords(QByteArrayView before, QByteArrayView after, RecordSpans* old, RecordSpans* now);

} // namespace History
