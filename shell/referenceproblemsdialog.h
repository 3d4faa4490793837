#pragma once

#include "configproblem.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// The broken references of the configuration, one line each, to read, select and copy.
// Not modal: the engineer can keep it open while fixing the records in the tabs.
class ReferenceProblemsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReferenceProblemsDialog(QWidget* parent = nullptr);

    void setProblems(const QList<ConfigCheck::ConfigProblem>& problems);
    QString text() const;

Q_SIGNALS:
    // A double click or Return on the line of a problem: show its record.
    void problemActivated(const ConfigCheck::ConfigProblem& problem);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_summary = nullptr;
    QPlainTextEdit* m_list = nullptr;
    QList<ConfigCheck::ConfigProblem> m_problems; // a line each
};
