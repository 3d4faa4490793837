#include "basetreeitem.h"

BaseTreeItem::BaseTreeItem(int type, const OperatorWorkingSet* workingSet)
    : m_type(type), m_workingSet(workingSet)
{
}

BaseTreeItem::~BaseTreeItem()
{
    qDeleteAll(m_children);
}

Qt::ItemFlags BaseTreeItem::flags(int) const
{
    return Qt::ItemIsEnabled;
}

int BaseTreeItem::row() const
{
    return m_parent ? m_parent->m_children.indexOf(const_cast<BaseTreeItem*>(this)) : 0;
}

void BaseTreeItem::appendChild(BaseTreeItem* item)
{
    item->m_parent = this;
    m_children.append(item);
}

void BaseTreeItem::deleteChild(int row)
{
    if (row >= 0 && row < m_children.size())
        delete m_children.takeAt(row);
}
