#pragma once

#include "orvaneplugin.h"

#include <QPointer>

class OperatorsViewEdit;

// The operator editor: operators and their registrations on workstations.
class Pellux : public OrvanePlugin
{
    Q_OBJECT

public:
    Pellux();
    ~Pellux() override;

    QString name() const override;
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override;
    void saveComplexConfig() override;
    QWidget* widget() override;
    QMenu* menu() override;
    QToolBar* toolBar() override;

private:
    QString m_title;
    // The shell re-parents the page; if its new parent went first, there is nothing to delete.
    QPointer<OperatorsViewEdit> m_page;
};
