#pragma once

#include "configproblem.h"
#include "recordnames.h"

#include <QList>
#include <QPointer>
#include <QToolButton>

class QStatusBar;
class ReferenceProblemsDialog;

namespace CoConfig {
class ComplexConfigInterface;
}

// A permanent item at the right of the status bar: how many broken references the last check
// of the configuration found ("Ошибок в ссылках: N"), hidden when there are none. A click lists
// them in a window of their own, which follows later checks while it is open. A missing record
// that an earlier check saw (a rack removed and saved since) is named as the tables showed it.
class ReferenceCheckIndicator : public QToolButton
{
    Q_OBJECT

public:
    explicit ReferenceCheckIndicator(QStatusBar* statusBar);

    void check(const CoConfig::ComplexConfigInterface& store);
    const QList<ConfigCheck::ConfigProblem>& problems() const { return m_problems; }
    // The list window once it was opened; null before.
    ReferenceProblemsDialog* problemsDialog() const;

Q_SIGNALS:
    void problemActivated(const ConfigCheck::ConfigProblem& problem);

private:
    void showProblems();

    QList<ConfigCheck::ConfigProblem> m_problems;
    ConfigCheck::RecordNames m_names; // of every store checked
    QPointer<ReferenceProblemsDialog> m_dialog; // owned by the main window
};
