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
    ConfigCheck::CheckedKinds kinds(store);
    if (m_worker.joinable())
        m_next = std::move(kinds); // after the one that runs, with the names it gathers
    else
        start(std::move(kinds));
}

void ReferenceCheckIndicator::start(ConfigCheck::CheckedKinds kinds)
{
    m_worker = std::thread([this, kinds = std::move(kinds), names = std::move(m_names)]() mutable {
        QList<ConfigCheck::ConfigProblem> problems = ConfigCheck::ReferenceChecker::check(kinds);
        names.gather(kinds);
        names.nameMissing(problems);
        // The thread is joined before the indicator goes: the call finds it.
        QMetaObject::invokeMethod(
            this, [this, problems = std::move(problems), names = std::move(names)]() { finished(problems, names); },
            Qt::QueuedConnection);
    });
}

void ReferenceCheckIndicator::finished(const QList<ConfigCheck::ConfigProblem>& problems,
                                       const ConfigCheck::RecordNames& names)
{
    if (m_worker.joinable())
        m_worker.join(); // its last step was to post this
    m_names = names;
    if (m_next) {
        ConfigCheck::CheckedKinds next = std::move(*m_next);
        m_next.reset();
        start(std::move(next));
        return; // the older answer is not shown
    }
    showCheck(problems);
}

void ReferenceCheckIndicator::waitForCheck()
{
    while (m_worker.joinable()) {
        m_worker.join();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); // may start the next one
    }
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
