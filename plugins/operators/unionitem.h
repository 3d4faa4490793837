#pragma once

#include "basetreeitem.h"

// Grouped by union, top level: one workstation union.
class UnionItem : public BaseTreeItem
{
public:
    UnionItem(int unionIndex, const OperatorWorkingSet* workingSet);

    QVariant data(int column) const override;
    Qt::ItemFlags flags(int column) const override;

    int unionIndex() const { return m_unionIndex; }

private:
    int m_unionIndex;
};
