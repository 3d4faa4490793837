#pragma once

#include "historyrecorder.h"

namespace CoConfig {

// What the history of a configuration directory keeps: every kind file, and the uid marks.
// Each successful write of the store is one commit of them (HistoryRecorder), made under the
// directory's write lock once the write is durable.
History::TrackedFiles configHistoryFiles();

} // namespace CoConfig
