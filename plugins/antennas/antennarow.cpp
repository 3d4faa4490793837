#include "antennarow.h"

#include <cmath>

AntennaRow AntennaRow::fromAntenna(const Common::Antenna& antenna, int armUnionUid)
{
    return AntennaRow{antenna.type, antenna.azimuth, antenna.diagram, antenna.uid, antenna.state, armUnionUid, antenna.unknown};
}

Common::Antenna AntennaRow::toAntenna() const
{
    return Common::Antenna{type, azimuth, diagram, uid, state, unknown};
}

void AntennaRow::setAzimuth(float degrees)
{
    azimuth = (std::isnan(degrees) || degrees < 0.0f || degrees > 360.0f) ? -1.0f : degrees;
}
