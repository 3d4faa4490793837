#include "antennavalue.h"

#include <QDataStream>
#include <QIODevice>

#include <cmath>

namespace AntennaValue {

namespace {

qint32 wholeDegrees(float azimuth)
{
    const double rounded = std::floor(double(azimuth) + 0.5);
    // Any azimuth that is no number of degrees reads back as unset, as -1 does.
    if (!std::isfinite(rounded) || rounded < -2147483648.0 || rounded > 2147483647.0)
        return -1;
    return qint32(rounded);
}

} // namespace

QByteArray toBytes(const Common::Antenna& antenna)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << qint32(antenna.type) << qint32(antenna.diagram) << wholeDegrees(antenna.azimuth) << qint32(antenna.uid)
           << antenna.state;
    return bytes;
}

Common::Antenna fromBytes(const QByteArray& bytes)
{
    // The stream reads through a buffer of its own: a short value sets its status, never a
    // read past the end.
    QDataStream stream(bytes);
    qint32 type = 0;
    qint32 diagram = 0;
    qint32 azimuth = 0;
    qint32 uid = 0;
    bool state = false;
    stream >> type >> diagram >> azimuth >> uid >> state;
    Common::Antenna antenna;
    antenna.type = type;
    antenna.diagram = diagram;
    antenna.azimuth = azimuth >= 0 && azimuth <= 360 ? float(azimuth) : -1.0f;
    antenna.uid = uid;
    antenna.state = state;
    return antenna;
}

} // namespace AntennaValue
