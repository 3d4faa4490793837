#include "formatdms.h"

#include <QtMath>

QString formatDms(double value)
{
    const double x = qAbs(value);
    const int degrees = int(x);
    const int minutes = int((x - degrees) * 60);
    const int seconds = int((x - degrees - minutes / 60.0) * 3600 + 0.5);
    return QString::number(degrees) + QChar(0x00B0) + QString::number(minutes) + QLatin1Char('\'')
        + QString::number(seconds) + QLatin1Char('"');
}

QString latitudeText(double latitude)
{
    return formatDms(latitude) + (latitude >= 0 ? QStringLiteral("С") : QStringLiteral("Ю"));
}

QString longitudeText(double longitude)
{
    return formatDms(longitude) + (longitude >= 0 ? QStringLiteral("В") : QStringLiteral("З"));
}
