#include "unionarmitem.h"

#include "operatorworkingset.h"

UnionArmItem::UnionArmItem(int unionIndex, int armUid, const QString& login, const OperatorWorkingSet* workingSet)
    : BaseTreeItem(UnionArm, workingSet), m_unionIndex(unionIndex), m_armUid(armUid), m_login(login)
{
}

QVariant UnionArmItem::data(int column) const
{
    switch (column) {
    case NameColumn:
        return workingSet()->unions().value(m_unionIndex).name + QStringLiteral(" / ")
            + workingSet()->arm(m_armUid).name;
    case LoginColumn: return m_login;
    default: return QString();
    }
}

Qt::ItemFlags UnionArmItem::flags(int column) const
{
    switch (column) {
    case NameColumn: return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    case LoginColumn: return Qt::ItemIsEnabled | Qt::ItemIsEditable;
    default: return Qt::ItemIsEnabled;
    }
}
