// Writes a small but believable complex with every kind of record:
//   orvane-make-sample [directory]     (default: the repository's sample/complex)
// Workstation 100 is the one that sample/orvane.ini.in names as this workstation.
#include "channelmodule.h"
#include "complexconfig.h"
#include "dirlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace CoConfig;

namespace {

void addRack(ComplexConfig& store, int uid, const char* name, const char* shortName)
{
    Rack r;
    r.uid = ComponentUid<0>(uid);
    r.name = QString::fromUtf8(name);
    r.shortName = QString::fromUtf8(shortName);
    store.racks().insert(r.uid, r);
}

void addComputer(ComplexConfig& store, int uid, int rack, const char* name, const char* ip, ComputerFlags flags,
                 Registrations registrations = {})
{
    Computer c;
    c.uid = ComponentUid<1>(uid);
    c.rack = ComponentUid<0>(rack);
    c.name = QString::fromUtf8(name);
    c.ipAddress = QString::fromLatin1(ip);
    c.flags = flags;
    c.registrations = registrations;
    store.computers().insert(c.uid, c);
}

void addOperator(ComplexConfig& store, int uid, const char* surname, const char* name, const char* thirdname,
                 const char* rank, const char* post)
{
    store.addOperator(Common::Operator{uid, QString::fromUtf8(name), QString::fromUtf8(surname),
                                       QString::fromUtf8(thirdname), QString::fromUtf8(rank), QString::fromUtf8(post)});
}

void addPower(ComplexConfig& store)
{
    PowerConfig& power = store.power();
    const struct { int uid; int rack; const char* name; const char* ip; } upsUnits[] = {
        {1, 1, "ИБП стойки управления", "192.168.10.201"}, {2, 2, "ИБП приёмной стойки", "192.168.10.202"}};
    for (const auto& u : upsUnits)
        power.ups.insert(ComponentUid<9>(u.uid), Ups{ComponentUid<9>(u.uid), ComponentUid<0>(u.rack),
                                                     QString::fromUtf8(u.name), QString::fromLatin1(u.ip)});
    const struct { int uid; int rack; const char* name; const char* ip; } pdus[] = {
        {1, 1, "БРП стойки управления", "192.168.10.211"}, {2, 2, "БРП приёмной стойки №1", "192.168.10.212"},
        {3, 3, "БРП приёмной стойки №2", "192.168.10.213"}};
    for (const auto& p : pdus)
        power.pdus.insert(ComponentUid<10>(p.uid), Pdu{ComponentUid<10>(p.uid), ComponentUid<0>(p.rack),
                                                      QString::fromUtf8(p.name), QString::fromLatin1(p.ip)});
    const struct { int uid; int ups; int index; int rack; } sensors[] = {{1, 1, 1, 1}, {2, 2, 1, 2}, {3, 2, 2, 3}};
    for (const auto& s : sensors)
        power.openSensors.insert(ComponentUid<11>(s.uid), OpenSensor{ComponentUid<11>(s.uid), ComponentUid<9>(s.ups),
                                                                    s.index, ComponentUid<0>(s.rack)});
    const struct { int uid; int pdu; int index; int object; ComponentType type; } sockets[] = {
        {1, 1, 1, 110, ComponentType::Computer}, {2, 1, 2, 111, ComponentType::Computer},
        {3, 1, 3, 120, ComponentType::Computer}, {4, 2, 1, 1, ComponentType::Receiver},
        {5, 2, 2, 2, ComponentType::Receiver},   {6, 3, 1, 3, ComponentType::Receiver},
        {7, 3, 2, 4, ComponentType::Receiver},   {8, 1, 4, 130, ComponentType::Computer},
        {9, 1, 5, 140, ComponentType::Computer}, {10, 1, 6, 150, ComponentType::Computer},
        {11, 2, 3, 2, ComponentType::Ups},       {12, 3, 3, 3, ComponentType::Rack}}; // the rack's fans
    for (const auto& s : sockets)
        power.powerSockets.insert(ComponentUid<12>(s.uid),
                                  PowerSocket{ComponentUid<12>(s.uid), ComponentUid<10>(s.pdu), s.index,
                                              ConfigUid{s.object, int(s.type)}});
}

// Two receiving racks: short-wave receivers in rack 2, VHF/UHF receivers in rack 3, each
// receiver with two cassettes of two channels, reached through the channel servers on computers
// 110 and 111.
void addRadio(ComplexConfig& store)
{
    ReceiverConfig& radio = store.receivers();
    const struct { int uid; int rack; const char* name; } receivers[] = {
        {1, 2, "Приёмник КВ-1"},  {2, 2, "Приёмник КВ-2"},  {3, 3, "Приёмник УКВ-1"},
        {4, 3, "Приёмник УКВ-2"}, {5, 2, "Приёмник КВ-3"},  {6, 3, "Приёмник УКВ-3"}};
    for (const auto& r : receivers)
        radio.receivers.insert(ComponentUid<2>(r.uid),
                               Receiver{ComponentUid<2>(r.uid), ComponentUid<0>(r.rack), QString::fromUtf8(r.name)});

    const struct { int uid; int computer; bool x64; int board; const char* name; int port; } servers[] = {
        {1, 110, true, 0, "Сервер каналов КВ", 5001},         {2, 111, true, 0, "Сервер каналов УКВ", 5011},
        {3, 110, false, -1, "Сервер каналов КВ (резерв)", 5021}, {4, 111, true, 1, "Сервер каналов УКВ-2", 5031}};
    for (const auto& s : servers)
        radio.channelServers.insert(ComponentUid<3>(s.uid),
                                    ChannelServer{ComponentUid<3>(s.uid), ComponentUid<1>(s.computer), s.x64, s.board,
                                                  QString::fromUtf8(s.name), s.port, s.port + 1, s.port + 2});

    const struct { int uid; const char* name; QStringList modes; QList<int> filters; QList<int> attenuations; } params[] = {
        {1, "Кассета КВ", {"АМ", "ОБП", "ЧТ"}, {3000, 6000}, {0, 10, 20}},
        {2, "Кассета УКВ", {"ЧМ", "АМ"}, {12000, 25000, 50000}, {0, 6, 12, 18}},
        {3, "Кассета КВ узкополосная", {"ОБП", "ТЛГ"}, {300, 1000, 3000}, {0, 10}},
        {4, "Кассета УКВ широкополосная", {"ЧМ", "ШЧМ"}, {50000, 150000, 250000}, {0, 10, 20, 30}}};
    for (const auto& p : params)
        radio.channelParams.insert(ComponentUid<5>(p.uid), ChannelParam{ComponentUid<5>(p.uid), QString::fromUtf8(p.name),
                                                                         p.modes, p.filters, p.attenuations});

    const struct { int uid; QList<int> antennas; const char* name; } pools[] = {
        {1, {1, 2, 3}, "Антенны КВ"}, {2, {4, 5, 6}, "Антенны УКВ"}, {3, {3, 6}, "Резервные антенны"}};
    for (const auto& p : pools)
        radio.antennaPools.insert(ComponentUid<6>(p.uid),
                                  AntennaPool{ComponentUid<6>(p.uid), QString::fromUtf8(p.name), p.antennas});
    // The reserve switch serves the spare receivers; its controls name no group.
    const struct { int uid; int computer; const char* name; int port; int pool; } antennaServers[] = {
        {1, 120, "Коммутатор антенн КВ", 6001, 1}, {2, 120, "Коммутатор антенн УКВ", 6002, 2},
        {3, 120, "Коммутатор антенн резервный", 6003, 3}};
    for (const auto& s : antennaServers)
        radio.antennaServers.insert(ComponentUid<7>(s.uid),
                                    AntennaServer{ComponentUid<7>(s.uid), ComponentUid<1>(s.computer),
                                                  QString::fromUtf8(s.name), s.port, ComponentUid<6>(s.pool)});
    const struct { int uid; int server; int rpu; const char* group; Common::Antenna antenna; } controls[] = {
        {1, 1, 0, "Север", {0, 0.0f, 1, 1, true}},   {2, 1, 1, "Север", {1, 90.0f, 2, 2, true}},
        {3, 2, 0, "Юг", {2, 180.0f, 1, 4, true}},    {4, 2, 1, "Юг", {0, 270.0f, 3, 5, false}},
        {5, 3, 2, "", {2, 45.5f, 1, 3, true}},       {6, 3, 3, "", {1, 315.0f, 2, 6, true}}};
    for (const auto& c : controls)
        radio.antennaControls.insert(ComponentUid<8>(c.uid),
                                     AntennaControl{ComponentUid<8>(c.uid), ComponentUid<7>(c.server), c.rpu,
                                                    QString::fromUtf8(c.group), c.antenna});

    // Per receiver: its channel server, the first index there, its cassette types, its antenna controls.
    const struct { int receiver; int server; int firstIndex; int cassetteType; int narrowType; int control; } feeds[] = {
        {1, 1, 0, 1, 3, 1}, {2, 1, 4, 1, 3, 2}, {5, 3, 0, 1, 3, 2},
        {3, 2, 0, 2, 4, 3}, {4, 2, 4, 2, 4, 4}, {6, 4, 0, 2, 4, 4}};
    const int modules[] = {Common::ChannelModulePanorama, Common::ChannelModuleListening, Common::ChannelModuleRecording,
                           Common::ChannelModuleDemDec};
    int uid = 1;
    for (const auto& f : feeds) {
        const bool shortWave = f.cassetteType == 1;
        const QString receiver = radio.receivers.value(ComponentUid<2>(f.receiver)).name.section(QLatin1Char(' '), 1);
        for (int k = 0; k < 4; ++k, ++uid) {
            Channel c;
            c.uid = ComponentUid<4>(uid);
            c.name = QStringLiteral("Канал %1 (%2)").arg(k + 1).arg(receiver);
            c.cassetteType = ComponentUid<5>(k < 2 ? f.cassetteType : f.narrowType);
            c.module = f.receiver == 5 && k == 3 ? Common::ChannelModuleDirectionFinding : modules[k];
            c.fixed = k == 0; // the panorama channel stays with its post
            c.hidden = f.receiver == 6 && k == 3;
            c.multi = f.receiver == 5 && k == 3;
            c.scale = shortWave ? 1 : 10;
            c.receiver = ComponentUid<2>(f.receiver);
            c.cassette = k / 2;
            c.channelServer = ComponentUid<3>(f.server);
            c.serverIndex = f.firstIndex + k;
            c.antennaControl = ComponentUid<8>(k < 2 ? f.control : (f.control % 2 ? f.control + 1 : f.control - 1));
            radio.channels.insert(c.uid, c);
        }
    }
}

void addComplex(ComplexConfig& store)
{
    store.setComplexUid(1);
    store.addComplexInfo(ComplexInfo{1, QStringLiteral("Комплекс радиоконтроля «Север»"),
                                     QStringLiteral("Учебная конфигурация: два поста, КВ и УКВ диапазоны")});

    addRack(store, 1, "Стойка управления", "СУ");
    addRack(store, 2, "Приёмная стойка №1", "СП-1");
    addRack(store, 3, "Приёмная стойка №2", "СП-2");

    using F = ComputerFlag;
    addComputer(store, 100, 1, "АРМ оператора №1", "192.168.10.100", {F::Workstation},
                {{QStringLiteral("ivanov"), 1}, {QStringLiteral("petrova"), 2}});
    addComputer(store, 101, 1, "АРМ оператора №2", "192.168.10.101", {F::Workstation},
                {{QStringLiteral("sidorov"), 3}, {QStringLiteral("ivanov"), 1}});
    addComputer(store, 102, 1, "АРМ начальника смены", "192.168.10.102", {F::Workstation},
                {{QStringLiteral("kuznetsov"), 4}});
    addComputer(store, 110, 2, "Сервер каналов КВ", "192.168.10.110", {F::ChannelServer});
    addComputer(store, 111, 3, "Сервер каналов УКВ", "192.168.10.111", {F::ChannelServer});
    addComputer(store, 120, 2, "Сервер антенн", "192.168.10.120", {F::AntennaServer});
    addComputer(store, 130, 1, "Сервер данных", "192.168.10.130", {F::DataServer, F::ConfigServer});
    addComputer(store, 140, 1, "Сервер пеленгации", "192.168.10.140", {F::DirectionFinderServer});
    addComputer(store, 150, 1, "Сервер демодуляции", "192.168.10.150", {F::DemDecServer});

    addOperator(store, 1, "Иванов", "Иван", "Петрович", "капитан", "оператор");
    addOperator(store, 2, "Петрова", "Анна", "Сергеевна", "лейтенант", "старший оператор");
    addOperator(store, 3, "Сидоров", "Павел", "Андреевич", "старший лейтенант", "оператор");
    addOperator(store, 4, "Кузнецов", "Олег", "Викторович", "майор", "начальник смены");
    addOperator(store, 5, "Смирнова", "Елена", "Игоревна", "прапорщик", "оператор-стажёр");

    addPower(store);
    addRadio(store);

    const struct { int uid; int type; float azimuth; int diagram; bool state; } antennas[] = {
        {1, 0, 0.0f, 1, true},   {2, 1, 90.0f, 2, true}, {3, 2, 45.5f, 1, true},
        {4, 2, 180.0f, 1, true}, {5, 0, 270.0f, 3, false}, {6, 1, 315.0f, 2, true}};
    for (const auto& a : antennas)
        store.addAntenna(Common::Antenna{a.type, a.azimuth, a.diagram, a.uid, a.state});

    store.addArmUnion(ArmUnion{1, QStringLiteral("Пост радиоконтроля №1"), {100, 101}, {1, 2, 3}});
    store.addArmUnion(ArmUnion{2, QStringLiteral("Пункт управления"), {102}, {4, 5}});

    Pelengator north;
    north.uid = 1;
    north.linkUid = 11;
    north.name = QStringLiteral("Пеленгатор «Север»");
    north.capabilities = 0x3;
    north.bandStart = 1500000;
    north.bandWidth = 28500000;
    north.latitude = 59.9386;
    north.longitude = 30.3141;
    north.marked = true;
    Pelengator south = north;
    south.uid = 2;
    south.linkUid = 12;
    south.name = QStringLiteral("Пеленгатор «Юг»");
    south.bandStart = 30000000;
    south.bandWidth = 270000000;
    south.latitude = 45.0355;
    south.longitude = 38.9753;
    Pelengator virtualOne;
    virtualOne.uid = 3;
    virtualOne.name = QStringLiteral("Виртуальный пеленгатор");
    virtualOne.isVirtual = true;
    virtualOne.latitude = 55.7558;
    virtualOne.longitude = 37.6173;
    for (const Pelengator& p : {north, south, virtualOne})
        store.addPelengator(p);
    store.addPelengatorUnion(PelengatorUnion{1, QStringLiteral("Пеленгационная сеть"), {1, 2}});

    store.addDataStorage(DataStore::DataStorage{1, QStringLiteral("Архив записей"), QStringLiteral("/srv/orvane/records"), 130});
    store.addDataStorage(DataStore::DataStorage{2, QStringLiteral("Журнал пеленгов"), QStringLiteral("/srv/orvane/bearings"), 140});

    store.addTaskSetLink({102, 100});
    store.addTaskSetLink({102, 101});
    store.addTaskTransferLink({100, 101});
    store.addReportLink({100, 102});
    store.addReportLink({101, 102});
    store.addDravikLink({140, 102});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QDir::cleanPath(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ORVANE_SAMPLE_COMPLEX_DIR));
    const QString lockFile = DirLock::lockPathFor(dir);
    const bool hadLockFile = QFileInfo::exists(lockFile);
    ComplexConfig store(dir, 0, 0);
    addComplex(store);
    const bool written = store.write(ObjectAll);
    // The lock file would only litter the repository; nobody else writes the sample.
    if (!hadLockFile)
        QFile::remove(lockFile);
    if (!written) {
        std::fprintf(stderr, "%s\n", qPrintable(store.errorString()));
        return 1;
    }
    std::printf("sample complex written to %s\n", qPrintable(store.configDirPath()));
    return 0;
}
