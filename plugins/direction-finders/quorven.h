#pragma once

#include "orvaneedithistory.h"
#include "orvaneplugin.h"

#include <QPointer>

class PelengatorsListEdit;

// The direction-finder editor. The list is read from the store once, at the first
// setComplexConfig, and keeps its own state afterwards.
class Quorven : public OrvanePlugin, public OrvaneEditHistory
{
    Q_OBJECT
    Q_INTERFACES(OrvaneEditHistory)

public:
    explicit Quorven(QObject* parent = nullptr);
    ~Quorven() override;

    QString name() const override;
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override;
    void saveComplexConfig() override;
    QWidget* widget() override;
    QMenu* menu() override;
    QToolBar* toolBar() override;
    QUndoStack* undoStack() override { return m_history; }

Q_SIGNALS:
    void Error(QString Msg);

private:
    QString m_title;
    QUndoStack* m_history;
    // The shell re-parents the page; if its new parent went first, there is nothing to delete.
    QPointer<PelengatorsListEdit> m_page;
};
