#pragma once

#include "operatorcontextmenu.h"
#include "operatorworkingset.h"
#include "records.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>

class AbstractOperatorModel;
class BaseContextMenu;
class QUndoStack;

namespace CoConfig {
class ComplexConfigInterface;
}

// The operator tree with its actions. Owns the working set, the current model and context menu.
class OperatorTableView : public QTreeView
{
    Q_OBJECT

public:
    OperatorTableView(CoConfig::ComplexConfigInterface* store, QWidget* parent = nullptr);

    void setStore(CoConfig::ComplexConfigInterface* store);
    // Every command that changes the operators becomes a step of this history.
    void setHistory(QUndoStack* history) { m_history = history; }
    // The store's operators again, after a save or another program's change; the history ends
    // when they differ from the tree's.
    void reload();
    // 0 grouped by union, 1 grouped by operator; any other value is only stored.
    void setMode(int mode);
    int mode() const { return m_mode; }

public Q_SLOTS:
    void Copy();
    void Paste();
    void Remove();
    void Edit();
    void Add();
    void AddOp(const Common::Operator& Operator);
    void AddArm(const OperatorContextMenu::UnionArm& Arm);
    CoConfig::ComplexConfigInterface* Save();
    void Cancel();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Stepped;
    QModelIndexList selectedItems() const;
    void dropModel();
    void stepped(const QString& text, const OperatorWorkingSet& before);
    void restore(const OperatorWorkingSet& state);

    QPointer<CoConfig::ComplexConfigInterface> m_store;
    OperatorWorkingSet m_workingSet;
    AbstractOperatorModel* m_model = nullptr;
    BaseContextMenu* m_menu = nullptr;
    int m_mode = -1;
    QUndoStack* m_history = nullptr;
    // Persistent, so that a copied item removed since is skipped; emptied whenever the
    // model is replaced.
    QList<QPersistentModelIndex> m_copyBuffer;
};
