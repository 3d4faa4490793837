#include "armitem.h"

#include "operatorworkingset.h"

ArmItem::ArmItem(int unionIndex, int armUid, const OperatorWorkingSet* workingSet)
    : BaseTreeItem(Arm, workingSet), m_unionIndex(unionIndex), m_armUid(armUid)
{
}

QVariant ArmItem::data(int column) const
{
    return column == NameColumn ? workingSet()->arm(m_armUid).name : QString();
}

Qt::ItemFlags ArmItem::flags(int column) const
{
    return column == NameColumn ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled;
}
