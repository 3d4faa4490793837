#include "computerflags.h"

#include <QCoreApplication>

namespace CoConfig::Computers {

namespace {

struct FlagText
{
    ComputerFlag flag;
    const char* token;
    const char* name;
};

const FlagText flagTexts[] = {
    {ComputerFlag::Workstation, "workstation", QT_TRANSLATE_NOOP("Computers", "АРМ оператора")},
    {ComputerFlag::ChannelServer, "channel_server", QT_TRANSLATE_NOOP("Computers", "Сервер каналов")},
    {ComputerFlag::AntennaServer, "antenna_server", QT_TRANSLATE_NOOP("Computers", "Сервер антенн")},
    {ComputerFlag::DataServer, "data_server", QT_TRANSLATE_NOOP("Computers", "Сервер данных")},
    {ComputerFlag::DirectionFinderServer, "df_server", QT_TRANSLATE_NOOP("Computers", "Сервер пеленгации")},
    {ComputerFlag::DemDecServer, "demdec_server", QT_TRANSLATE_NOOP("Computers", "Сервер демодуляции")},
    {ComputerFlag::ConfigServer, "config_server", QT_TRANSLATE_NOOP("Computers", "Сервер конфигурации")},
};

const FlagText* find(ComputerFlag flag)
{
    for (const FlagText& t : flagTexts)
        if (t.flag == flag)
            return &t;
    return nullptr;
}

} // namespace

const QList<ComputerFlag> Flags = {
    ComputerFlag::Workstation,  ComputerFlag::ChannelServer,         ComputerFlag::AntennaServer,
    ComputerFlag::DataServer,   ComputerFlag::DirectionFinderServer, ComputerFlag::DemDecServer,
    ComputerFlag::ConfigServer,
};

QString name(ComputerFlag flag)
{
    const FlagText* t = find(flag);
    return t ? QCoreApplication::translate("Computers", t->name) : QCoreApplication::translate("Computers", "Неизвестно");
}

QString toXmlName(ComputerFlag flag)
{
    const FlagText* t = find(flag);
    return t ? QString::fromLatin1(t->token) : QStringLiteral("unknown");
}

ComputerFlag fromXmlName(const QString& token)
{
    for (const FlagText& t : flagTexts)
        if (token == QLatin1String(t.token))
            return t.flag;
    return ComputerFlag::Unknown;
}

} // namespace CoConfig::Computers
