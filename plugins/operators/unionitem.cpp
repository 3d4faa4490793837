#include "unionitem.h"

#include "operatorworkingset.h"

UnionItem::UnionItem(int unionIndex, const OperatorWorkingSet* workingSet)
    : BaseTreeItem(Union, workingSet), m_unionIndex(unionIndex)
{
}

QVariant UnionItem::data(int column) const
{
    return column == NameColumn ? workingSet()->unions().value(m_unionIndex).name : QString();
}

Qt::ItemFlags UnionItem::flags(int column) const
{
    return column == NameColumn ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled;
}
