#pragma once

#include "historyentry.h"

#include <QDialog>
#include <QList>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "Журнал изменений": the saves of the configuration directory, newest first, with their time,
// author, workstation, program and summary; what the selected one changed, record by record, in
// the editor's words; "Вернуть эту версию" hands the selected save to `restore`, which asks and
// writes (the list then shows the restore as the newest save).
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    using Restore = std::function<bool(const History::HistoryEntry& entry)>;

    HistoryDialog(const QString& dir, Restore restore, QWidget* parent = nullptr);

    // Reads the list again; false (with the reason shown) when there is no history to show.
    bool reload();

private:
    void showChanges();
    void restoreSelected();

    QString m_dir;
    Restore m_restore;
    QList<History::HistoryEntry> m_entries;
    QLabel* m_state;
    QTreeWidget* m_list;
    QPlainTextEdit* m_changes;
    QPushButton* m_restoreButton;
};
