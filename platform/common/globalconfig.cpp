#include "globalconfig.h"

#include "globalini.h"

#include <QSettings>

namespace Common {

namespace {

QString stringValue(const char* key, bool* ok, const QString& def)
{
    const QString value = GlobalIni::ini().value(QLatin1String(key)).toString();
    if (ok)
        *ok = !value.isEmpty();
    return value.isEmpty() ? def : value;
}

int intValue(const char* key, bool* ok, int def)
{
    bool converted = false;
    const int value = GlobalIni::ini().value(QLatin1String(key)).toString().trimmed().toInt(&converted);
    if (ok)
        *ok = converted;
    return converted ? value : def;
}

} // namespace

QString GlobalConfig::ConfigDir(bool* ok, const QString& def)
{
    const QString fromEnvironment = qEnvironmentVariable("ORVANE_CONFIG_DIR");
    if (!fromEnvironment.isEmpty()) {
        if (ok)
            *ok = true;
        return fromEnvironment;
    }
    return stringValue("Config/Directory", ok, def);
}

int GlobalConfig::ArmUID(bool* ok, const int& def)
{
    return intValue("Arm/Uid", ok, def);
}

QString GlobalConfig::DdtDir(bool* ok, const QString& def)
{
    return stringValue("DemDec/DdtDir", ok, def);
}

QString GlobalConfig::AddressDDServer(bool* ok, const QString& def)
{
    return stringValue("DemDec/Address", ok, def);
}

int GlobalConfig::PortDDServer(bool* ok, const int& def)
{
    bool converted = false;
    const int port = intValue("DemDec/Port", &converted, def);
    const bool valid = converted && port > 0 && port < 65536;
    if (ok)
        *ok = valid;
    return valid ? port : def;
}

QStringList GlobalConfig::SearchAddressesDDServer()
{
    const QStringList addresses = GlobalIni::ini().value(QStringLiteral("DemDec/SearchAddresses")).toStringList();
    return addresses.isEmpty() ? QStringList{QStringLiteral("127.0.0.1")} : addresses;
}

bool GlobalConfig::HistoryEnabled()
{
    const QString fromEnvironment = qEnvironmentVariable("ORVANE_HISTORY").trimmed();
    const QString value = fromEnvironment.isEmpty()
        ? GlobalIni::ini().value(QStringLiteral("History/Enabled")).toString().trimmed()
        : fromEnvironment;
    static const QStringList Off = {QStringLiteral("0"), QStringLiteral("false"), QStringLiteral("off"),
                                    QStringLiteral("no")};
    return !Off.contains(value.toLower());
}

QString GlobalConfig::HistoryRemote()
{
    const QString fromEnvironment = qEnvironmentVariable("ORVANE_HISTORY_REMOTE");
    return fromEnvironment.isEmpty() ? stringValue("History/Remote", nullptr, QString()) : fromEnvironment;
}

} // namespace Common
