#pragma once

#include "historyentry.h"

#include <QString>

namespace CoConfig {

// Writes the configuration of a directory as a revision of its history left it, as one new
// save of the store (all or nothing, under the write lock), recorded as a return to that
// revision. `restored` is the revision's entry; `made` the new commit (empty when the files
// already were so).
bool restoreFromHistory(const QString& dir, const QString& revision, History::HistoryEntry* restored,
                        QString* made, QString* error);

} // namespace CoConfig
