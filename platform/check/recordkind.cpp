#include "recordkind.h"

namespace ConfigCheck {

namespace {

struct KindNames
{
    const char* key;
    const char* title;
};

// In the order of RecordKind.
constexpr KindNames Names[] = {
    {"Rack", "Стойка"},
    {"Computer", "ЭВМ"},
    {"Receiver", "Приёмник"},
    {"ChannelServer", "Сервер каналов"},
    {"Channel", "Канал"},
    {"ChannelParam", "Тип кассеты"},
    {"AntennaPool", "Набор антенн"},
    {"AntennaServer", "Сервер антенн"},
    {"AntennaControl", "РПУ антенн"},
    {"Ups", "ИБП"},
    {"Pdu", "Распределитель питания"},
    {"OpenSensor", "Датчик открытия"},
    {"PowerSocket", "Розетка питания"},
    {"Antenna", "Антенна"},
    {"ArmUnion", "Объединение АРМ"},
    {"Operator", "Оператор"},
    {"Pelengator", "Пеленгатор"},
    {"PelengatorUnion", "Группа пеленгаторов"},
    {"DataStorage", "Хранилище данных"},
};

const KindNames& namesOf(RecordKind kind)
{
    return Names[int(kind)];
}

} // namespace

bool isComponentType(int type)
{
    return type >= int(CoConfig::ComponentType::Rack) && type <= int(CoConfig::ComponentType::PowerSocket);
}

QString recordKindKey(RecordKind kind)
{
    return QLatin1String(namesOf(kind).key);
}

QString recordKindTitle(RecordKind kind)
{
    return QString::fromUtf8(namesOf(kind).title);
}

} // namespace ConfigCheck
