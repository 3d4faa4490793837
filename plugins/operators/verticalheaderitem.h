#pragma once

#include "basetreeitem.h"

#include <QStringList>

// The invisible root: holds the header texts of the four columns.
class VerticalHeaderItem : public BaseTreeItem
{
public:
    VerticalHeaderItem(const QStringList& headers, const OperatorWorkingSet* workingSet);

    QVariant data(int column) const override;

private:
    QStringList m_headers;
};
