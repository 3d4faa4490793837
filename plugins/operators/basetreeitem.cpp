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

void BaseTreeItem::appendChild(BaseTreeItem* item)
{
    item->m_parent = this;
    item->m_row = m_children.size();
    m_children.append(item);
}

void BaseTreeItem::deleteChild(int row)
{
    if (row < 0 || row >= m_children.size())
        return;
    delete m_children.takeAt(row);
    for (int later = row; later < m_children.size(); ++later)
        m_children.at(later)->m_row = later;
}
