#include "referencechecker.h"

#include "checkedkinds.h"
#include "ipaddress.h"
#include "recordnames.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <vector>

namespace ConfigCheck {

using namespace CoConfig;

// The record a problem is found in.
struct ReferenceChecker::Subject
{
    RecordKind kind;
    int uid;
    const QString& name;
};

namespace {

using Field = ReferenceChecker::Field;

const QString NoName;

// The pattern with its "%1" to "%9" replaced by the numbers, in one allocation: a large complex
// can give a hundred thousand such texts.
QString withNumbers(QStringView pattern, std::initializer_list<qint64> numbers)
{
    QString text;
    text.reserve(pattern.size() + 20 * qsizetype(numbers.size()));
    qsizetype from = 0; // the pattern's text not yet taken
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        const int n = pattern[i] == u'%' ? pattern[i + 1].unicode() - u'1' : -1;
        if (n < 0 || n >= int(numbers.size()))
            continue;
        text.append(pattern.mid(from, i - from));
        char digits[24];
        const auto written = std::to_chars(digits, digits + sizeof digits, numbers.begin()[n]);
        text.append(QLatin1StringView(digits, written.ptr - digits));
        from = ++i + 1;
    }
    text.append(pattern.mid(from));
    return text;
}

const Field NameField{"name", "Название"};
const Field RackField{"rack", "Стойка"};
const Field IpField{"ipAddress", "IP адрес"};
const Field ComputerField{"computer", "Компьютер"};

QString joinedFullName(const Common::Operator& op)
{
    QStringList parts;
    for (const QString& part : {op.surname, op.name, op.thirdname}) {
        if (!part.trimmed().isEmpty())
            parts.append(part);
    }
    return parts.join(QLatin1Char(' '));
}

qint64 pairKey(int a, int b)
{
    return (qint64(a) << 32) | quint32(b);
}

// The uids of a map in one sorted array, for the references of many records: a look-up touches
// a few cache lines where one in the map walks its scattered nodes.
class UidList
{
public:
    template <typename Map>
    explicit UidList(const Map& map)
    {
        m_uids.reserve(size_t(map.size()));
        for (auto key = map.keyBegin(); key != map.keyEnd(); ++key)
            m_uids.push_back(key->value);
    }

    template <int N>
    bool contains(const ComponentUid<N>& uid) const
    {
        return std::binary_search(m_uids.cbegin(), m_uids.cend(), uid.value);
    }

private:
    std::vector<int> m_uids;
};

} // namespace

QList<ConfigProblem> ReferenceChecker::check(const ComplexConfigInterface& store)
{
    return check(CheckedKinds(store));
}

QList<ConfigProblem> ReferenceChecker::check(const CheckedKinds& kinds)
{
    ReferenceChecker checker(kinds);
    checker.checkRacks();
    checker.checkComputers();
    checker.checkPower();
    checker.checkReceivers();
    checker.checkChannelServers();
    checker.checkChannels();
    checker.checkChannelParams();
    checker.checkAntennaPools();
    checker.checkAntennaServers();
    checker.checkAntennaControls();
    checker.checkArmUnions();
    checker.checkOperators();
    checker.checkPelengators();
    checker.checkDataStorages();
    return checker.m_problems;
}

ReferenceChecker::ReferenceChecker(const CheckedKinds& store)
    : m_store(store)
{
}

void ReferenceChecker::checkRacks()
{
    for (const Rack& rack : m_store.racks())
        name({RecordKind::Rack, rack.uid.value, rack.name}, rack.name);
}

void ReferenceChecker::checkComputers()
{
    const auto& operators = m_store.operatorsMap();
    for (const Computer& computer : m_store.computers()) {
        const Subject subject{RecordKind::Computer, computer.uid.value, computer.name};
        reference<0>(subject, RackField, computer.rack.value, m_store.racks());
        name(subject, computer.name);
        ipAddress(subject, computer.ipAddress);
        QStringList unknown; // logins whose operator is missing, sorted: a hash has no stable order
        for (auto it = computer.registrations.cbegin(); it != computer.registrations.cend(); ++it) {
            if (!operators.contains(it.value()))
                unknown.append(it.key());
        }
        unknown.sort();
        for (const QString& login : std::as_const(unknown))
            missing(subject, {"registrations", "Операторы"}, RecordKind::Operator, computer.registrations.value(login),
                    QStringLiteral("логин \"%1\": ").arg(login));
    }
}

void ReferenceChecker::checkPower()
{
    const PowerConfig& power = m_store.power();
    for (const Ups& ups : power.ups) {
        const Subject subject{RecordKind::Ups, ups.uid.value, ups.name};
        name(subject, ups.name);
        reference<0>(subject, RackField, ups.rack.value, m_store.racks());
        ipAddress(subject, ups.ipAddress);
    }
    for (const Pdu& pdu : power.pdus) {
        const Subject subject{RecordKind::Pdu, pdu.uid.value, pdu.name};
        reference<0>(subject, RackField, pdu.rack.value, m_store.racks());
        name(subject, pdu.name);
        ipAddress(subject, pdu.ipAddress);
    }
    const Field objectField{"object", "Объект"};
    for (const PowerSocket& socket : power.powerSockets) {
        const Subject subject{RecordKind::PowerSocket, socket.uid.value, NoName};
        reference<10>(subject, {"pdu", "Распределитель питания"}, socket.pdu.value, power.pdus);
        const ConfigUid& object = socket.object;
        if (object.value == -1)
            continue;
        if (!isComponentType(object.type)) {
            add(subject, objectField, ConfigProblem::UnknownObjectType,
                withNumbers(u"неизвестный тип объекта %1 (объект %2)", {object.type, object.value}));
            continue;
        }
        const ReceiverConfig& radio = m_store.receivers();
        bool exists = false;
        switch (ComponentType(object.type)) {
        case ComponentType::Rack: exists = m_store.racks().contains(ComponentUid<0>(object.value)); break;
        case ComponentType::Computer: exists = m_store.computers().contains(ComponentUid<1>(object.value)); break;
        case ComponentType::Receiver: exists = radio.receivers.contains(ComponentUid<2>(object.value)); break;
        case ComponentType::ChannelServer: exists = radio.channelServers.contains(ComponentUid<3>(object.value)); break;
        case ComponentType::Channel: exists = radio.channels.contains(ComponentUid<4>(object.value)); break;
        case ComponentType::ChannelParam: exists = radio.channelParams.contains(ComponentUid<5>(object.value)); break;
        case ComponentType::AntennaPool: exists = radio.antennaPools.contains(ComponentUid<6>(object.value)); break;
        case ComponentType::AntennaServer: exists = radio.antennaServers.contains(ComponentUid<7>(object.value)); break;
        case ComponentType::AntennaControl: exists = radio.antennaControls.contains(ComponentUid<8>(object.value)); break;
        case ComponentType::Ups: exists = power.ups.contains(ComponentUid<9>(object.value)); break;
        case ComponentType::Pdu: exists = power.pdus.contains(ComponentUid<10>(object.value)); break;
        case ComponentType::OpenSensor: exists = power.openSensors.contains(ComponentUid<11>(object.value)); break;
        case ComponentType::PowerSocket: exists = power.powerSockets.contains(ComponentUid<12>(object.value)); break;
        }
        if (!exists)
            missing(subject, objectField, RecordKind(object.type), object.value);
    }
    for (const OpenSensor& sensor : power.openSensors) {
        const Subject subject{RecordKind::OpenSensor, sensor.uid.value, NoName};
        reference<9>(subject, {"ups", "ИБП"}, sensor.ups.value, power.ups);
        reference<0>(subject, {"controlledRack", "Стойка"}, sensor.controlledRack.value, m_store.racks());
    }
}

void ReferenceChecker::checkReceivers()
{
    for (const Receiver& receiver : m_store.receivers().receivers) {
        const Subject subject{RecordKind::Receiver, receiver.uid.value, receiver.name};
        reference<0>(subject, RackField, receiver.rack.value, m_store.racks());
        name(subject, receiver.name);
    }
}

void ReferenceChecker::checkChannelServers()
{
    for (const ChannelServer& server : m_store.receivers().channelServers) {
        const Subject subject{RecordKind::ChannelServer, server.uid.value, server.name};
        name(subject, server.name);
        reference<1>(subject, ComputerField, server.computer.value, m_store.computers());
    }
}

void ReferenceChecker::checkChannels()
{
    const ReceiverConfig& radio = m_store.receivers();
    QHash<qint64, int> indexHolders; // (channel server, index) -> the first channel there
    indexHolders.reserve(radio.channels.size());
    const UidList channelParams(radio.channelParams);
    const UidList receivers(radio.receivers);
    const UidList channelServers(radio.channelServers);
    const UidList antennaControls(radio.antennaControls);
    for (const Channel& channel : radio.channels) {
        const Subject subject{RecordKind::Channel, channel.uid.value, channel.name};
        name(subject, channel.name);
        reference<5>(subject, {"cassetteType", "Тип кассеты"}, channel.cassetteType.value, channelParams);
        reference<2>(subject, {"receiver", "Приёмник"}, channel.receiver.value, receivers);
        reference<3>(subject, {"channelServer", "Сервер каналов"}, channel.channelServer.value, channelServers);
        if (channel.channelServer.value != -1 && channel.serverIndex != -1) {
            const auto holder = indexHolders.constFind(pairKey(channel.channelServer.value, channel.serverIndex));
            if (holder == indexHolders.cend())
                indexHolders.insert(pairKey(channel.channelServer.value, channel.serverIndex), channel.uid.value);
            else
                add(subject, {"serverIndex", "Индекс"}, ConfigProblem::DuplicateServerIndex,
                    withNumbers(u"индекс %1 на сервере каналов %2 уже занят каналом %3",
                                {channel.serverIndex, channel.channelServer.value, holder.value()}),
                    RecordKind::Channel, holder.value());
        }
        reference<8>(subject, {"antennaControl", "РПУ"}, channel.antennaControl.value, antennaControls);
    }
}

void ReferenceChecker::checkChannelParams()
{
    for (const ChannelParam& param : m_store.receivers().channelParams)
        name({RecordKind::ChannelParam, param.uid.value, param.name}, param.name);
}

void ReferenceChecker::checkAntennaPools()
{
    for (const AntennaPool& pool : m_store.receivers().antennaPools) {
        const Subject subject{RecordKind::AntennaPool, pool.uid.value, pool.name};
        name(subject, pool.name);
        listed(subject, {"antennaUids", "Диаграммы"}, RecordKind::Antenna, pool.antennaUids, m_store.antennasMap());
    }
}

void ReferenceChecker::checkAntennaServers()
{
    const ReceiverConfig& radio = m_store.receivers();
    for (const AntennaServer& server : radio.antennaServers) {
        const Subject subject{RecordKind::AntennaServer, server.uid.value, server.name};
        name(subject, server.name);
        reference<1>(subject, ComputerField, server.computer.value, m_store.computers());
        reference<6>(subject, {"antennaPool", "Антенная группа"}, server.antennaPool.value, radio.antennaPools);
    }
}

void ReferenceChecker::checkAntennaControls()
{
    const ReceiverConfig& radio = m_store.receivers();
    QSet<qint64> pooled; // (pool, antenna) for every antenna a pool lists
    for (const AntennaPool& pool : radio.antennaPools) {
        for (int antenna : pool.antennaUids)
            pooled.insert(pairKey(pool.uid.value, antenna));
    }
    const Field antennaField{"antenna", "Антена"};
    for (const AntennaControl& control : radio.antennaControls) {
        const QString label = controlLabel(control);
        const Subject subject{RecordKind::AntennaControl, control.uid.value, label};
        reference<7>(subject, {"antennaServer", "Сервер"}, control.antennaServer.value, radio.antennaServers);
        const int antenna = control.antenna.uid;
        if (antenna == -1)
            continue;
        if (!m_store.antennasMap().contains(antenna)) {
            // The control keeps the antenna's pattern and azimuth: the missing antenna by them.
            missing(subject, antennaField, RecordKind::Antenna, antenna);
            RecordNames::nameTarget(m_problems.last(), antennaLabel(control.antenna));
            continue;
        }
        const auto server = radio.antennaServers.constFind(control.antennaServer);
        if (server == radio.antennaServers.cend() || !radio.antennaPools.contains(server->antennaPool))
            continue; // reported above or on the server
        if (!pooled.contains(pairKey(server->antennaPool.value, antenna)))
            add(subject, antennaField, ConfigProblem::AntennaOutsidePool,
                withNumbers(u"антенна %1 не входит в набор антенн %2 сервера антенн %3",
                            {antenna, server->antennaPool.value, server->uid.value}),
                RecordKind::AntennaPool, server->antennaPool.value);
    }
}

void ReferenceChecker::checkArmUnions()
{
    const auto& antennas = m_store.antennasMap();
    QHash<int, int> antennaUnions; // antenna -> the first union that lists it
    const Field antennasField{"antennaUids", "Антенны"};
    for (const ArmUnion& armUnion : m_store.armUnionsMap()) {
        const Subject subject{RecordKind::ArmUnion, armUnion.uid, armUnion.name};
        name(subject, armUnion.name);
        for (int arm : armUnion.armUids) {
            if (!m_store.computers().contains(ComponentUid<1>(arm)))
                missing(subject, {"armUids", "АРМ"}, RecordKind::Computer, arm);
        }
        for (int antenna : armUnion.antennaUids) {
            if (!antennas.contains(antenna)) {
                missing(subject, antennasField, RecordKind::Antenna, antenna);
                continue;
            }
            const auto first = antennaUnions.constFind(antenna);
            if (first == antennaUnions.cend())
                antennaUnions.insert(antenna, armUnion.uid);
            else if (first.value() != armUnion.uid)
                add(subject, antennasField, ConfigProblem::AntennaInTwoUnions,
                    withNumbers(u"антенна %1 уже привязана к объединению %2", {antenna, first.value()}),
                    RecordKind::ArmUnion, first.value());
        }
    }
}

void ReferenceChecker::checkOperators()
{
    for (const Common::Operator& op : m_store.operatorsMap()) {
        const QString fullName = joinedFullName(op);
        if (fullName.isEmpty())
            add({RecordKind::Operator, op.uid, fullName}, {"name", "ФИО"}, ConfigProblem::EmptyName,
                QStringLiteral("не заполнено"));
    }
}

void ReferenceChecker::checkPelengators()
{
    const auto& pelengators = m_store.pelengatorsMap();
    for (const Pelengator& pelengator : pelengators)
        name({RecordKind::Pelengator, pelengator.uid, pelengator.name}, pelengator.name);
    for (const PelengatorUnion& pelengatorUnion : m_store.pelengatorUnionsMap())
        listed({RecordKind::PelengatorUnion, pelengatorUnion.uid, pelengatorUnion.name},
               {"pelengatorUids", "Пеленгаторы"}, RecordKind::Pelengator, pelengatorUnion.pelengatorUids, pelengators);
}

void ReferenceChecker::checkDataStorages()
{
    for (const DataStore::DataStorage& storage : m_store.dataStoragesMap())
        reference<1>({RecordKind::DataStorage, storage.uid, storage.name}, ComputerField, storage.computerUid,
                     m_store.computers());
}

template <int N, typename Map>
void ReferenceChecker::reference(const Subject& subject, const Field& field, int value, const Map& map)
{
    if (value != -1 && !map.contains(ComponentUid<N>(value)))
        missing(subject, field, RecordKind(N), value);
}

template <typename Map>
void ReferenceChecker::listed(const Subject& subject, const Field& field, RecordKind kind, const QList<int>& uids,
                              const Map& map)
{
    for (int uid : uids) {
        if (!map.contains(uid))
            missing(subject, field, kind, uid);
    }
}

void ReferenceChecker::name(const Subject& subject, const QString& name)
{
    if (name.trimmed().isEmpty())
        add(subject, NameField, ConfigProblem::EmptyName, QStringLiteral("не заполнено"));
}

void ReferenceChecker::ipAddress(const Subject& subject, const QString& text)
{
    if (text.isEmpty())
        return;
    const QString address = IpAddress::canonical(text);
    if (address.isEmpty()) {
        add(subject, IpField, ConfigProblem::NotAnIpAddress, QStringLiteral("\"%1\" не является IP адресом").arg(text));
        return;
    }
    const auto holder = m_addresses.constFind(address);
    if (holder == m_addresses.cend()) {
        m_addresses.insert(address, {subject.kind, subject.uid});
        return;
    }
    add(subject, IpField, ConfigProblem::DuplicateIpAddress,
        QStringLiteral("адрес %1 уже у записи %2 %3").arg(text, recordKindTitle(holder->kind)).arg(holder->uid),
        holder->kind, holder->uid);
}

void ReferenceChecker::add(const Subject& subject, const Field& field, ConfigProblem::Type type, const QString& message)
{
    ConfigProblem problem;
    problem.type = type;
    problem.kind = subject.kind;
    problem.uid = subject.uid;
    problem.name = subject.name;
    problem.field = fieldText(field.key);
    problem.fieldTitle = fieldText(field.title);
    problem.message = message;
    m_problems.append(std::move(problem));
}

const QString& ReferenceChecker::fieldText(const char* utf8)
{
    auto known = m_fieldTexts.find(utf8);
    if (known == m_fieldTexts.end())
        known = m_fieldTexts.insert(utf8, QString::fromUtf8(utf8));
    return *known;
}

void ReferenceChecker::add(const Subject& subject, const Field& field, ConfigProblem::Type type, const QString& message,
                           RecordKind targetKind, int targetUid)
{
    add(subject, field, type, message);
    ConfigProblem& problem = m_problems.last();
    problem.hasTarget = true;
    problem.targetKind = targetKind;
    problem.targetUid = targetUid;
}

void ReferenceChecker::missing(const Subject& subject, const Field& field, RecordKind kind, int uid,
                               const QString& prefix)
{
    add(subject, field, ConfigProblem::MissingRecord,
        prefix + QStringLiteral("нет такой записи: %1 %2").arg(recordKindTitle(kind)).arg(uid), kind, uid);
}

} // namespace ConfigCheck
