#pragma once

#include "textindex.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QVariant>
#include <QVector>

#include <any>

class StandardDelegate;

namespace CoConfig {
class ComplexConfigInterface;
}

// The records of one component type as the table model sees them: rows of columns.
class StandardData
{
public:
    StandardData() = default;
    StandardData(const StandardData&) = delete;
    StandardData& operator=(const StandardData&) = delete;
    virtual ~StandardData();

    // The header data of each column (Qt::DisplayRole title, Qt::ToolTipRole tooltip).
    virtual QVector<QHash<int, QVariant>> columns() const = 0;
    // A new holder of the column's own delegate (the caller owns it), or null.
    virtual StandardDelegate* createDelegate(int column) const = 0;

    // Replaces the rows with the store's records, in uid order; unsaved edits are dropped. True
    // when the records differ from the rows held before (in uid order), as after another
    // program's changes.
    virtual bool load(CoConfig::ComplexConfigInterface* store) = 0;
    // When the rows are the store's records already, each in its place (as after a save), takes
    // the store as a load would and returns true: only texts looked up in other records may
    // differ. Otherwise changes nothing and returns false.
    virtual bool keep(CoConfig::ComplexConfigInterface* store) = 0;
    // Replaces the store's records of this type with the rows; of two rows with one uid the later wins.
    virtual void save(CoConfig::ComplexConfigInterface* store) = 0;

    virtual int rowCount() const = 0;
    // A uid from the store that no row holds; -1 when there is no store or it can give none.
    virtual int freshUid() = 0;
    // Appends a default record with that uid.
    virtual void appendRecord(int uid) = 0;
    // Removes those rows, given ascending, distinct and in range, in one pass.
    virtual void removeRecords(const QList<int>& rows) = 0;

    virtual QVariant data(int row, int column, int role) const = 0;
    virtual bool setData(const QVariant& value, int row, int column, int role) = 0;
    // Reads the column's cells from pasted text over the records the store holds now; none for a
    // column whose text is stored as typed.
    virtual CellReader cellReader(int column) const = 0;
    // The column holds each record's own uid.
    virtual bool isOwnUid(int column) const = 0;
    // CoConfig::ComponentType of the records.
    virtual int recordType() const = 0;

    // Clipboard bytes of the records of those rows, in the order given.
    virtual QByteArray copyRecords(const QList<int>& rows) const = 0;
    // How many whole records of this type the bytes hold.
    virtual int pasteCount(const QByteArray& bytes) = 0;
    // Appends the first uids.size() records that the bytes hold, the k-th under uids[k].
    virtual void pasteRecords(const QByteArray& bytes, const QList<int>& uids) = 0;

    // Whole records as undo keeps them: copies of the record type, every member included.
    virtual std::any record(int row) const = 0;
    virtual void setRecord(int row, const std::any& record) = 0;
    virtual int uidAt(int row) const = 0;
    // Puts records back at their rows, given ascending as rows of the table after the insertion.
    virtual void insertRecords(const QVector<QPair<int, std::any>>& rows) = 0;
};
