#include "tabledata.h"

TableData::TableData(int columnCount, const QStringList& headers) : m_columnCount(columnCount), m_headers(headers)
{
}

TableData::~TableData() = default;

int TableData::rowCount() const
{
    return 0;
}

QVariant TableData::data(int, int, int) const
{
    return QVariant();
}

bool TableData::setData(int, int, const QVariant&)
{
    return false;
}

void TableData::removeRows(int, int)
{
}

void TableData::insertRows(int, int)
{
}

Qt::ItemFlags TableData::flags(int) const
{
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

QVariant TableData::snapshot() const
{
    return QVariant();
}

void TableData::restore(const QVariant&)
{
}
