#include "referencecheckindicator.h"

#include "referencechecker.h"
#include "referenceproblemsdialog.h"

#include <QStatusBar>
#include <QStyle>

ReferenceCheckIndicator::ReferenceCheckIndicator(QStatusBar* statusBar)
    : QToolButton(statusBar)
{
    setObjectName(QStringLiteral("referenceCheckIndicator"));
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    setToolTip(tr("Показать список ошибок в ссылках"));
    setVisible(false);
    statusBar->addPermanentWidget(this);
    connect(this, &QToolButton::clicked, this, &ReferenceCheckIndicator::showProblems);
}

void ReferenceCheckIndicator::check(const CoConfig::ComplexConfigInterface& store)
{
    m_problems = ConfigCheck::ReferenceChecker::check(store);
    m_names.gather(store);
    m_names.nameMissing(m_problems);
    setText(tr("Ошибок в ссылках: %1").arg(m_problems.size()));
    setVisible(!m_problems.isEmpty());
    if (m_dialog)
        m_dialog->setProblems(m_problems);
}

ReferenceProblemsDialog* ReferenceCheckIndicator::problemsDialog() const
{
    return m_dialog;
}

void ReferenceCheckIndicator::showProblems()
{
    if (!m_dialog) {
        m_dialog = new ReferenceProblemsDialog(window());
        connect(m_dialog, &ReferenceProblemsDialog::problemActivated, this, &ReferenceCheckIndicator::problemActivated);
    }
    m_dialog->setProblems(m_problems);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}
