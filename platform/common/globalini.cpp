#include "globalini.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace Common {

namespace {

QString settingsPath()
{
    const QString fromEnvironment = qEnvironmentVariable("ORVANE_SETTINGS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Orvane/orvane.ini"));
}

} // namespace

QSettings& GlobalIni::ini()
{
    static QSettings settings(settingsPath(), QSettings::IniFormat);
    return settings;
}

} // namespace Common
