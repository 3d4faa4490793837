#pragma once

#include "historylog.h"

#include <QList>
#include <QtGlobal>

// The saves of a directory's history, newest first; none (with a warning) when it cannot be read.
inline QList<History::HistoryEntry> entriesOf(const QString& dir)
{
    QList<History::HistoryEntry> entries;
    QString error;
    if (!History::HistoryLog::entries(dir, &entries, &error))
        qWarning("%s", qPrintable(error));
    return entries;
}
