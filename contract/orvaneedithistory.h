#pragma once

#include <QtPlugin>

class QUndoStack;

// What a plugin object may offer beside OrvanePlugin: the undo history of its tab. The shell
// asks for it with qobject_cast; a plugin without it loads and works as before.
//
// The shell undoes and redoes through the stack, marks the tab as unsaved while the stack is
// not clean, and sets it clean after every successful save. A plugin whose reload brought in
// another program's changes clears its stack and may say why in the stack's dynamic property
// "historyNote" (a QString), which the shell shows with its undo command.
class OrvaneEditHistory
{
public:
    virtual ~OrvaneEditHistory() {}
    virtual QUndoStack* undoStack() = 0;
};

#define OrvaneEditHistory_iid "Orvane.EditHistory/1.0"
Q_DECLARE_INTERFACE(OrvaneEditHistory, OrvaneEditHistory_iid)
