#pragma once

#include <QString>
#include <QStringList>

namespace PluginPaths {

// The plugin libraries to try, in load order, from the program's folder and the folder that
// installing puts the plugins in (found relative to the program's folder); see findIn.
QStringList find(const QString& programFolder, const QStringList& arguments);

// The plugin libraries to try, in load order, from folders given in order of precedence.
// With no arguments: every "*.so" entry of the folders, one per file name (the first folder
// holding it wins), all sorted by name ignoring case. Otherwise each argument in turn, as a file name inside the first folder that holds it
// (the first folder when none does).
QStringList findIn(const QStringList& folders, const QStringList& arguments);

} // namespace PluginPaths
