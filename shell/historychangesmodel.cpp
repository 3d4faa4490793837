#include "historychangesmodel.h"

#include "changewords.h"

void HistoryChangesModel::show(QList<History::FileChanges> changes, const QString& fallback)
{
    beginResetModel();
    m_files = std::move(changes);
    m_fallback = fallback;
    m_rows.clear();
    for (int file = 0; file < m_files.size(); ++file) {
        if (!m_files[file].error.isEmpty())
            m_rows.emplace_back(file, -1);
        for (int record = 0; record < m_files[file].records.size(); ++record)
            m_rows.emplace_back(file, record);
    }
    endResetModel();
}

int HistoryChangesModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_rows.empty() ? (m_fallback.isEmpty() ? 0 : 1) : int(m_rows.size());
}

QVariant HistoryChangesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return line(index.row());
}

QString HistoryChangesModel::line(int row) const
{
    if (m_rows.empty())
        return row == 0 ? m_fallback : QString();
    if (row < 0 || size_t(row) >= m_rows.size())
        return {};
    const auto [file, record] = m_rows[size_t(row)];
    const History::FileChanges& changes = m_files[file];
    return record < 0 ? changes.path + QStringLiteral(": ") + changes.error
                      : History::changeLine(changes.path, changes.records[record]);
}
