#include "pluginpaths.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace PluginPaths {

namespace {

struct Entry
{
    QString folder;
    QString name;
};

QString pathOf(const Entry& entry)
{
    return QStringLiteral("%1/%2").arg(entry.folder, entry.name);
}

QList<Entry> scan(const QStringList& folders)
{
    QList<Entry> entries;
    QSet<QString> names;
    for (const QString& folder : folders) {
        // QDir's defaults: every kind of entry (a directory named like a library is tried and
        // skipped like any other failure), sorted by name ignoring case.
        const QStringList listed = QDir(folder, QStringLiteral("*.so")).entryList();
        for (const QString& name : listed) {
            if (!names.contains(name)) {
                names.insert(name);
                entries.append({folder, name});
            }
        }
    }
    // Stable: each folder keeps QDir's order, and of two names equal but for case the earlier
    // folder's comes first.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

Entry locate(const QStringList& folders, const QString& name)
{
    for (const QString& folder : folders) {
        const Entry entry{folder, name};
        if (QFileInfo::exists(pathOf(entry)))
            return entry;
    }
    return {folders.value(0), name};
}

} // namespace

QStringList find(const QString& programFolder, const QStringList& arguments)
{
    const QString installed = QDir::cleanPath(programFolder + QLatin1Char('/')
                                              + QStringLiteral(ORVANE_PLUGIN_DIR_FROM_PROGRAM_DIR));
    return findIn({programFolder, installed}, arguments);
}

QStringList findIn(const QStringList& folders, const QStringList& arguments)
{
    QList<Entry> entries;
    if (arguments.isEmpty()) {
        entries = scan(folders);
    } else {
        for (const QString& name : arguments)
            entries.append(locate(folders, name));
    }
    QStringList paths;
    paths.reserve(entries.size());
    for (const Entry& entry : std::as_const(entries))
        paths.append(pathOf(entry));
    return paths;
}

} // namespace PluginPaths
