#include "historyfiles.h"

#include "kindfile.h"
#include "uidallocator.h"

namespace CoConfig {

History::TrackedFiles configHistoryFiles()
{
    static const History::TrackedFiles files = [] {
        History::TrackedFiles result;
        for (const KindFile* file : KindFile::all())
            result.recordFiles.append(file->path());
        result.otherFiles.append(UidMarks::fileName());
        return result;
    }();
    return files;
}

} // namespace CoConfig
