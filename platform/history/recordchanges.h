#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace History {

// A member of a record whose value differs between two versions: an attribute or a child
// element, by its name in the file (members this version does not know included).
struct FieldChange
{
    QString member;
    QString oldValue; // empty when the member was not there
    QString newValue;
};

struct RecordChange
{
    enum Type { Added, Removed, Changed };
    Type type = Changed;
    QString element; // the record's element ("Rack"), or the root's for its own attributes
    QString uid;     // empty for records without one (links) and for the root
    QString name;    // the record's name attribute, as after the change (before, when removed)
    QList<FieldChange> fields;
};

// What changed in one file of records between two versions of its bytes.
struct FileChanges
{
    QString path;
    QString element;            // the records' element, naming their kind
    int counts[3] = {0, 0, 0};  // by RecordChange::Type
    QList<RecordChange> records; // each one, unless only counted
    QString error; // a version could not be read as XML: the changes are unknown

    int count(RecordChange::Type type) const { return counts[type]; }
    bool isEmpty() const { return counts[0] + counts[1] + counts[2] == 0; }
};

// How far a comparison goes: which records changed (by their bytes: what a commit message
// counts), or also which of their members (what is shown record by record; a record whose
// members are all equal, laid out anew, is then no change).
enum class Detail { Counts, Fields };

// Compares two versions of a file holding one record per child element of its root: records
// are matched by their uid attribute (records without one by their whole content); records
// whose bytes are equal are equal, others are read and their attributes and child elements
// compared one by one. Either version may be empty (the file did not exist).
FileChanges compareRecordFiles(const QString& path, const QByteArray& before, const QByteArray& after,
                               Detail detail = Detail::Fields);

} // namespace History
