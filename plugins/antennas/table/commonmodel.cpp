#include "commonmodel.h"

#include "tabledata.h"

#include "snapshotstep.h"

#include <QUndoStack>

CommonModel::CommonModel(TableData* data, QObject* parent) : QAbstractItemModel(parent), m_data(data)
{
}

QModelIndex CommonModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex CommonModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int CommonModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_data->rowCount();
}

int CommonModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_data->columnCount();
}

QVariant CommonModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::UserRole))
        return QVariant();
    return m_data->data(index.row(), index.column(), role);
}

bool CommonModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QVariant before = m_history ? m_data->snapshot() : QVariant();
    if (!m_data->setData(index.row(), index.column(), value))
        return false;
    emit dataChanged(index, index);
    stepped(tr("Изменение ячейки «%1»").arg(m_data->headers().value(index.column())), before);
    return true;
}

QVariant CommonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_data->columnCount()
        || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    return m_data->headers().value(section);
}

Qt::ItemFlags CommonModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return m_data->flags(index.column());
}

bool CommonModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (count < 1 || parent.isValid() || row < 0 || row > m_data->rowCount())
        return false;
    const QVariant before = m_history ? m_data->snapshot() : QVariant();
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_data->insertRows(row, count);
    endInsertRows();
    stepped(tr("Добавление строк (%1)").arg(count), before);
    return true;
}

bool CommonModel::removeRows(int row, int count, const QModelIndex& parent)
{
    count = qMin(count, m_data->rowCount() - row);
    if (count < 1 || parent.isValid() || row < 0)
        return false;
    const QVariant before = m_history ? m_data->snapshot() : QVariant();
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_data->removeRows(row, count);
    endRemoveRows();
    stepped(tr("Удаление строк (%1)").arg(count), before);
    return true;
}

void CommonModel::setHistory(QUndoStack* history, std::function<void(const QVariant&)> restore)
{
    m_history = history;
    m_restore = std::move(restore);
}

void CommonModel::beginStep(const QString& text)
{
    if (m_stepDepth++ > 0 || !m_history)
        return;
    m_stepText = text;
    m_stepBefore = m_data->snapshot();
}

void CommonModel::endStep()
{
    if (--m_stepDepth > 0 || !m_history)
        return;
    const QVariant before = std::exchange(m_stepBefore, QVariant());
    stepped(m_stepText, before);
}

void CommonModel::stepped(const QString& text, const QVariant& before)
{
    if (!m_history || m_stepDepth > 0 || !before.isValid())
        return;
    const QVariant after = m_data->snapshot();
    if (after == before)
        return;
    m_history->push(new Common::SnapshotStep<QVariant>(text, before, after, m_restore));
}

void CommonModel::restore(const QVariant& snapshot)
{
    beginResetModel();
    m_data->restore(snapshot);
    endResetModel();
}
