#pragma once

#include <QList>
#include <QMenu>
#include <QModelIndexList>
#include <QStringList>

class AbstractOperatorModel;

// The context menu of the operator tree: eight entries by number, and a "Добавить" sub-menu
// that holds "Новый оператор" and one entry per candidate.
class BaseContextMenu : public QMenu
{
    Q_OBJECT

public:
    enum ActionId { Edit = 0, AddNew = 1, AddMenu = 2, Remove = 3, Copy = 4, Paste = 5, Expand = 6, Collapse = 7 };

    explicit BaseContextMenu(QWidget* parent = nullptr);

    QAction* action(int id) const { return m_actions.value(id); }
    // Sets the entries for the selection (first item decides) and refills the sub-menu.
    // False when nothing is selected and the menu must not open.
    virtual bool prepare(const AbstractOperatorModel* model, const QModelIndexList& selected) = 0;

Q_SIGNALS:
    void Pressed(int i);

protected:
    void setCandidates(const QStringList& texts);
    static bool allOfFirstType(const AbstractOperatorModel* model, const QModelIndexList& selected);

private:
    QMenu* m_addMenu;
    QList<QAction*> m_actions;
};
