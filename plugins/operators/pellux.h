#pragma once

#include "orvaneedithistory.h"
#include "orvaneplugin.h"

#include <QPointer>

class OperatorsViewEdit;

// The operator editor: operators and their registrations on workstations.
class Pellux : public OrvanePlugin, public OrvaneEditHistory
{
    Q_OBJECT
    Q_INTERFACES(OrvaneEditHistory)

public:
    Pellux();
    ~Pellux() override;

    QString name() const override;
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override;
    void saveComplexConfig() override;
    QWidget* widget() override;
    QMenu* menu() override;
    QToolBar* toolBar() override;
    QUndoStack* undoStack() override { return m_history; }

private:
    QString m_title;
    QUndoStack* m_history;
    // The shell re-parents the page; if its new parent went first, there is nothing to delete.
    QPointer<OperatorsViewEdit> m_page;
};
