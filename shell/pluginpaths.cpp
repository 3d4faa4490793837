#include "pluginpaths.h"

#include <QDir>

namespace PluginPaths {

QStringList find(const QString& folder, const QStringList& arguments)
{
    // QDir's defaults: every kind of entry (a directory named like a library is tried and
    // skipped like any other failure), sorted by name ignoring case.
    const QStringList names = arguments.isEmpty() ? QDir(folder, QStringLiteral("*.so")).entryList() : arguments;
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths.append(QStringLiteral("%1/%2").arg(folder, name));
    return paths;
}

} // namespace PluginPaths
