#pragma once

#include "recordchanges.h"

#include <QAbstractListModel>
#include <QList>

#include <utility>
#include <vector>

// The lines of what one save changed, one per record (and per file that could not be read),
// each made only when a view asks for it: a rewrite of the large complex is 200,000 lines.
class HistoryChangesModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    // The changes to show; `fallback` (the save's summary) when no record changed, or a message.
    void show(QList<History::FileChanges> changes, const QString& fallback);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    QString line(int row) const;

private:
    QList<History::FileChanges> m_files;
    std::vector<std::pair<int, int>> m_rows; // file, record (-1: the file's error)
    QString m_fallback;
};
