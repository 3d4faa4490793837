#pragma once

#include <QString>
#include <QStringList>

namespace PluginPaths {

// The plugin libraries to try, in load order: the arguments as file names inside the folder,
// or, with no arguments, every "*.so" entry of the folder sorted by name ignoring case.
QStringList find(const QString& folder, const QStringList& arguments);

} // namespace PluginPaths
