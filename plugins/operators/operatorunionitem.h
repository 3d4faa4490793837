#pragma once

#include "basetreeitem.h"

#include <QString>

// Grouped by union, under a workstation: an operator registered there under a login.
class OperatorUnionItem : public BaseTreeItem
{
public:
    OperatorUnionItem(int operatorUid, const QString& login, const OperatorWorkingSet* workingSet);

    QVariant data(int column) const override;
    Qt::ItemFlags flags(int column) const override;

    int operatorUid() const { return m_operatorUid; }
    QString login() const { return m_login; }
    void setLogin(const QString& login) { m_login = login; }

private:
    int m_operatorUid;
    QString m_login;
};
