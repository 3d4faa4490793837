#pragma once

#include "orvaneedithistory.h"
#include "orvaneplugin.h"
#include "orvanerecordview.h"

#include <QList>
#include <QPointer>

#include <memory>

class StandardData;
class StandardDelegate;
class StandardEditActions;
class StandardModel;
class StandardTablePage;
class StandardTableView;

// The plugin object of every component editor: a table of one record type with its edit
// commands. It owns the data adaptor it is given.
class StandardPlugin : public OrvanePlugin, public OrvaneEditHistory, public OrvaneRecordView
{
    Q_OBJECT
    Q_INTERFACES(OrvaneEditHistory OrvaneRecordView)

public:
    StandardPlugin(const QString& name, StandardData* data);
    ~StandardPlugin() override;

    QString name() const override;
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override;
    void saveComplexConfig() override;
    QWidget* widget() override;
    QMenu* menu() override;
    QToolBar* toolBar() override;
    QUndoStack* undoStack() override { return m_undo; }
    bool showRecord(const QString& kind, int uid) override;

private Q_SLOTS:
    void add();
    void remove();
    void edit();
    void fill();
    void fillWithCounter();
    void copy();
    void paste();

private:
    void reportNoFreshUid();
    void pasteText(const QString& text);

    const QString m_name;
    QUndoStack* m_undo;
    CoConfig::ComplexConfigInterface* m_store = nullptr;
    std::unique_ptr<StandardData> m_data;
    StandardEditActions* m_actions;
    StandardModel* m_model;
    QPointer<StandardTablePage> m_page; // the shell re-parents it
    StandardTableView* m_view;          // the page's
    QList<StandardDelegate*> m_delegates;
};
