#include "ddttreemodel.h"

namespace DemDecData {

namespace {
enum Column { TitleColumn, IdColumn, ColumnCount };
}

DdtTreeModel::DdtTreeModel(int maxDepth, QObject* parent)
    : QAbstractItemModel(parent)
    , m_maxDepth(maxDepth)
{
}

DdtTreeModel::~DdtTreeModel() = default;

void DdtTreeModel::setRoot(std::unique_ptr<DdtNode> root, const QString& title)
{
    beginResetModel();
    m_root = std::move(root);
    m_rootTitle = title;
    endResetModel();
}

DdtNode* DdtTreeModel::node(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this ? static_cast<DdtNode*>(index.internalPointer()) : nullptr;
}

QModelIndex DdtTreeModel::indexOf(const DdtNode* node) const
{
    if (!node || !m_root)
        return QModelIndex();
    return createIndex(node == m_root.get() ? 0 : node->row(), TitleColumn, const_cast<DdtNode*>(node));
}

bool DdtTreeModel::canAppend(const QModelIndex& parent, DdtNode::Kind kind) const
{
    const DdtNode* holder = node(parent);
    if (!holder || !holder->canHold(kind))
        return false;
    return kind != DdtNode::Kind::Processing || holder->processingDepth() < m_maxDepth;
}

QModelIndex DdtTreeModel::appendNode(const QModelIndex& parent, std::unique_ptr<DdtNode> child)
{
    if (!child || !canAppend(parent, child->kind()))
        return QModelIndex();
    // A node arriving with children must still fit under the depth limit.
    DdtNode* holder = node(parent);
    if (holder->processingDepth() + child->processingHeight() > m_maxDepth)
        return QModelIndex();
    const int row = holder->childCount();
    beginInsertRows(indexOf(holder), row, row);
    DdtNode* inserted = holder->insertChild(row, std::move(child));
    endInsertRows();
    return indexOf(inserted);
}

bool DdtTreeModel::removeNode(const QModelIndex& index)
{
    DdtNode* target = node(index);
    if (!target || target == m_root.get())
        return false;
    DdtNode* holder = target->parent();
    const int row = target->row();
    beginRemoveRows(indexOf(holder), row, row);
    holder->takeChild(row);
    endRemoveRows();
    return true;
}

bool DdtTreeModel::setAttribute(const QModelIndex& index, int attribute, const QString& value)
{
    DdtNode* target = node(index);
    if (!target || !target->setAttribute(attribute, value))
        return false;
    const QModelIndex first = indexOf(target);
    emit dataChanged(first, first.siblingAtColumn(ColumnCount - 1));
    return true;
}

QModelIndex DdtTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= ColumnCount || row < 0)
        return QModelIndex();
    if (!parent.isValid())
        return m_root && row == 0 ? createIndex(0, column, m_root.get()) : QModelIndex();
    const DdtNode* holder = node(parent);
    if (!holder || parent.column() != TitleColumn)
        return QModelIndex();
    DdtNode* child = holder->child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex DdtTreeModel::parent(const QModelIndex& index) const
{
    const DdtNode* child = node(index);
    return child ? indexOf(child->parent()) : QModelIndex();
}

int DdtTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return m_root ? 1 : 0;
    const DdtNode* holder = node(parent);
    return holder && parent.column() == TitleColumn ? holder->childCount() : 0;
}

int DdtTreeModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant DdtTreeModel::data(const QModelIndex& index, int role) const
{
    const DdtNode* target = node(index);
    if (!target)
        return QVariant();
    if (role == Qt::DisplayRole)
        return index.column() == IdColumn ? target->attribute(QStringLiteral("id")) : title(*target);
    if (role == Qt::ToolTipRole && target->kind() == DdtNode::Kind::Processing) {
        QStringList lines;
        for (const char* name : {"group", "subgroup", "name", "caps"}) {
            const QString value = target->attribute(QLatin1String(name));
            if (!value.isEmpty())
                lines.append(QStringLiteral("%1: %2").arg(QLatin1String(name), value));
        }
        return lines.join(QLatin1Char('\n'));
    }
    return QVariant();
}

QVariant DdtTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case TitleColumn:
        return tr("Узел");
    case IdColumn:
        return tr("ID");
    default:
        return QVariant();
    }
}

QString DdtTreeModel::title(const DdtNode& node) const
{
    switch (node.kind()) {
    case DdtNode::Kind::Root:
        return m_rootTitle.isEmpty() ? tr("Дерево") : m_rootTitle;
    case DdtNode::Kind::Processing: {
        const QString name = node.attribute(QStringLiteral("name"));
        return name.isEmpty() ? tr("Узел %1").arg(node.attribute(QStringLiteral("id"))) : name;
    }
    case DdtNode::Kind::Results: {
        const QString type = node.attribute(QStringLiteral("type"));
        return type.isEmpty() ? tr("Результат") : tr("Результат: %1").arg(type);
    }
    }
    return QString();
}

} // namespace DemDecData
