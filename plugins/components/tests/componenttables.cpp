#include "componentfield.h"
#include "componenttable.h"

namespace {

ComponentTable computers()
{
    using namespace CoConfig;
    ComponentTable table = componentTable(
        "orvane-11-computers", "GorvelInterface", "ЭВМы", {FieldUid, FieldRack, FieldName, FieldIpAddress, FieldComputerFlags},
        Computer{ComponentUid<1>(1), ComponentUid<0>(2), "АРМ оператора", "192.168.10.100",
                 {ComputerFlag::Workstation, ComputerFlag::DataServer}, {QStringLiteral("role_of_tomorrow")},
                 {{QStringLiteral("ivanov"), 3}}});
    table.textShowsEveryMember = false; // the registrations are the operator editor's
    return table;
}

template <int N>
void put(CoConfig::ComplexConfigInterface& store, int ownType, typename ComponentStore<N>::Record record, int offset)
{
    if (N == ownType)
        return;
    record.uid = CoConfig::ComponentUid<N>(record.uid.value + offset);
    ComponentStore<N>::map(store).insert(record.uid, record);
}

} // namespace

void addReferencedRecords(CoConfig::ComplexConfigInterface& store, int ownType, int offset)
{
    using namespace CoConfig;
    const auto ref = [offset](int uid) { return uid + offset; };
    put<0>(store, ownType, Rack{ComponentUid<0>(2), "Стойка связи", "СС"}, offset);
    put<0>(store, ownType, Rack{ComponentUid<0>(4), "Стойка контроля", "СК"}, offset);
    put<1>(store, ownType, Computer{ComponentUid<1>(110), ComponentUid<0>(ref(2)), "Сервер КВ", "", {}, {}, {}}, offset);
    put<1>(store, ownType, Computer{ComponentUid<1>(120), ComponentUid<0>(ref(2)), "Сервер антенн", "", {}, {}, {}}, offset);
    put<2>(store, ownType, Receiver{ComponentUid<2>(4), ComponentUid<0>(ref(2)), "Приёмник КВ-4"}, offset);
    put<3>(store, ownType, ChannelServer{ComponentUid<3>(5), ComponentUid<1>(ref(110)), true, 0, "СК КВ", 1, 2, 3}, offset);
    put<5>(store, ownType, ChannelParam{ComponentUid<5>(2), "Кассета КВ", {}, {}, {}}, offset);
    put<6>(store, ownType, AntennaPool{ComponentUid<6>(2), "Антенны КВ", {ref(3), ref(7)}}, offset);
    put<7>(store, ownType, AntennaServer{ComponentUid<7>(3), ComponentUid<1>(ref(120)), "Коммутатор КВ", 6000, ComponentUid<6>(ref(2))}, offset);
    AntennaControl control;
    control.uid = ComponentUid<8>(6);
    control.antennaServer = ComponentUid<7>(ref(3));
    control.rpu = 2;
    control.group = QStringLiteral("Юг");
    put<8>(store, ownType, control, offset);
    put<9>(store, ownType, Ups{ComponentUid<9>(2), ComponentUid<0>(ref(2)), "ИБП связи", ""}, offset);
    put<10>(store, ownType, Pdu{ComponentUid<10>(2), ComponentUid<0>(ref(2)), "БРП связи", ""}, offset);
    // The pool's antennas and the control's, the latter as the sample holds it.
    for (const Common::Antenna& antenna : {Common::Antenna{0, 10.0f, 13, 3, false}, Common::Antenna{0, 20.0f, 17, 7, false},
                                           Common::Antenna{1, 90.0f, 4, 12, true}}) {
        Common::Antenna added = antenna;
        added.uid = ref(antenna.uid);
        store.antennasMap().insert(added.uid, added);
    }
}

// Every component editor: its library, tab title, columns and a sample record.
QList<ComponentTable> componentTables()
{
    using namespace CoConfig;
    return {
        componentTable("orvane-10-racks", "OstrelInterface", "Стойки", {FieldUid, FieldName, FieldShortName},
                       Rack{ComponentUid<0>(1), "Стойка управления", "СУ"}),
        computers(),
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
