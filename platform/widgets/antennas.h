#pragma once

#include "commonrecords.h"

#include <QList>
#include <QMap>
#include <QString>

namespace Common {

// The antennas of the uids, in their order; a uid with no antenna gives a default antenna.
QList<Antenna> antennasOf(const QMap<int, Antenna>& antennas, const QList<int>& uids);

// How an engineer tells an antenna: its pattern, azimuth and uid, "D:2/A:90 (№21)".
QString antennaText(const Antenna& antenna);
// Its pattern and azimuth alone, as an antenna control's cell shows them: "D:2/A:90".
QString antennaPatternText(const Antenna& antenna);

} // namespace Common
