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

Qt::ItemFlags StandardModel::flags(const QModelIndex& index) const
{
    // Every cell is editable; the invalid index (the table's root) is no cell.
    if (!index.isValid())
        return Qt::NoItemFlags;
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

void StandardModel::removeRecord(int row)
{
    if (row < 0 || row >= m_data->rowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_data->removeRecords(row, 1);
    endRemoveRows();
}

void StandardModel::removeRecords(const QList<int>& rows)
{
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    // From the highest run to the lowest, so the rows still to go keep their numbers.
    qsizetype end = sorted.size();
    while (end > 0) {
        qsizetype begin = end - 1;
        while (begin > 0 && sorted.at(begin - 1) == sorted.at(begin) - 1)
            --begin;
        const int first = sorted.at(begin);
        const int last = sorted.at(end - 1);
        if (first >= 0 && last < m_data->rowCount()) {
            beginRemoveRows(QModelIndex(), first, last);
            m_data->removeRecords(first, last - first + 1);
            endRemoveRows();
        }
        end = begin;
    }
}

int StandardModel::pasteRecords(const QByteArray& bytes)
{
    const int count = m_data->pasteCount(bytes);
    QList<int> uids;
    uids.reserve(count);
    for (int k = 0; k < count; ++k) {
        const int uid = m_data->freshUid();
        if (uid < 0)
            break;
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
