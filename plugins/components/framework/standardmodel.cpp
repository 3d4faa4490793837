#include "standardmodel.h"

#include "standarddata.h"

#include <algorithm>

StandardModel::StandardModel(StandardData* data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data), m_columnCount(int(data->columns().size()))
{
}

int StandardModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_data->rowCount();
}

int StandardModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant StandardModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    return m_data->data(index.row(), index.column(), role);
}

bool StandardModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !m_data->setData(value, index.row(), index.column(), role))
        return false;
    // Fill writes cells that have no editor open; they must repaint too.
    Q_EMIT dataChanged(index, index);
    return true;
}

QVariant StandardModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    return m_data->columns().value(section).value(role);
}

Qt::ItemFlags StandardModel::flags(const QModelIndex&) const
{
    // Every cell is editable; the root answers the same (35), as the plugins' callers expect.
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

void StandardModel::load(CoConfig::ComplexConfigInterface* store)
{
    beginResetModel();
    m_data->load(store);
    endResetModel();
}

void StandardModel::save(CoConfig::ComplexConfigInterface* store)
{
    m_data->save(store);
}

bool StandardModel::appendRecord()
{
    const int uid = m_data->freshUid();
    if (uid < 0)
        return false;
    const int row = m_data->rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_data->appendRecord(uid);
    endInsertRows();
    return true;
}

void StandardModel::removeRecords(const QList<int>& rows)
{
    QList<int> sorted;
    sorted.reserve(rows.size());
    const int rowCount = m_data->rowCount();
    for (const int row : rows) {
        if (row >= 0 && row < rowCount)
            sorted.append(row);
    }
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.isEmpty())
        return;

    // Each contiguous run of rows is one removal.
    QList<qsizetype> runStarts;
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        if (i == 0 || sorted.at(i) != sorted.at(i - 1) + 1)
            runStarts.append(i);
    }
    // A view spends time in proportion to the whole table on every removal it is told of, so
    // many scattered runs are removed at once behind a reset instead.
    if (runStarts.size() > maxNotifiedRuns) {
        beginResetModel();
        m_data->removeRecords(sorted);
        endResetModel();
        return;
    }
    // From the highest run to the lowest, so the runs still to go keep their row numbers.
    qsizetype end = sorted.size();
    for (qsizetype k = runStarts.size() - 1; k >= 0; --k) {
        const qsizetype begin = runStarts.at(k);
        beginRemoveRows(QModelIndex(), sorted.at(begin), sorted.at(end - 1));
        m_data->removeRecords(sorted.mid(begin, end - begin));
        endRemoveRows();
        end = begin;
    }
}

void StandardModel::setColumnData(const QList<int>& rows, int column, const std::function<QVariant(int n)>& valueOf)
{
    if (column < 0 || column >= m_columnCount)
        return;
    // One notification: a view re-measures its columns on each, which costs per row filled.
    int top = -1;
    int bottom = -1;
    for (int n = 0; n < rows.size(); ++n) {
        const int row = rows.at(n);
        if (row < 0 || row >= m_data->rowCount() || !m_data->setData(valueOf(n), row, column, Qt::EditRole))
            continue;
        top = top < 0 ? row : qMin(top, row);
        bottom = qMax(bottom, row);
    }
    if (top >= 0)
        Q_EMIT dataChanged(index(top, column), index(bottom, column));
}

int StandardModel::pasteRecords(const QByteArray& bytes)
{
    const int count = m_data->pasteCount(bytes);
    QList<int> uids;
    uids.reserve(count);
    for (int k = 0; k < count; ++k) {
        const int uid = m_data->freshUid();
        if (uid < 0)
            return -1; // all or nothing: part of a copy would be easy to miss
        uids.append(uid);
    }
    if (uids.isEmpty())
        return 0;
    const int row = m_data->rowCount();
    beginInsertRows(QModelIndex(), row, row + int(uids.size()) - 1);
    m_data->pasteRecords(bytes, uids);
    endInsertRows();
    return int(uids.size());
}
