#pragma once

#include "recordstep.h"

#include <QAbstractTableModel>

#include <functional>

class QUndoStack;
class StandardData;

namespace CoConfig {
class ComplexConfigInterface;
}

// The table model of a component editor: the rows and columns of a StandardData, which it
// neither owns nor replaces. It adds only the notifications around each change.
class StandardModel : public QAbstractTableModel
{
public:
    StandardModel(StandardData* data, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Every change below becomes one step of this history (none without one).
    void setUndoStack(QUndoStack* stack) { m_undo = stack; }

    // True when the store's records differ from the rows held before.
    bool load(CoConfig::ComplexConfigInterface* store);
    void save(CoConfig::ComplexConfigInterface* store);
    // Appends a record with a fresh uid (or the given one); false when the store can give no uid.
    bool appendRecord(int uid = -1);
    // A fresh uid for a new row; -1 when the store can give none.
    int freshUid();
    // Removes those rows, each contiguous run at once; more runs than maxNotifiedRuns are
    // removed behind one reset.
    void removeRecords(const QList<int>& rows);
    static constexpr int maxNotifiedRuns = 16;
    // Writes valueOf(n) into the n-th of those rows of the column, with one notification for all;
    // one step of the history, named by step with %1 the count of cells changed.
    void setColumnData(const QList<int>& rows, int column, const std::function<QVariant(int n)>& valueOf,
                       const QString& step = QString());
    // Writes lines of cells (column, edit value): the first ones into those rows, the rest into
    // rows appended under the given uids, one each; one notification for the rows changed, one
    // for those added, one step of the history named step.
    using Cells = QList<QPair<int, QVariant>>;
    void setCells(const QList<int>& rows, const QList<Cells>& lines, const QList<int>& uids, const QString& step);
    // Appends the records of the clipboard bytes, each with a fresh uid; returns how many, or -1
    // (and appends none) when the store can give fewer uids than there are records.
    int pasteRecords(const QByteArray& bytes);

    // For the history's steps: records found by uid (the entry's row first) and put back whole.
    void restoreRecords(const QVector<RecordStep::Entry>& entries, bool toBefore);
    void takeRecords(const QVector<RecordStep::Entry>& entries);
    void putBackRecords(const QVector<RecordStep::Entry>& entries);

private:
    void removeSorted(const QList<int>& sorted);
    int rowOf(int uid, int hint, QHash<int, int>& rows) const;
    void push(RecordStep::Kind kind, const QString& text, QVector<RecordStep::Entry> entries);

    StandardData* const m_data;
    int m_columnCount = 0;
    QUndoStack* m_undo = nullptr;
};
