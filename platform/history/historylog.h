#pragma once

#include "historyentry.h"
#include "recordchanges.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace History {

// Reading a configuration's history: its saves, what one changed, the files as one left them.
// Revisions are anything git names a commit by (an id or its start, HEAD~2, ...).
class HistoryLog
{
public:
    // The id of the last commit; empty without one.
    static QString headOf(const QString& dir);

    // Newest first; at most `limit` entries (all for -1).
    static bool entries(const QString& dir, QList<HistoryEntry>* entries, QString* error, int limit = -1);

    // The entry of a revision and its record files' changes against its parent.
    static bool changesOf(const QString& dir, const QString& revision, const QStringList& recordFiles,
                          HistoryEntry* entry, QList<FileChanges>* changes, QString* error);

    // The files of `paths` as the revision left them (a file it lacks is missing from the map).
    static bool filesAt(const QString& dir, const QString& revision, const QStringList& paths, HistoryEntry* entry,
                        QHash<QString, QByteArray>* files, QString* error);
};

} // namespace History
