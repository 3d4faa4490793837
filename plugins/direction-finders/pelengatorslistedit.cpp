#include "pelengatorslistedit.h"

#include "pelengatorsview.h"

#include <QVBoxLayout>

PelengatorsListEdit::PelengatorsListEdit(CoConfig::ComplexConfigInterface* store, QWidget* parent)
    : QWidget(parent), m_view(new PelengatorsView(store, true))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    connect(this, &PelengatorsListEdit::onWriteConfig, m_view, &PelengatorsView::writeConfig);
    setWindowTitle(tr("Редактирование Quorven"));
    resize(300, 200);
}

CoConfig::ComplexConfigInterface* PelengatorsListEdit::writeConfig()
{
    return emit onWriteConfig();
}
