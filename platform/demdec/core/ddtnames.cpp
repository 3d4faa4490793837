#include "ddtnames.h"

namespace DemDecData::Names {

const QStringList& taskAttributes()
{
    static const QStringList names{"id", "aaa", "bbb", "ccc", "name", "group", "subgroup", "caps"};
    return names;
}

const QStringList& resultAttributes()
{
    static const QStringList names{"id", "chnl", "dem", "struct", "type"};
    return names;
}

} // namespace DemDecData::Names
