#pragma once

#include "qserverstatus.h"

#include <QByteArray>
#include <QItemSelection>
#include <QList>
#include <QWidget>

class Cravent;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;
class QUndoStack;

namespace DemDecData {
class DemDecTreeEditor;
}

// The page of the "Файлы .ddt" tab: the .ddt files of a folder on the left, the tree editor of
// the selected file on the right. A changed file is offered for saving before a file (the open
// one too, which is then read again) or another folder is shown, and before the page goes.
// Sub-folders load when the user opens them, so that even "/" as the folder costs little.
class RastelWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RastelWidget(QWidget* parent = nullptr);
    ~RastelWidget() override;

Q_SIGNALS:
    void editorInitOk();

public Q_SLOTS:
    void clientConnected();
    void rescanServers();
    void onServerFound(QList<DemDecData::QServerStatus> list);
    void selectDDTDir();
    void changeDDTDir(const QString& path);
    void changeDDTDir();
    void pathChanged(const QString& path);
    void selectedItem(const QItemSelection& selection);
    // Offers to save a changed file, then closes it. False when saving failed: the file then
    // stays open with its changes.
    bool closeFile();
    // Saves the open file when it was changed, through the same save that closeFile offers.
    // False, with the reason in *error, when that failed: the changes stay open.
    bool saveFile(QString* error);
    // The open file's history of edits; clean while it is as saved.
    QUndoStack* history() const;

private:
    void setupUi();
    void showFolderMessage(const QString& message);
    void reselectOpenFile();
    bool isChanged();

    QFileSystemModel* m_model = nullptr;
    QTreeView* m_view = nullptr;
    Cravent* m_client = nullptr;
    DemDecData::DemDecTreeEditor* m_editor = nullptr;
    QByteArray openedBytes;

    QPushButton* m_serverButton = nullptr;
    QLabel* m_folderMessage = nullptr;
    QString m_shownFolder; // empty while no folder is shown
    bool m_reselecting = false;
};
