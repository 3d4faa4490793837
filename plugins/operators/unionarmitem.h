#pragma once

#include "basetreeitem.h"

#include <QString>

// Grouped by operator, under an operator: its registration on a workstation, shown through
// one union that lists the workstation.
class UnionArmItem : public BaseTreeItem
{
public:
    UnionArmItem(int unionIndex, int armUid, const QString& login, const OperatorWorkingSet* workingSet);

    QVariant data(int column) const override;
    Qt::ItemFlags flags(int column) const override;

    int unionIndex() const { return m_unionIndex; }
    int armUid() const { return m_armUid; }
    QString login() const { return m_login; }
    void setLogin(const QString& login) { m_login = login; }

private:
    int m_unionIndex;
    int m_armUid;
    QString m_login;
};
