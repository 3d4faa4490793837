#include "referencecheckindicator.h"

#include "checkedkinds.h"
#include "referencechecker.h"
#include "referenceproblemsdialog.h"

#include <QCoreApplication>
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

ReferenceCheckIndicator::~ReferenceCheckIndicator()
{
    if (m_worker.joinable())
        m_worker.join();
}

void ReferenceCheckIndicator::check(const CoConfig::ComplexConfigInterface& store)
{
    waitForCheck(); // the names it gathered come back first
    const int asked = ++m_asked;
    m_worker = std::thread([this, asked, kinds = ConfigCheck::CheckedKinds(store), names = std::move(m_names)]() mutable {
        QList<ConfigCheck::ConfigProblem> problems = ConfigCheck::ReferenceChecker::check(kinds);
        names.gather(kinds);
        names.nameMissing(problems);
        // The thread is joined before the indicator goes: the call finds it.
        QMetaObject::invokeMethod(
            this,
            [this, asked, problems = std::move(problems), names = std::move(names)]() {
                m_names = names;
                if (asked == m_asked)
                    showCheck(problems);
            },
            Qt::QueuedConnection);
    });
}

void ReferenceCheckIndicator::waitForCheck()
{
    if (m_worker.joinable())
        m_worker.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void ReferenceCheckIndicator::showCheck(const QList<ConfigCheck::ConfigProblem>& problems)
{
    m_problems = problems;
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
