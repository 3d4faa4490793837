#include "helpmenu.h"

#include "about.h"
#include "aboutaction.h"

HelpMenu::HelpMenu(QWidget* parent)
    : QMenu(parent)
    , m_aboutAction(new AboutAction(this))
    , m_about(std::make_unique<About>())
{
    setTitle(tr("Помощь"));
    addAction(m_aboutAction);
    connect(m_aboutAction, &QAction::triggered, m_about.get(), &QWidget::show);
}

HelpMenu::~HelpMenu() = default;
