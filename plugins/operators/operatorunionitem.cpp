#include "operatorunionitem.h"

#include "operatorworkingset.h"

OperatorUnionItem::OperatorUnionItem(int operatorUid, const QString& login, const OperatorWorkingSet* workingSet)
    : BaseTreeItem(OperatorUnion, workingSet), m_operatorUid(operatorUid), m_login(login)
{
}

QVariant OperatorUnionItem::data(int column) const
{
    const Common::Operator op = workingSet()->operatorByUid(m_operatorUid);
    switch (column) {
    case NameColumn: return OperatorWorkingSet::fullName(op);
    case PostColumn: return op.post;
    case RankColumn: return op.rank;
    case LoginColumn: return m_login;
    default: return QString();
    }
}

Qt::ItemFlags OperatorUnionItem::flags(int column) const
{
    return column == NameColumn ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                : Qt::ItemIsEnabled | Qt::ItemIsEditable;
}
