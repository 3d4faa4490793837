#include "ddtattributemodel.h"

#include "ddtformat.h"
#include "ddttreemodel.h"

namespace DemDecData {

namespace {
enum Column { NameColumn, ValueColumn, ColumnCount };
}

DdtAttributeModel::DdtAttributeModel(DdtTreeModel* tree, QObject* parent)
    : QAbstractTableModel(parent)
    , m_tree(tree)
{
    connect(tree, &QAbstractItemModel::dataChanged, this, &DdtAttributeModel::treeDataChanged);
    connect(tree, &QAbstractItemModel::rowsAboutToBeRemoved, this, &DdtAttributeModel::treeRowsAboutToBeRemoved);
    connect(tree, &QAbstractItemModel::modelAboutToBeReset, this, [this] { setNode(QModelIndex()); });
}

void DdtAttributeModel::setNode(const QModelIndex& treeIndex)
{
    beginResetModel();
    m_node = treeIndex.isValid() ? treeIndex.siblingAtColumn(0) : QModelIndex();
    endResetModel();
}

int DdtAttributeModel::rowCount(const QModelIndex& parent) const
{
    const DdtNode* target = m_tree->node(m_node);
    return parent.isValid() || !target ? 0 : int(target->attributeNames().size());
}

int DdtAttributeModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DdtAttributeModel::data(const QModelIndex& index, int role) const
{
    const DdtNode* target = m_tree->node(m_node);
    if (!target || !checkIndex(index, CheckIndexOption::IndexIsValid)
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return index.column() == NameColumn ? target->attributeNames().at(index.row()) : target->values().at(index.row());
}

bool DdtAttributeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != ValueColumn || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const QString text = value.toString();
    if (!DdtFormat::canHold(text)) {
        emit valueRefused(index.siblingAtColumn(NameColumn).data().toString());
        return false;
    }
    // The tree's dataChanged comes back through treeDataChanged and updates this table.
    return m_tree->setAttribute(m_node, index.row(), text);
}

Qt::ItemFlags DdtAttributeModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ValueColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant DdtAttributeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == NameColumn ? tr("Атрибут") : tr("Значение");
}

void DdtAttributeModel::treeDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (!m_node.isValid() || topLeft.parent() != m_node.parent() || m_node.row() < topLeft.row()
        || m_node.row() > bottomRight.row() || rowCount() == 0)
        return;
    emit dataChanged(index(0, ValueColumn), index(rowCount() - 1, ValueColumn));
}

void DdtAttributeModel::treeRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    for (QModelIndex shown = m_node; shown.isValid(); shown = shown.parent()) {
        if (shown.parent() == parent && shown.row() >= first && shown.row() <= last) {
            setNode(QModelIndex());
            return;
        }
    }
}

} // namespace DemDecData
