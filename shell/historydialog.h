#pragma once

#include "historyentry.h"
#include "recordchanges.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QList>

#include <functional>

class HistoryChangesModel;
class QLabel;
class QListView;
class QPushButton;
class QTreeWidget;

// "Журнал изменений": the saves of the configuration directory, newest first, with their time,
// author, workstation, program and summary; what the selected one changed, record by record, in
// the editor's words; "Вернуть эту версию" hands the selected save to `restore`, which asks and
// writes (the list then shows the restore as the newest save). The changes are found on a worker
// thread: the dialog opens at once and a large save's changes do not stop it.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    using Restore = std::function<bool(const History::HistoryEntry& entry)>;

    HistoryDialog(const QString& dir, Restore restore, QWidget* parent = nullptr);

    // Reads the list again; false (with the reason shown) when there is no history to show.
    bool reload();

    // The lines now shown for the selected save (its changes once they are found).
    QStringList shownLines() const;
    bool isFindingChanges() const { return m_findingRow >= 0; }

private:
    struct Found
    {
        QList<History::FileChanges> changes;
        QString fallback; // the summary when no record changed, or why they are unknown
    };

    void showChanges();
    void changesFound();
    void copyLines();
    void restoreSelected();

    QString m_dir;
    Restore m_restore;
    QList<History::HistoryEntry> m_entries;
    QLabel* m_state;
    QTreeWidget* m_list;
    QListView* m_changes;
    HistoryChangesModel* m_lines;
    QFutureWatcher<Found> m_finding;
    int m_findingRow = -1; // whose changes are being found, until they are shown
    QPushButton* m_restoreButton;
};
