#pragma once

#include "catalogue.h"
#include "ddtnode.h"

#include <QModelIndex>
#include <QWidget>

class Cravent;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTreeView;
class QUndoStack;

namespace DemDecData {

class DdtAttributeModel;
class DdtTreeModel;

// Shows one .ddt file as a tree and edits it: processing nodes are added from the server's
// catalogue, results nodes under them, any node but the root removed, attributes edited in the
// table below the tree. Files can be opened once the catalogue came from a connected client.
class DemDecTreeEditor : public QWidget
{
    Q_OBJECT

public:
    // maxDepth: how deep processing nodes may nest, in files and in edits.
    explicit DemDecTreeEditor(int maxDepth, QWidget* parent = nullptr);
    ~DemDecTreeEditor() override;

    // Takes the catalogue of a connected client; false (and not initialised) when it is offline.
    bool initFromClient(const Cravent* client);
    bool isInitialized() const { return m_initialized; }
    const Catalogue& catalogue() const { return m_catalogue; }

    // Shows the file; on failure lastError() names the file, the line and the fault, the
    // message shows below the tree and the tree shown before stays. Only regular files open.
    bool openTree(const QString& path);
    // Null while no file is open.
    const DdtNode* rootItem() const;
    QString fileName() const { return m_path; }
    // The file's bytes as the tree stands; empty while no file is open.
    QByteArray toByteArray() const;
    // Writes the tree to its file, all or nothing, keeping the file's owner (where allowed),
    // group and mode; false with lastError() on failure (a folder this user may not write),
    // the file and the tree then as they were. A tree that would not read back is not written.
    bool save();
    void clear();
    QString lastError() const { return m_lastError; }

    DdtTreeModel* model() const { return m_model; }
    // Each added or removed node and each attribute edit of the open file is a step; opening
    // another file or closing this one starts the history again.
    QUndoStack* history() const { return m_history; }
    QModelIndex currentNode() const;
    // Adds a processing node for a catalogue entry under the node at `at` (or under its parent
    // when `at` is a results node, under the root when `at` is invalid).
    QModelIndex addTask(const QModelIndex& at, int catalogueRow);
    // Adds a results node under the processing node at `at` (or the one holding it).
    QModelIndex addResults(const QModelIndex& at);
    bool removeNode(const QModelIndex& at);

private:
    void setupUi();
    QModelIndex holderFor(const QModelIndex& at) const;
    QString nextResultsId() const;
    void select(const QModelIndex& index);
    void showError(const QString& message);
    void hideError();
    void updateActions();
    // Pushes the step that took the tree from the last step's bytes to its bytes now.
    void stepped(const QString& text);
    void showBytes(const QByteArray& bytes);

    DdtTreeModel* m_model;
    DdtAttributeModel* m_attributes;
    Catalogue m_catalogue;
    bool m_initialized = false;
    QString m_path;
    QString m_lastError;
    bool m_refusalShown = false; // the message is about a refused attribute value
    QUndoStack* m_history;
    QByteArray m_steppedBytes;   // the tree after the last step
    bool m_stepping = false;     // a command or a step is changing the tree

    QComboBox* m_catalogueBox = nullptr;
    QPushButton* m_addTaskButton = nullptr;
    QPushButton* m_addResultsButton = nullptr;
    QPushButton* m_removeButton = nullptr;
    QTreeView* m_treeView = nullptr;
    QTableView* m_attributeView = nullptr;
    QLabel* m_message = nullptr;
};

} // namespace DemDecData
