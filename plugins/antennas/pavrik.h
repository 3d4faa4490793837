#pragma once

#include "orvaneedithistory.h"
#include "orvaneplugin.h"

#include <QPointer>

class AntennaEditWidget;

// The antenna editor: the "Антенна" tab, with no menu and no tool bar.
class Pavrik : public OrvanePlugin, public OrvaneEditHistory
{
    Q_OBJECT
    Q_INTERFACES(OrvaneEditHistory)

public:
    Pavrik();
    ~Pavrik() override;

    QString name() const override;
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override;
    void saveComplexConfig() override;
    QWidget* widget() override;
    QMenu* menu() override;
    QToolBar* toolBar() override;
    QUndoStack* undoStack() override;

Q_SIGNALS:
    void Error(QString Msg);

private:
    QString m_title;
    // The shell re-parents the page; if its new parent went first, there is nothing to delete.
    QPointer<AntennaEditWidget> m_page;
};
