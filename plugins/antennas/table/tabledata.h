#pragma once

#include <QStringList>
#include <QVariant>
#include <Qt>

// The rows and columns behind a table page. The base holds the column titles and count and has
// no rows; a derived class keeps its rows as it likes.
class TableData
{
public:
    TableData(int columnCount, const QStringList& headers);
    virtual ~TableData();

    int columnCount() const { return m_columnCount; }
    const QStringList& headers() const { return m_headers; }

    virtual int rowCount() const;
    // Asked for the display role and the user role only.
    virtual QVariant data(int row, int column, int role) const;
    virtual bool setData(int row, int column, const QVariant& value);
    virtual void removeRows(int row, int count);
    virtual void insertRows(int row, int count);
    virtual Qt::ItemFlags flags(int column) const;
    // Every row as it stands, for the page's history; an invalid value when the rows keep none.
    virtual QVariant snapshot() const;
    virtual void restore(const QVariant& snapshot);

private:
    const int m_columnCount;
    const QStringList m_headers;
};
