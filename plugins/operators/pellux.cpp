#include "pellux.h"

#include "openeditors.h"
#include "operatorsviewedit.h"

#include <QUndoStack>

Pellux::Pellux() : m_title(tr("Оператор")), m_history(new QUndoStack(this)), m_page(new OperatorsViewEdit)
{
    // Each step keeps the operators and registrations it changed: a bounded history.
    m_history->setUndoLimit(100);
    m_page->setHistory(m_history);
}

Pellux::~Pellux()
{
    delete m_page.data();
}

QString Pellux::name() const
{
    return m_title;
}

void Pellux::setComplexConfig(CoConfig::ComplexConfigInterface* store)
{
    if (m_page)
        m_page->setComplexConfig(store);
}

void Pellux::saveComplexConfig()
{
    Common::commitOpenEditors(m_page);
    if (!m_page || !m_page->save())
        emit Error(tr("Операторы не сохранены: нет конфигурации"));
}

QWidget* Pellux::widget()
{
    return m_page;
}

QMenu* Pellux::menu()
{
    return nullptr;
}

QToolBar* Pellux::toolBar()
{
    return nullptr;
}
