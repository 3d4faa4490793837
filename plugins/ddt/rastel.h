#pragma once

#include "orvaneedithistory.h"
#include "orvaneplugin.h"

#include <QPointer>

class RastelWidget;

// The "Файлы .ddt" tab. It edits .ddt files, not the store: it only keeps the store it is given.
class Rastel : public OrvanePlugin, public OrvaneEditHistory
{
    Q_OBJECT
    Q_INTERFACES(OrvaneEditHistory)

public:
    explicit Rastel(QObject* parent = nullptr);
    ~Rastel() override;

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
    QString m_name;
    // The shell re-parents the page into its tabs, so the page may go before the plugin.
    QPointer<RastelWidget> m_page;
    CoConfig::ComplexConfigInterface* m_store = nullptr;
};
