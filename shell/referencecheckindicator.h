#pragma once

#include "checkedkinds.h"
#include "configproblem.h"
#include "recordnames.h"

#include <QList>
#include <QPointer>
#include <QToolButton>

#include <optional>
#include <thread>

class QStatusBar;
class ReferenceProblemsDialog;

namespace CoConfig {
class ComplexConfigInterface;
}

// A permanent item at the right of the status bar: how many broken references the last check
// of the configuration found ("Ошибок в ссылках: N"), hidden when there are none. A click lists
// them in a window of their own, which follows later checks while it is open. A missing record
// that an earlier check saw (a rack removed and saved since) is named as the tables showed it.
// A check runs on a thread of its own over the kinds as they were when it was asked for, so
// that a save or a start-up does not wait for it; one asked for while another runs starts when
// that one is done (only the latest of them), and the latest one asked for is shown.
class ReferenceCheckIndicator : public QToolButton
{
    Q_OBJECT

public:
    explicit ReferenceCheckIndicator(QStatusBar* statusBar);
    ~ReferenceCheckIndicator() override;

    void check(const CoConfig::ComplexConfigInterface& store);
    // Shows the check that runs, once it is done.
    void waitForCheck();
    const QList<ConfigCheck::ConfigProblem>& problems() const { return m_problems; }
    // The list window once it was opened; null before.
    ReferenceProblemsDialog* problemsDialog() const;

Q_SIGNALS:
    void problemActivated(const ConfigCheck::ConfigProblem& problem);

private:
    void showProblems();
    void showCheck(const QList<ConfigCheck::ConfigProblem>& problems);
    void start(ConfigCheck::CheckedKinds kinds);
    void finished(const QList<ConfigCheck::ConfigProblem>& problems, const ConfigCheck::RecordNames& names);

    QList<ConfigCheck::ConfigProblem> m_problems;
    ConfigCheck::RecordNames m_names; // of every store checked; with the check while it runs
    QPointer<ReferenceProblemsDialog> m_dialog; // owned by the main window
    std::thread m_worker;
    std::optional<ConfigCheck::CheckedKinds> m_next; // asked for while the worker runs
};
