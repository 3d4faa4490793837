#include "components.h"

#include <QCoreApplication>

#include <iterator>

namespace CoConfig::Components {

const QList<ComponentType> Types = {
    ComponentType::Rack,          ComponentType::Computer,      ComponentType::Receiver,
    ComponentType::ChannelServer, ComponentType::Channel,       ComponentType::ChannelParam,
    ComponentType::AntennaPool,   ComponentType::AntennaServer, ComponentType::AntennaControl,
    ComponentType::Ups,           ComponentType::Pdu,           ComponentType::OpenSensor,
    ComponentType::PowerSocket,
};

QString name(ComponentType type)
{
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("Components", "Стойка"),
        QT_TRANSLATE_NOOP("Components", "ЭВМ"),
        QT_TRANSLATE_NOOP("Components", "Приёмник"),
        QT_TRANSLATE_NOOP("Components", "Сервер каналов"),
        QT_TRANSLATE_NOOP("Components", "Канал"),
        QT_TRANSLATE_NOOP("Components", "Тип кассеты"),
        QT_TRANSLATE_NOOP("Components", "Антенная группа"),
        QT_TRANSLATE_NOOP("Components", "Сервер антенн"),
        QT_TRANSLATE_NOOP("Components", "Управление антенной"),
        QT_TRANSLATE_NOOP("Components", "ИБП"),
        QT_TRANSLATE_NOOP("Components", "Распределитель питания"),
        QT_TRANSLATE_NOOP("Components", "Датчик открытия"),
        QT_TRANSLATE_NOOP("Components", "Розетка питания"),
    };
    const int index = int(type);
    if (index < 0 || index >= int(std::size(names)))
        return QCoreApplication::translate("Components", "Неизвестно");
    return QCoreApplication::translate("Components", names[index]);
}

} // namespace CoConfig::Components
