#pragma once

#include "viewmode.h"

#include <QWidget>

class ButtonsWidget;
class ChangeViewWidget;
class OperatorEditorWidget;
class OperatorTableView;
class QUndoStack;

namespace CoConfig {
class ComplexConfigInterface;
}

// The operator plugin's page: the view switch, the tree and the buttons. Its parts are made
// when the store first arrives; later stores only reload the tree.
class OperatorsViewEdit : public QWidget
{
    Q_OBJECT

public:
    explicit OperatorsViewEdit(QWidget* parent = nullptr);

    void setComplexConfig(CoConfig::ComplexConfigInterface* store);
    // The history that the tree's commands add their steps to.
    void setHistory(QUndoStack* history) { m_history = history; }
    // Commits the tree's edits into the store; false when there is no store yet.
    bool save();

public Q_SLOTS:
    void OnViewChange(ViewMode Mode);
    void OnButton(int Action);

private:
    void setupParts(CoConfig::ComplexConfigInterface* store);

    OperatorTableView* m_view = nullptr;
    QUndoStack* m_history = nullptr;
    OperatorEditorWidget* m_editor = nullptr;
    ButtonsWidget* m_buttons = nullptr;
    ChangeViewWidget* m_changeView = nullptr;
};
