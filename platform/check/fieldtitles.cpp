#include "fieldtitles.h"

#include <QHash>

namespace ConfigCheck {

namespace {

struct Title
{
    const char* element; // nullptr: any kind
    const char* member;
    const char* title;
};

constexpr Title Titles[] = {
    {nullptr, "name", "Название"},
    {nullptr, "shortName", "Короткое название"},
    {nullptr, "rack", "Стойка"},
    {nullptr, "ipAddress", "IP адрес"},
    {nullptr, "computer", "Компьютер"},
    {nullptr, "ups", "ИБП"},
    {nullptr, "pdu", "Распределитель питания"},
    {nullptr, "object", "Объект"},
    {nullptr, "controlledRack", "Стойка"},
    {nullptr, "cassetteType", "Тип кассеты"},
    {nullptr, "receiver", "Приёмник"},
    {nullptr, "channelServer", "Сервер каналов"},
    {nullptr, "serverIndex", "Индекс"},
    {nullptr, "antennaControl", "РПУ"},
    {nullptr, "antennaPool", "Антенная группа"},
    {nullptr, "antennaServer", "Сервер"},
    {nullptr, "antenna", "Антена"},
    {nullptr, "armUids", "АРМ"},
    {nullptr, "antennaUids", "Антенны"},
    {nullptr, "pelengatorUids", "Пеленгаторы"},
    {"AntennaPool", "antennaUids", "Диаграммы"},
    {"Computer", "registrations", "Операторы"},
    {"Operator", "name", "name"}, // one part of "ФИО", which the editor shows whole
    {"Operator", "rank", "Звание"},
    {"Operator", "post", "Должность"},
};

QString keyOf(const QString& element, const QString& member)
{
    return element + QLatin1Char('/') + member;
}

} // namespace

QString fieldTitle(const QString& element, const QString& member)
{
    static const QHash<QString, QString> titles = [] {
        QHash<QString, QString> result;
        for (const Title& title : Titles)
            result.insert(keyOf(QString::fromLatin1(title.element ? title.element : ""), QLatin1String(title.member)),
                          QString::fromUtf8(title.title));
        return result;
    }();
    const auto specific = titles.constFind(keyOf(element, member));
    return specific != titles.cend() ? *specific : titles.value(keyOf(QString(), member));
}

} // namespace ConfigCheck
