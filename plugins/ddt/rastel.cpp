#include "rastel.h"

#include "rastelwidget.h"

Rastel::Rastel(QObject* parent)
    : OrvanePlugin(parent)
    , m_name(tr("Файлы .ddt"))
    , m_page(new RastelWidget)
{
}

Rastel::~Rastel()
{
    // The page asks about unsaved changes of the open file as it goes.
    delete m_page.data();
}

QString Rastel::name() const
{
    return m_name;
}

void Rastel::setComplexConfig(CoConfig::ComplexConfigInterface* store)
{
    m_store = store;
}

void Rastel::saveComplexConfig()
{
    // The open .ddt file is saved with the configuration, so that the shell's save leaves
    // nothing of this tab unsaved.
    QString error;
    if (m_page && !m_page->saveFile(&error))
        emit Error(tr("Файл .ddt не сохранён: %1").arg(error));
}

QWidget* Rastel::widget()
{
    return m_page;
}

QMenu* Rastel::menu()
{
    return nullptr;
}

QToolBar* Rastel::toolBar()
{
    return nullptr;
}

QUndoStack* Rastel::undoStack()
{
    return m_page ? m_page->history() : nullptr;
}
