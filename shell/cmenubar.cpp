#include "cmenubar.h"

#include "custommenu.h"
#include "helpmenu.h"

CMenuBar::CMenuBar(QWidget* parent)
    : QMenuBar(parent)
    , m_helpMenu(new HelpMenu(this))
    , m_customMenu(new CustomMenu(this))
{
    addMenu(m_customMenu);
    addMenu(m_helpMenu);
}

CMenuBar::~CMenuBar() = default;

void CMenuBar::AddMenuToCustomMenu(QMenu* Menu)
{
    if (Menu)
        m_customMenu->addMenu(Menu);
}
