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

ComputerFlag fromXmlName(QStringView token)
{
    for (const FlagText& t : flagTexts)
        if (token == QLatin1String(t.token))
            return t.flag;
    return ComputerFlag::Unknown;
}

QStringList toXmlNames(const ComputerFlags& flags, const QSet<QString>& unknown)
{
    QStringList tokens;
    tokens.reserve(flags.size() + unknown.size());
    for (const ComputerFlag flag : flags)
        tokens.append(toXmlName(flag));
    if (unknown.isEmpty())
        return tokens;
    QStringList others(unknown.cbegin(), unknown.cend());
    others.sort();
    return tokens + others;
}

void addXmlName(QStringView token, ComputerFlags& flags, QSet<QString>& unknown)
{
    const ComputerFlag flag = fromXmlName(token);
    if (flag != ComputerFlag::Unknown || token == toXmlName(flag))
        flags.insert(flag);
    else
        unknown.insert(token.toString());
}

void fromXmlNames(const QStringList& tokens, ComputerFlags& flags, QSet<QString>& unknown)
{
    flags.clear();
    unknown.clear();
    for (const QString& token : tokens)
        addXmlName(token, flags, unknown);
}

} // namespace CoConfig::Computers
