#include "pavrik.h"

#include "antennaeditwidget.h"

Pavrik::Pavrik() : m_title(tr("Антенна")), m_page(new AntennaEditWidget)
{
}

Pavrik::~Pavrik()
{
    delete m_page.data();
}

QString Pavrik::name() const
{
    return m_title;
}

void Pavrik::setComplexConfig(CoConfig::ComplexConfigInterface* store)
{
    if (m_page)
        m_page->setComplexConfig(store);
}

void Pavrik::saveComplexConfig()
{
    if (m_page)
        m_page->saveComplexConfig();
}

QWidget* Pavrik::widget()
{
    return m_page;
}

QMenu* Pavrik::menu()
{
    return nullptr;
}

QToolBar* Pavrik::toolBar()
{
    return nullptr;
}

QUndoStack* Pavrik::undoStack()
{
    return m_page ? m_page->history() : nullptr;
}
