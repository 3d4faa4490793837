#include "operatorsviewedit.h"

#include "buttonswidget.h"
#include "changeviewwidget.h"
#include "operatoreditorwidget.h"
#include "operatortableview.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

OperatorsViewEdit::OperatorsViewEdit(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(tr("Редактор конфигурации. Операторы"));
}

void OperatorsViewEdit::setComplexConfig(CoConfig::ComplexConfigInterface* store)
{
    if (!m_view) {
        setupParts(store);
        return;
    }
    m_view->setStore(store);
    m_view->reload();
}

bool OperatorsViewEdit::save()
{
    return m_view && m_view->Save();
}

void OperatorsViewEdit::setupParts(CoConfig::ComplexConfigInterface* store)
{
    m_view = new OperatorTableView(store, this);
    m_view->setHistory(m_history);
    m_editor = new OperatorEditorWidget(true, this);
    m_editor->hide();
    m_buttons = new ButtonsWidget(this);
    m_changeView = new ChangeViewWidget(this);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(m_editor);
    bottom->addWidget(m_buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_changeView);
    layout->addWidget(m_view);
    layout->addLayout(bottom);

    connect(m_changeView, &ChangeViewWidget::ChangeView, this, &OperatorsViewEdit::OnViewChange);
    connect(m_buttons, &ButtonsWidget::ButtonActionPressed, this, &OperatorsViewEdit::OnButton);
    OnViewChange(m_changeView->mode());
}

void OperatorsViewEdit::OnViewChange(ViewMode Mode)
{
    m_buttons->button(ButtonsWidget::Add)->setEnabled(true);
    m_buttons->button(ButtonsWidget::Remove)->setEnabled(true);
    m_view->setMode(Mode);
}

void OperatorsViewEdit::OnButton(int Action)
{
    switch (Action) {
    case ButtonsWidget::Add: m_view->Add(); break;
    case ButtonsWidget::Remove: m_view->Remove(); break;
    case ButtonsWidget::Save: m_view->Save(); break;
    case ButtonsWidget::Cancel: m_view->Cancel(); break;
    case ButtonsWidget::Copy: m_view->Copy(); break;
    case ButtonsWidget::Paste: m_view->Paste(); break;
    default: break;
    }
}
