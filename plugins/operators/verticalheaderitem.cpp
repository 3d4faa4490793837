#include "verticalheaderitem.h"

VerticalHeaderItem::VerticalHeaderItem(const QStringList& headers, const OperatorWorkingSet* workingSet)
    : BaseTreeItem(VerticalHeader, workingSet), m_headers(headers)
{
}

QVariant VerticalHeaderItem::data(int column) const
{
    return m_headers.value(column);
}
