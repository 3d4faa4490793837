#include "quorven.h"

#include "openeditors.h"
#include "pelengatorslistedit.h"
#include "pelengatorsmodel.h"
#include "pelengatorsview.h"

#include <QUndoStack>

Quorven::Quorven(QObject* parent)
    : OrvanePlugin(parent), m_title(QStringLiteral("Пеленгаторы/Quorvenы")), m_history(new QUndoStack(this))
{
}

Quorven::~Quorven()
{
    delete m_page.data();
}

QString Quorven::name() const
{
    return m_title;
}

void Quorven::setComplexConfig(CoConfig::ComplexConfigInterface* store)
{
    if (!m_page && store) {
        m_page = new PelengatorsListEdit(store);
        m_page->view()->pelengatorsModel()->setHistory(m_history);
    }
}

void Quorven::saveComplexConfig()
{
    Common::commitOpenEditors(m_page);
    if (m_page)
        m_page->writeConfig();
}

QWidget* Quorven::widget()
{
    return m_page;
}

QMenu* Quorven::menu()
{
    return nullptr;
}

QToolBar* Quorven::toolBar()
{
    return nullptr;
}
