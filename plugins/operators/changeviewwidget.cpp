#include "changeviewwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

ChangeViewWidget::ChangeViewWidget(QWidget* parent)
    : QWidget(parent),
      m_byUnion(new QRadioButton(tr("Объединению АРМов"), this)),
      m_byOperator(new QRadioButton(tr("Операторам"), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Отображение по:"), this));
    layout->addWidget(m_byUnion);
    layout->addWidget(m_byOperator);
    layout->addStretch();

    connect(m_byUnion, &QRadioButton::clicked, this, &ChangeViewWidget::OnGroupUnionClicked);
    connect(m_byOperator, &QRadioButton::clicked, this, &ChangeViewWidget::OnGroupOperatorClicked);
    m_byOperator->click();
}

void ChangeViewWidget::OnGroupUnionClicked()
{
    setMode(GroupByUnion);
}

void ChangeViewWidget::OnGroupOperatorClicked()
{
    setMode(GroupByOperator);
}

void ChangeViewWidget::setMode(ViewMode mode)
{
    m_mode = mode;
    emit ChangeView(mode);
}
