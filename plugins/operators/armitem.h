#pragma once

#include "basetreeitem.h"

// Grouped by union, under a union: one of its workstations.
class ArmItem : public BaseTreeItem
{
public:
    ArmItem(int unionIndex, int armUid, const OperatorWorkingSet* workingSet);

    QVariant data(int column) const override;
    Qt::ItemFlags flags(int column) const override;

    int unionIndex() const { return m_unionIndex; }
    int armUid() const { return m_armUid; }

private:
    int m_unionIndex;
    int m_armUid;
};
