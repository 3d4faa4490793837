#include "basecontextmenu.h"

#include "abstractoperatormodel.h"
#include "unionaddaction.h"
#include "unionaddnewopaction.h"
#include "unioncollapseaction.h"
#include "unioncopyaction.h"
#include "unioneditaction.h"
#include "unionexpandaction.h"
#include "unionpasteaction.h"
#include "unionremoveaction.h"

BaseContextMenu::BaseContextMenu(QWidget* parent) : QMenu(parent), m_addMenu(new QMenu(tr("Добавить"), this))
{
    m_actions = {new UnionEditAction(this),   new UnionAddAction(this),   m_addMenu->menuAction(),
                 new UnionRemoveAction(this), new UnionCopyAction(this),  new UnionPasteAction(this),
                 new UnionExpandAction(this), new UnionCollapseAction(this)};
    addAction(m_actions.at(Edit));
    addMenu(m_addMenu);
    addAction(m_actions.at(Remove));
    addAction(m_actions.at(Copy));
    addAction(m_actions.at(Paste));
    addSeparator();
    addAction(m_actions.at(Expand));
    addAction(m_actions.at(Collapse));
    setCandidates({});
}

void BaseContextMenu::setCandidates(const QStringList& texts)
{
    // The candidates belong to the sub-menu, so clear() deletes them; "Новый оператор" does not.
    m_addMenu->clear();
    m_addMenu->addAction(m_actions.at(AddNew));
    m_addMenu->addSeparator();
    for (int i = 0; i < texts.size(); ++i) {
        auto* entry = new UnionAddNewOpAction(texts.at(i), i, m_addMenu);
        connect(entry, &QAction::triggered, this, [this, i] { emit Pressed(i); });
        m_addMenu->addAction(entry);
    }
}

bool BaseContextMenu::allOfFirstType(const AbstractOperatorModel* model, const QModelIndexList& selected)
{
    const int first = model->itemType(selected.value(0));
    for (const QModelIndex& index : selected) {
        if (model->itemType(index) != first)
            return false;
    }
    return true;
}
