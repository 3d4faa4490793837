#include "operatoritem.h"

#include "operatorworkingset.h"

OperatorItem::OperatorItem(int operatorUid, const OperatorWorkingSet* workingSet)
    : BaseTreeItem(Operator, workingSet), m_operatorUid(operatorUid)
{
}

QVariant OperatorItem::data(int column) const
{
    const Common::Operator op = workingSet()->operatorByUid(m_operatorUid);
    switch (column) {
    case NameColumn: return OperatorWorkingSet::fullName(op);
    case PostColumn: return op.post;
    case RankColumn: return op.rank;
    default: return QString();
    }
}

Qt::ItemFlags OperatorItem::flags(int column) const
{
    switch (column) {
    case NameColumn: return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    case PostColumn:
    case RankColumn: return Qt::ItemIsEnabled | Qt::ItemIsEditable;
    default: return Qt::ItemIsEnabled;
    }
}
