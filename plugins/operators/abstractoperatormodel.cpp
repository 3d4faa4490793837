#include "abstractoperatormodel.h"

#include "basetreeitem.h"
#include "operatorworkingset.h"
#include "verticalheaderitem.h"

AbstractOperatorModel::AbstractOperatorModel(const QStringList& headers, OperatorWorkingSet* workingSet, QObject* parent)
    : QAbstractItemModel(parent), m_workingSet(workingSet), m_root(new VerticalHeaderItem(headers, workingSet))
{
}

AbstractOperatorModel::~AbstractOperatorModel()
{
    delete m_root;
}

QModelIndex AbstractOperatorModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    BaseTreeItem* parentItem = parent.isValid() ? itemFromIndex(parent) : m_root;
    BaseTreeItem* item = parentItem ? parentItem->child(row) : nullptr;
    return item ? createIndex(row, column, item) : QModelIndex();
}

QModelIndex AbstractOperatorModel::parent(const QModelIndex& index) const
{
    BaseTreeItem* item = itemFromIndex(index);
    if (!item || item->parent() == m_root || !item->parent())
        return QModelIndex();
    return indexOf(item->parent());
}

int AbstractOperatorModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    BaseTreeItem* item = parent.isValid() ? itemFromIndex(parent) : m_root;
    return item ? item->childCount() : 0;
}

int AbstractOperatorModel::columnCount(const QModelIndex&) const
{
    return BaseTreeItem::ColumnCount;
}

QVariant AbstractOperatorModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    BaseTreeItem* item = itemFromIndex(index);
    return item ? item->data(index.column()) : QVariant();
}

QVariant AbstractOperatorModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    if (section < 0 || section >= BaseTreeItem::ColumnCount)
        return QVariant();
    return m_root->data(section);
}

Qt::ItemFlags AbstractOperatorModel::flags(const QModelIndex& index) const
{
    BaseTreeItem* item = itemFromIndex(index);
    return item ? item->flags(index.column()) : Qt::NoItemFlags;
}

int AbstractOperatorModel::itemType(const QModelIndex& index) const
{
    BaseTreeItem* item = itemFromIndex(index);
    return item ? item->type() : 0;
}

void AbstractOperatorModel::addOperator(const Common::Operator& op)
{
    m_workingSet->addOperator(op);
}

bool AbstractOperatorModel::armAndUnionOf(const QModelIndex& index, CoConfig::Computer& arm,
                                          CoConfig::ArmUnion& armUnion) const
{
    return armOf(index, arm) && unionOf(index, armUnion);
}

void AbstractOperatorModel::paste(const QList<QPersistentModelIndex>&, const QModelIndex&)
{
}

BaseTreeItem* AbstractOperatorModel::itemFromIndex(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<BaseTreeItem*>(index.internalPointer());
}

QModelIndex AbstractOperatorModel::indexOf(const BaseTreeItem* item, int column) const
{
    if (!item || item == m_root)
        return QModelIndex();
    return createIndex(item->row(), column, const_cast<BaseTreeItem*>(item));
}

void AbstractOperatorModel::appendItem(BaseTreeItem* parent, BaseTreeItem* item)
{
    const int row = parent->childCount();
    beginInsertRows(indexOf(parent), row, row);
    parent->appendChild(item);
    endInsertRows();
}

void AbstractOperatorModel::removeItem(BaseTreeItem* item)
{
    BaseTreeItem* parent = item->parent();
    const int row = item->row();
    beginRemoveRows(indexOf(parent), row, row);
    parent->deleteChild(row);
    endRemoveRows();
}

void AbstractOperatorModel::itemChanged(BaseTreeItem* item)
{
    emit dataChanged(indexOf(item, 0), indexOf(item, BaseTreeItem::ColumnCount - 1));
}

void AbstractOperatorModel::rowsShownAnew()
{
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}
