#include "componentfield.h"
#include "componenttable.h"

// Every component editor: its library, tab title, columns and a sample record.
QList<ComponentTable> componentTables()
{
    using namespace CoConfig;
    return {
        componentTable("orvane-10-racks", "OstrelInterface", "Стойки", {FieldUid, FieldName, FieldShortName},
                       Rack{ComponentUid<0>(1), "Стойка управления", "СУ"}),
        componentTable("orvane-11-computers", "GorvelInterface", "ЭВМы", {FieldUid, FieldRack, FieldName, FieldIpAddress, FieldComputerFlags},
                       Computer{ComponentUid<1>(1), ComponentUid<0>(2), "АРМ оператора", "192.168.10.100",
                                {ComputerFlag::Workstation, ComputerFlag::DataServer}, {QStringLiteral("role_of_tomorrow")},
                                {{QStringLiteral("ivanov"), 3}}}),
        componentTable("orvane-20-ups", "MirdonInterface", "ИБП", {FieldUid, FieldName, FieldRack, FieldIpAddress},
                       Ups{ComponentUid<9>(1), ComponentUid<0>(2), "ИБП стойки управления", "192.168.10.201"}),
        componentTable("orvane-21-pdus", "LomreyInterface", "Распределители питания", {FieldUid, FieldRack, FieldName, FieldIpAddress},
                       Pdu{ComponentUid<10>(1), ComponentUid<0>(2), "БРП стойки управления", "192.168.10.205"}),
        componentTable("orvane-22-open-sensors", "KestrilInterface", "Датчики открытия", {FieldUid, FieldUps, FieldIndex, FieldControlledRack},
                       OpenSensor{ComponentUid<11>(1), ComponentUid<9>(2), 3, ComponentUid<0>(4)}),
        componentTable("orvane-23-power-sockets", "DunmirInterface", "Розетки питания", {FieldUid, FieldPdu, FieldIndex, FieldObject},
                       PowerSocket{ComponentUid<12>(1), ComponentUid<10>(2), 3, ConfigUid{4, 2}}),
        componentTable("orvane-30-receivers", "NubrelInterface", "Приёмники", {FieldUid, FieldRack, FieldName},
                       Receiver{ComponentUid<2>(1), ComponentUid<0>(2), "Приёмник КВ-1"}),
        componentTable("orvane-31-channel-servers", "JolvaneInterface", "Серверы каналов",
                       {FieldUid, FieldBoard, FieldName, FieldX64, FieldComputer, FieldControlPort, FieldSignalPort,
                        FieldDacPort},
                       ChannelServer{ComponentUid<3>(1), ComponentUid<1>(110), true, 1, "Сервер каналов КВ", 5001, 5002, 5003}),
        componentTable("orvane-32-channels", "BrascoInterface", "Каналы",
                       {FieldUid, FieldName, FieldCassetteType, FieldModule, FieldFixed, FieldHidden, FieldMulti,
                        FieldScale, FieldReceiver, FieldCassette, FieldChannelServer, FieldServerIndex, FieldRpu},
                       Channel{ComponentUid<4>(1), "Канал 1 (КВ)", ComponentUid<5>(2), 3, true, true, true, 10,
                               ComponentUid<2>(4), 2, ComponentUid<3>(5), 7, ComponentUid<8>(6)}),
        componentTable("orvane-41-antenna-pools", "HastorInterface", "Наборы антенн", {FieldUid, FieldName, FieldDiagrams},
                       AntennaPool{ComponentUid<6>(1), "Антенны КВ", {3, 7}}),
        componentTable("orvane-42-antenna-servers", "IzmarkInterface", "Серверы антенн",
                       {FieldUid, FieldName, FieldComputer, FieldControlPort, FieldAntennaPool},
                       AntennaServer{ComponentUid<7>(1), ComponentUid<1>(120), "Коммутатор антенн КВ", 6001,
                                     ComponentUid<6>(2)}),
        componentTable("orvane-43-antenna-controls", "FennickInterface", "РПУ антенн",
                       {FieldUid, FieldAntennaServer, FieldControlRpu, FieldGroup, FieldAntenna},
                       AntennaControl{ComponentUid<8>(1), ComponentUid<7>(3), 2, "Север",
                                      Common::Antenna{1, 90.0f, 4, 12, true}}),
    };
}
