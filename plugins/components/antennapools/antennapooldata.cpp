#include "antennapooldata.h"

#include "antennalisteditdelegate.h"

template <>
ColumnBinding<CoConfig::AntennaPool> columnBinding<CoConfig::AntennaPool>(int field)
{
    using CoConfig::AntennaPool;
    using namespace Bindings;
    switch (field) {
    case FieldUid:
        return ownUid<AntennaPool>();
    case FieldName:
        return text<&AntennaPool::name>();
    case FieldDiagrams:
        // The uids as a list; the delegate shows their antennas' pattern numbers.
        return {&makeHolder<AnatennaListEditDelegate>,
                [](const AntennaPool& pool, int role, const Store*) {
                    if (!isShown(role))
                        return QVariant();
                    QVariantList uids;
                    uids.reserve(pool.antennaUids.size());
                    for (const int uid : pool.antennaUids)
                        uids.append(uid);
                    return QVariant(uids);
                },
                [](const QVariant& value, AntennaPool& pool, int role) {
                    if (role != Qt::EditRole)
                        return false;
                    pool.antennaUids = CoConfig::antennaUidsOf(value);
                    return true;
                }};
    default:
        return unused<AntennaPool>();
    }
}
