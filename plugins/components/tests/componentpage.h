#pragma once

#include "orvaneplugin.h"

#include <QAction>
#include <QTableView>
#include <QToolBar>

// A component editor's page as its tests drive it: the table, its model, its seven commands.
enum Action { Add, Remove, Edit, Fill, FillWithCounter, Copy, Paste, ActionCount };

inline QTableView* view(OrvanePlugin* plugin)
{
    return plugin->widget()->findChild<QTableView*>();
}

inline QAbstractItemModel* model(OrvanePlugin* plugin)
{
    return view(plugin)->model();
}

inline void trigger(OrvanePlugin* plugin, Action action)
{
    plugin->toolBar()->actions().at(action)->trigger();
}
