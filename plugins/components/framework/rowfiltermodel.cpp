#include "rowfiltermodel.h"

#include <algorithm>

RowFilterModel::RowFilterModel(CellText cellText, QObject* parent)
    : QAbstractProxyModel(parent), m_cellText(std::move(cellText))
{
}

void RowFilterModel::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    for (const QMetaObject::Connection& connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        m_connections = {
            connect(source, &QAbstractItemModel::dataChanged, this, &RowFilterModel::sourceDataChanged),
            connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, &RowFilterModel::sourceRowsAboutToBeInserted),
            connect(source, &QAbstractItemModel::rowsInserted, this, &RowFilterModel::sourceRowsInserted),
            connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, &RowFilterModel::sourceRowsAboutToBeRemoved),
            connect(source, &QAbstractItemModel::rowsRemoved, this, &RowFilterModel::sourceRowsRemoved),
            connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); }),
            connect(source, &QAbstractItemModel::modelReset, this, &RowFilterModel::sourceReset),
            connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { beginResetModel(); }),
            connect(source, &QAbstractItemModel::layoutChanged, this, &RowFilterModel::sourceReset),
            connect(source, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged),
        };
    }
    m_texts.assign(source ? size_t(source->rowCount()) : 0, QString());
    m_gathered = 0;
    refilter(false);
    endResetModel();
}

void RowFilterModel::setFilterText(const QString& text)
{
    const QString folded = text.toCaseFolded();
    if (folded == m_text)
        return;
    // A longer text that holds the old one can only narrow what is shown.
    const bool narrowing = folded.contains(m_text);
    m_text = folded;
    beginResetModel();
    refilter(narrowing);
    endResetModel();
}

void RowFilterModel::refilter(bool narrowing)
{
    QAbstractItemModel* source = sourceModel();
    if (!source) {
        m_rows.clear();
        return;
    }
    if (narrowing) {
        m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), [this](int row) { return !matches(row); }),
                     m_rows.end());
        return;
    }
    m_rows.clear();
    const int count = source->rowCount();
    for (int row = 0; row < count; ++row) {
        if (matches(row))
            m_rows.append(row);
    }
}

bool RowFilterModel::gatherTexts(int rows)
{
    const size_t end = std::min(m_texts.size(), m_gathered + size_t(rows));
    for (; m_gathered < end; ++m_gathered)
        rowText(int(m_gathered));
    return m_gathered >= m_texts.size();
}

bool RowFilterModel::matches(int sourceRow)
{
    return m_text.isEmpty() || rowText(sourceRow).contains(m_text);
}

const QString& RowFilterModel::rowText(int sourceRow)
{
    QString& text = m_texts[size_t(sourceRow)];
    if (text.isNull()) {
        const QAbstractItemModel* source = sourceModel();
        QString gathered;
        for (int column = 0; column < source->columnCount(); ++column) {
            // Cells apart, so that a text never matches across two of them.
            gathered += m_cellText(source->index(sourceRow, column));
            gathered += QChar(QChar::LineFeed);
        }
        text = std::move(gathered).toCaseFolded();
    }
    return text;
}

int RowFilterModel::lowerBound(int sourceRow) const
{
    return int(std::lower_bound(m_rows.cbegin(), m_rows.cend(), sourceRow) - m_rows.cbegin());
}

int RowFilterModel::sourceRow(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : -1;
}

QModelIndex RowFilterModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel())
        return QModelIndex();
    return sourceModel()->index(sourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex RowFilterModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return QModelIndex();
    const int position = lowerBound(sourceIndex.row());
    if (position >= m_rows.size() || m_rows.at(position) != sourceIndex.row())
        return QModelIndex();
    return createIndex(position, sourceIndex.column());
}

QModelIndex RowFilterModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rows.size() || column < 0 || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex RowFilterModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int RowFilterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RowFilterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

void RowFilterModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
        m_texts[size_t(row)] = QString();
    m_gathered = std::min(m_gathered, size_t(topLeft.row()));
    Q_EMIT textsForgotten();
    // The rows keep their place: an edited row stays shown until the text changes.
    const int first = lowerBound(topLeft.row());
    const int last = lowerBound(bottomRight.row() + 1) - 1;
    if (first <= last)
        Q_EMIT dataChanged(index(first, topLeft.column()), index(last, bottomRight.column()));
}

void RowFilterModel::sourceRowsAboutToBeInserted(const QModelIndex&, int first, int last)
{
    const int position = lowerBound(first);
    beginInsertRows(QModelIndex(), position, position + last - first);
}

void RowFilterModel::sourceRowsInserted(const QModelIndex&, int first, int last)
{
    const int count = last - first + 1;
    const int position = lowerBound(first);
    for (int k = position; k < m_rows.size(); ++k)
        m_rows[k] += count;
    m_rows.insert(position, count, 0);
    for (int k = 0; k < count; ++k)
        m_rows[position + k] = first + k;
    m_texts.insert(m_texts.begin() + first, size_t(count), QString());
    endInsertRows();
}

void RowFilterModel::sourceRowsAboutToBeRemoved(const QModelIndex&, int first, int last)
{
    const int from = lowerBound(first);
    const int to = lowerBound(last + 1);
    m_removing = from < to;
    if (m_removing)
        beginRemoveRows(QModelIndex(), from, to - 1);
}

void RowFilterModel::sourceRowsRemoved(const QModelIndex&, int first, int last)
{
    const int count = last - first + 1;
    const int from = lowerBound(first);
    const int to = lowerBound(last + 1);
    m_rows.remove(from, to - from);
    for (int k = from; k < m_rows.size(); ++k)
        m_rows[k] -= count;
    m_texts.erase(m_texts.begin() + first, m_texts.begin() + last + 1);
    if (m_removing)
        endRemoveRows();
    m_removing = false;
}

void RowFilterModel::sourceReset()
{
    m_texts.assign(size_t(sourceModel()->rowCount()), QString());
    m_gathered = 0;
    refilter(false);
    endResetModel();
    Q_EMIT textsForgotten();
}
