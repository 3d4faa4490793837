#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QToolBar;
class QWidget;

namespace CoConfig {
class ComplexConfigInterface;
}

// One editor: a tab, and optionally a menu and a tool bar. It owns all three.
class OrvanePlugin : public QObject
{
    Q_OBJECT

public:
    explicit OrvanePlugin(QObject* parent = nullptr);
    ~OrvanePlugin() override;

    virtual QString name() const = 0;                                    // the tab title
    virtual void setComplexConfig(CoConfig::ComplexConfigInterface* store); // load the view from the store
    virtual void saveComplexConfig() = 0;                                // commit pending edits into the store
    virtual QWidget* widget() = 0;                                       // null: no tab
    virtual QMenu* menu() = 0;                                           // null: no menu
    virtual QToolBar* toolBar() = 0;                                     // null: no tool bar

Q_SIGNALS:
    void Error(QString Msg);
};
