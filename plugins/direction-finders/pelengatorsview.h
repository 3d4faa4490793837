#pragma once

#include "mappoint.h"

#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeView>

class PelengatorsModel;
class QAction;
class QMenu;

namespace CoConfig {
class ComplexConfigInterface;
}

// The tree of direction finders with its context menu: add, edit and remove virtual ones,
// expand and collapse all. Keys: Insert adds, F2 or Return edits and Delete removes the current
// virtual record.
class PelengatorsView : public QTreeView
{
    Q_OBJECT

public:
    PelengatorsView(CoConfig::ComplexConfigInterface* store, bool editable, QWidget* parent = nullptr);

    PelengatorsModel* pelengatorsModel() const { return m_model; }

Q_SIGNALS:
    void coordChanged(MapPoint point);

public Q_SLOTS:
    // Selects the last record at that point.
    void setPelengator(MapPoint point);
    CoConfig::ComplexConfigInterface* writeConfig();
    void selectionChanged(const QModelIndex& current);
    void onContextMenu(const QPoint& pos);
    bool retryDialog();
    void add();
    void edit();
    void remove();

protected:
    using QTreeView::selectionChanged;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createMenu();
    // The header is hidden, so the first column grows to fit what is shown; never below 256.
    void widenFirstColumn();
    bool isVirtualRecord(const QModelIndex& index) const;
    QString boxTitle() const;

    PelengatorsModel* m_model;
    // The index under the last context-menu click, or the current one for a key.
    QPersistentModelIndex m_menuIndex;
    QMenu* m_menu = nullptr;
    QAction* m_add = nullptr;
    QAction* m_edit = nullptr;
    QAction* m_remove = nullptr;
    QAction* m_expand = nullptr;
    QAction* m_collapse = nullptr;
    QTimer m_widen;
};
