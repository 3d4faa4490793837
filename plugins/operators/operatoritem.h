#pragma once

#include "basetreeitem.h"

// Grouped by operator, top level: one operator.
class OperatorItem : public BaseTreeItem
{
public:
    OperatorItem(int operatorUid, const OperatorWorkingSet* workingSet);

    QVariant data(int column) const override;
    Qt::ItemFlags flags(int column) const override;

    int operatorUid() const { return m_operatorUid; }

private:
    int m_operatorUid;
};
