#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>

namespace CoConfig {

struct ComplexData;
class KindFile;

// The highest uid ever given per kind in a directory, so that no uid is given there twice, not
// after its record was removed nor while references still hold it. Kept in "uids.xml" at the
// top of the directory and written with the commit that stores the records:
//   <UidMarks><Kind file="operators/operators.xml" last="12"/>...</UidMarks>
// Marks only rise; readers that do not know the file leave it alone.
class UidMarks
{
public:
    static QString fileName();

    // Raises the marks to the file's; a missing file holds none. False with the file and the
    // reason when it cannot be read.
    bool read(const QString& dirPath, QString* error);
    qint64 last(const KindFile& file) const; // INT_MIN when none
    void raise(const KindFile& file, qint64 uid);
    void raise(const UidMarks& other);
    QByteArray toBytes() const;

private:
    QMap<QString, qint64> m_last; // by the kind file's path
};

// Hands out uids per kind that no record holds and that were never handed out before.
// Each kind keeps a counter above the largest stored uid, the directory's mark and every answer,
// so an answer costs a map look-up; only when the counter reaches INT_MAX are gaps searched.
class UidAllocator
{
public:
    // -1 for a type that is not a single kind with uids, or when none is left. `given`: the
    // highest uid given before in the directory.
    int generate(int type, const ComplexData& data, qint64 given);

private:
    struct Kind
    {
        qint64 next = 1;
        QSet<int> answered;
    };
    QHash<int, Kind> m_kinds;
};

} // namespace CoConfig
