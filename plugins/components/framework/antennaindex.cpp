#include "antennaindex.h"

#include "antennas.h"

void addAntennas(TextIndex& index, const QList<Common::Antenna>& antennas)
{
    for (const Common::Antenna& antenna : antennas) {
        index.add(Common::antennaPatternText(antenna), antenna.uid);
        index.add(Common::antennaText(antenna), antenna.uid);
        index.add(QStringLiteral("№%1").arg(antenna.uid), antenna.uid, TextIndex::Other);
    }
}
