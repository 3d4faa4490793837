#include "formatdms.h"

#include <QtMath>

Dms toDms(double value)
{
    const qint64 total = qRound64(qAbs(value) * 3600.0);
    return Dms{int(total / 3600), int(total % 3600 / 60), int(total % 60)};
}

double fromDms(const Dms& dms, bool negative)
{
    const double x = dms.degrees + dms.minutes / 60.0 + dms.seconds / 3600.0;
    return negative ? -x : x;
}

QString formatDms(double value)
{
    const Dms dms = toDms(value);
    return QString::number(dms.degrees) + QChar(0x00B0) + QString::number(dms.minutes) + QLatin1Char('\'')
        + QString::number(dms.seconds) + QLatin1Char('"');
}

QString latitudeText(double latitude)
{
    return formatDms(latitude) + (latitude >= 0 ? QStringLiteral("С") : QStringLiteral("Ю"));
}

QString longitudeText(double longitude)
{
    return formatDms(longitude) + (longitude >= 0 ? QStringLiteral("В") : QStringLiteral("З"));
}
