#include "componentfield.h"

#include <QObject>

namespace {

QVector<QHash<int, QVariant>> buildFieldHeaders()
{
    struct Header
    {
        ComponentField field;
        const char* title;
        const char* toolTip;
    };
    static const Header headers[] = {
        {FieldUid, QT_TRANSLATE_NOOP("QObject", "ID"), QT_TRANSLATE_NOOP("QObject", "Универсальный идентификатор")},
        {FieldName, QT_TRANSLATE_NOOP("QObject", "Название"),
         QT_TRANSLATE_NOOP("QObject", "Показывается вместо идентификатора")},
        {FieldShortName, QT_TRANSLATE_NOOP("QObject", "Короткое название"),
         QT_TRANSLATE_NOOP("QObject", "Используется для подписи иконок.\nДолжно быть действительно короткое")},
        {FieldIpAddress, QT_TRANSLATE_NOOP("QObject", "IP адрес"), QT_TRANSLATE_NOOP("QObject", "IP адрес устройства")},
        {FieldControlPort, QT_TRANSLATE_NOOP("QObject", "Порт управления"),
         QT_TRANSLATE_NOOP("QObject", "Порт управления")},
        {FieldSignalPort, QT_TRANSLATE_NOOP("QObject", "Порт сигнала"),
         QT_TRANSLATE_NOOP("QObject", "Порт рассылки сигнала")},
        {FieldDacPort, QT_TRANSLATE_NOOP("QObject", "Порт ЦАК"),
         QT_TRANSLATE_NOOP("QObject", "Порт рассылки сигнала цифрового антенного коммутатора")},
        {FieldRack, QT_TRANSLATE_NOOP("QObject", "Стойка"), QT_TRANSLATE_NOOP("QObject", "В какой стойке находится")},
        {FieldUps, QT_TRANSLATE_NOOP("QObject", "ИБП"), QT_TRANSLATE_NOOP("QObject", "В каком ИБП находится")},
        {FieldPdu, QT_TRANSLATE_NOOP("QObject", "Распределитель питания"),
         QT_TRANSLATE_NOOP("QObject", "В каком распределителе питания находится")},
        {FieldComputer, QT_TRANSLATE_NOOP("QObject", "Компьютер"),
         QT_TRANSLATE_NOOP("QObject", "В каком компьютере находится")},
        {FieldIndex, QT_TRANSLATE_NOOP("QObject", "Индекс"),
         QT_TRANSLATE_NOOP("QObject", "Индекс расположения в родительском элементе")},
        {FieldObject, QT_TRANSLATE_NOOP("QObject", "Объект"),
         QT_TRANSLATE_NOOP("QObject", "Подлючённый компонент комплекса")},
        {FieldControlledRack, QT_TRANSLATE_NOOP("QObject", "Стойка"),
         QT_TRANSLATE_NOOP("QObject", "Контролируемая стойка")},
        {FieldComputerFlags, QT_TRANSLATE_NOOP("QObject", "Тип"), QT_TRANSLATE_NOOP("QObject", "Флаги компьютера")},
        {FieldCassetteType, QT_TRANSLATE_NOOP("QObject", "Тип кассеты"),
         QT_TRANSLATE_NOOP("QObject", "Задаёт режимы работы, фильтры, ослабления канала")},
        {FieldModule, QT_TRANSLATE_NOOP("QObject", "Модуль"),
         QT_TRANSLATE_NOOP("QObject", "Задаёт автоматичски загружаемый модуль")},
        {FieldFixed, QT_TRANSLATE_NOOP("QObject", "Фикс."),
         QT_TRANSLATE_NOOP("QObject", "Пользователь не может распределять такие каналы")},
        {FieldHidden, QT_TRANSLATE_NOOP("QObject", "Скрыт"),
         QT_TRANSLATE_NOOP("QObject", "Пользователь не видит такие каналы")},
        {FieldMulti, QT_TRANSLATE_NOOP("QObject", "Мульти"),
         QT_TRANSLATE_NOOP("QObject", "Канал, созданный из других каналов")},
        {FieldScale, QT_TRANSLATE_NOOP("QObject", "Масшт."),
         QT_TRANSLATE_NOOP("QObject", "Коэффициент масштабирования сигнла")},
        {FieldReceiver, QT_TRANSLATE_NOOP("QObject", "Приёмник"),
         QT_TRANSLATE_NOOP("QObject", "В каком приёмнике находится канал")},
        {FieldChannelServer, QT_TRANSLATE_NOOP("QObject", "Сервер каналов"),
         QT_TRANSLATE_NOOP("QObject", "На каком сервере каналов находится канал")},
        {FieldServerIndex, QT_TRANSLATE_NOOP("QObject", "Индекс"),
         QT_TRANSLATE_NOOP("QObject", "Индекс по порядку на сервере каналов (с нуля)")},
        {FieldBoard, QT_TRANSLATE_NOOP("QObject", "Плата"),
         QT_TRANSLATE_NOOP("QObject", "Через какую плату осуществляется доступ к каналу")},
        {FieldCassette, QT_TRANSLATE_NOOP("QObject", "Кассета"),
         QT_TRANSLATE_NOOP("QObject", "Порядковый номер кассеты в приёмнике (с нуля)")},
        {FieldRpu, QT_TRANSLATE_NOOP("QObject", "РПУ"), QT_TRANSLATE_NOOP("QObject", "Управление антеной")},
        {FieldX64, QT_TRANSLATE_NOOP("QObject", "x64"), QT_TRANSLATE_NOOP("QObject", "64битная версия")},
        {FieldDiagrams, QT_TRANSLATE_NOOP("QObject", "Диаграммы"), QT_TRANSLATE_NOOP("QObject", "Список диаграмм")},
        {FieldAntennaServer, QT_TRANSLATE_NOOP("QObject", "Сервер"),
         QT_TRANSLATE_NOOP("QObject", "На каком сервере антенн находится управление")},
        {FieldControlRpu, QT_TRANSLATE_NOOP("QObject", "РПУ"),
         QT_TRANSLATE_NOOP("QObject", "Через какое РПУ осуществляется управление антеннами")},
        {FieldAntennaPool, QT_TRANSLATE_NOOP("QObject", "Антенная группа"),
         QT_TRANSLATE_NOOP("QObject", "Антенная группа, привязанная к серверу антенн")},
        {FieldGroup, QT_TRANSLATE_NOOP("QObject", "Группа"), QT_TRANSLATE_NOOP("QObject", "Название антенной группы")},
        {FieldAntenna, QT_TRANSLATE_NOOP("QObject", "Антена"), QT_TRANSLATE_NOOP("QObject", "Антена антенной группы")},
    };

    // Set by value, not appended, so the table's order cannot shift a field's header.
    QVector<QHash<int, QVariant>> result(FieldCount);
    for (const Header& header : headers) {
        result[header.field] = {{Qt::DisplayRole, QObject::tr(header.title)},
                                {Qt::ToolTipRole, QObject::tr(header.toolTip)}};
    }
    return result;
}

} // namespace

const QVector<QHash<int, QVariant>>& fieldHeaders()
{
    static const QVector<QHash<int, QVariant>> headers = buildFieldHeaders();
    return headers;
}
