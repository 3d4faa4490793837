#include "commoncontextmenu.h"

#include "commonaddaction.h"
#include "commonclearaction.h"
#include "commonremoveaction.h"

CommonContextMenu::CommonContextMenu(QWidget* parent) : QMenu(parent)
{
    m_actions.insert(Add, new CommonAddAction(this));
    m_actions.insert(Remove, new CommonRemoveAction(this));
    m_actions.insert(Clear, new CommonClearAction(this));
    for (int key : {Add, Remove, Clear})
        addAction(m_actions.value(key));
}
