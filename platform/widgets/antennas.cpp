#include "antennas.h"

#include <QCoreApplication>

namespace Common {

QList<Antenna> antennasOf(const QMap<int, Antenna>& antennas, const QList<int>& uids)
{
    QList<Antenna> list;
    list.reserve(uids.size());
    for (const int uid : uids)
        list.append(antennas.value(uid));
    return list;
}

QString antennaText(const Antenna& antenna)
{
    // Short enough for a narrow list; pattern and azimuth as the antenna control cells show them.
    if (antenna.uid < 0)
        return QCoreApplication::translate("Common::Antenna", "Нет антенны");
    return QStringLiteral("%1 (№%2)").arg(antennaPatternText(antenna)).arg(antenna.uid);
}

QString antennaPatternText(const Antenna& antenna)
{
    return QStringLiteral("D:%1/A:%2").arg(antenna.diagram).arg(QString::number(double(antenna.azimuth), 'g'));
}

} // namespace Common
