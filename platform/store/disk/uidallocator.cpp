#include "uidallocator.h"

#include "kindfile.h"

#include <climits>

namespace CoConfig {

int UidAllocator::generate(int type, const ComplexData& data)
{
    const KindFile* file = KindFile::forUidType(type);
    if (!file)
        return -1;
    Kind& kind = m_kinds[type];
    const qint64 candidate = qMax(kind.next, file->lastUid(data) + 1);
    if (candidate <= INT_MAX) {
        kind.next = candidate + 1;
        kind.answered.insert(int(candidate));
        return int(candidate);
    }
    // The counter is spent: look for a gap, the slow way.
    for (qint64 uid = 1; uid <= INT_MAX; ++uid) {
        if (!kind.answered.contains(int(uid)) && !file->holdsUid(data, int(uid))) {
            kind.answered.insert(int(uid));
            return int(uid);
        }
    }
    return -1;
}

} // namespace CoConfig
