#include "antennapooldata.h"

#include "antennaindex.h"
#include "antennalisteditdelegate.h"

#include <QRegularExpression>

#include <memory>

namespace {

// Pasted antennas of a pool: their pattern numbers (as the cell shows them) or any text the
// antenna lists know them by, apart by "," or ";".
CellReader antennasReader(const CoConfig::ComplexConfigInterface* store)
{
    auto index = std::make_shared<TextIndex>();
    const QList<Common::Antenna> antennas = store ? store->antennas() : QList<Common::Antenna>();
    for (const Common::Antenna& antenna : antennas)
        index->add(QString::number(antenna.diagram), antenna.uid);
    addAntennas(*index, antennas);
    return [index](const QString& text, QString* problem) {
        static const QRegularExpression apart(QStringLiteral("[,;]"));
        QVariantList uids;
        for (const QString& part : text.split(apart, Qt::SkipEmptyParts)) {
            const QString item = part.trimmed();
            if (item.isEmpty())
                continue;
            const QVariant uid = index->find(item, problem);
            if (!uid.isValid())
                return QVariant();
            uids.append(uid);
        }
        return QVariant(uids);
    };
}

} // namespace

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
                },
                false, nullptr, &antennasReader};
    default:
        return unused<AntennaPool>();
    }
}
