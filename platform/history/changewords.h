#pragma once

#include "recordchanges.h"

#include <QList>
#include <QString>

namespace History {

// The editor's words for changes of records.

// "Стойки: 1 добавлена, 2 изменены; ЭВМы: 3 изменены"; empty when no record changed.
QString summaryLine(const QList<FileChanges>& files);

// "Стойка 4 «Стойка связи»".
QString recordTitle(const QString& path, const RecordChange& record);

// "Стойка 4 «Стойка связи»: Название: «Стойка 4» → «Стойка связи»", one line each: added and
// removed records, then each changed field (members this version does not know by their names).
QString changeLine(const QString& path, const RecordChange& record);

// "добавлена" for one record of the file's kind, "изменены" for 2.
QString changeVerb(const QString& path, const QString& element, RecordChange::Type type, int count);

// What the tables call a member ("Название"), or the member's name in the file.
QString fieldTitle(const QString& element, const QString& member);

} // namespace History
