#pragma once

#include <QHash>
#include <QSet>

namespace CoConfig {

struct ComplexData;

// Hands out uids per kind that no record holds and that were never handed out before.
// Each kind keeps a counter above both the largest stored uid and every answer, so an answer
// costs a map look-up; only when the counter reaches INT_MAX are gaps searched.
class UidAllocator
{
public:
    // -1 for a type that is not a single kind with uids, or when none is left.
    int generate(int type, const ComplexData& data);

private:
    struct Kind
    {
        qint64 next = 1;
        QSet<int> answered;
    };
    QHash<int, Kind> m_kinds;
};

} // namespace CoConfig
