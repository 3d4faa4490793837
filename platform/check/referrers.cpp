#include "referrers.h"

#include "complexconfiginterface.h"

namespace ConfigCheck {

using namespace CoConfig;

namespace {

class Collector
{
public:
    Collector(RecordKind kind, const QSet<int>& uids, int named, const QSet<RecordKind>& skipped)
        : m_kind(kind), m_uids(uids), m_named(named), m_skipped(skipped)
    {
    }

    bool holds(int uid) const { return uid != -1 && m_uids.contains(uid); }
    bool holds(const ConfigUid& object) const { return object.type == int(m_kind) && holds(object.value); }
    bool holdsAny(const QList<int>& uids) const
    {
        return std::any_of(uids.cbegin(), uids.cend(), [this](int uid) { return holds(uid); });
    }

    // Each record of the map that `refers` says refers to one of the uids.
    template <typename Map, typename Refers>
    void scan(RecordKind kind, const Map& records, Refers refers)
    {
        if (m_skipped.contains(kind))
            return;
        int count = 0;
        for (const auto& record : records) {
            if (!refers(record))
                continue;
            ++count;
            if (m_result.firstNames.size() < m_named)
                m_result.firstNames << recordKindTableTitle(kind) + QLatin1String(": ") + nameOf(record);
        }
        if (count > 0) {
            m_result.counts.append({kind, count});
            m_result.total += count;
        }
    }

    Referrers take() { return std::move(m_result); }

private:
    template <typename R>
    static QString nameOf(const R& record)
    {
        if constexpr (std::is_same_v<R, PowerSocket> || std::is_same_v<R, OpenSensor> || std::is_same_v<R, AntennaControl>)
            return QStringLiteral("№%1").arg(record.uid.value);
        else if constexpr (std::is_same_v<R, ArmUnion> || std::is_same_v<R, DataStore::DataStorage>)
            return record.name.isEmpty() ? QStringLiteral("№%1").arg(record.uid) : record.name;
        else
            return record.name.isEmpty() ? QStringLiteral("№%1").arg(record.uid.value) : record.name;
    }

    const RecordKind m_kind;
    const QSet<int>& m_uids;
    const int m_named;
    const QSet<RecordKind>& m_skipped;
    Referrers m_result;
};

} // namespace

QString recordKindTableTitle(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Rack: return QStringLiteral("Стойки");
    case RecordKind::Computer: return QStringLiteral("ЭВМы");
    case RecordKind::Ups: return QStringLiteral("ИБП");
    case RecordKind::Pdu: return QStringLiteral("Распределители питания");
    case RecordKind::OpenSensor: return QStringLiteral("Датчики открытия");
    case RecordKind::PowerSocket: return QStringLiteral("Розетки питания");
    case RecordKind::Receiver: return QStringLiteral("Приёмники");
    case RecordKind::ChannelServer: return QStringLiteral("Серверы каналов");
    case RecordKind::Channel: return QStringLiteral("Каналы");
    case RecordKind::ChannelParam: return QStringLiteral("Типы кассет");
    case RecordKind::AntennaPool: return QStringLiteral("Наборы антенн");
    case RecordKind::AntennaServer: return QStringLiteral("Серверы антенн");
    case RecordKind::AntennaControl: return QStringLiteral("РПУ антенн");
    case RecordKind::Antenna: return QStringLiteral("Антенны");
    case RecordKind::ArmUnion: return QStringLiteral("Объединения АРМ");
    case RecordKind::Operator: return QStringLiteral("Операторы");
    case RecordKind::Pelengator: return QStringLiteral("Пеленгаторы");
    case RecordKind::PelengatorUnion: return QStringLiteral("Объединения пеленгаторов");
    case RecordKind::DataStorage: return QStringLiteral("Хранилища данных");
    }
    return recordKindTitle(kind);
}

QString Referrers::summary() const
{
    QStringList parts;
    for (const Count& count : counts)
        parts << QStringLiteral("%1 — %2").arg(recordKindTableTitle(count.kind)).arg(count.count);
    return QStringLiteral("На удаляемые записи ссылаются: %1.").arg(parts.join(QLatin1String(", ")));
}

QString Referrers::names() const
{
    QString result = firstNames.join(QLatin1Char('\n'));
    if (total > firstNames.size())
        result += QStringLiteral("\nи ещё %1").arg(total - firstNames.size());
    return result;
}

Referrers referrersOf(const ComplexConfigInterface& store, RecordKind kind, const QSet<int>& uids, int named,
                      const QSet<RecordKind>& skipped)
{
    Collector c(kind, uids, named, skipped);
    if (uids.isEmpty())
        return c.take();
    const PowerConfig& power = store.power();
    const ReceiverConfig& radio = store.receivers();
    switch (kind) {
    case RecordKind::Rack:
        c.scan(RecordKind::Computer, store.computers(), [&](const Computer& r) { return c.holds(r.rack.value); });
        c.scan(RecordKind::Ups, power.ups, [&](const Ups& r) { return c.holds(r.rack.value); });
        c.scan(RecordKind::Pdu, power.pdus, [&](const Pdu& r) { return c.holds(r.rack.value); });
        c.scan(RecordKind::OpenSensor, power.openSensors, [&](const OpenSensor& r) { return c.holds(r.controlledRack.value); });
        c.scan(RecordKind::Receiver, radio.receivers, [&](const Receiver& r) { return c.holds(r.rack.value); });
        break;
    case RecordKind::Computer:
        c.scan(RecordKind::ChannelServer, radio.channelServers, [&](const ChannelServer& r) { return c.holds(r.computer.value); });
        c.scan(RecordKind::AntennaServer, radio.antennaServers, [&](const AntennaServer& r) { return c.holds(r.computer.value); });
        c.scan(RecordKind::ArmUnion, store.armUnionsMap(), [&](const ArmUnion& r) { return c.holdsAny(r.armUids); });
        c.scan(RecordKind::DataStorage, store.dataStoragesMap(),
               [&](const DataStore::DataStorage& r) { return c.holds(r.computerUid); });
        break;
    case RecordKind::Ups:
        c.scan(RecordKind::OpenSensor, power.openSensors, [&](const OpenSensor& r) { return c.holds(r.ups.value); });
        break;
    case RecordKind::Pdu:
        c.scan(RecordKind::PowerSocket, power.powerSockets, [&](const PowerSocket& r) { return c.holds(r.pdu.value); });
        break;
    case RecordKind::Receiver:
        c.scan(RecordKind::Channel, radio.channels, [&](const Channel& r) { return c.holds(r.receiver.value); });
        break;
    case RecordKind::ChannelServer:
        c.scan(RecordKind::Channel, radio.channels, [&](const Channel& r) { return c.holds(r.channelServer.value); });
        break;
    case RecordKind::ChannelParam:
        c.scan(RecordKind::Channel, radio.channels, [&](const Channel& r) { return c.holds(r.cassetteType.value); });
        break;
    case RecordKind::AntennaPool:
        c.scan(RecordKind::AntennaServer, radio.antennaServers, [&](const AntennaServer& r) { return c.holds(r.antennaPool.value); });
        break;
    case RecordKind::AntennaServer:
        c.scan(RecordKind::AntennaControl, radio.antennaControls,
               [&](const AntennaControl& r) { return c.holds(r.antennaServer.value); });
        break;
    case RecordKind::AntennaControl:
        c.scan(RecordKind::Channel, radio.channels, [&](const Channel& r) { return c.holds(r.antennaControl.value); });
        break;
    case RecordKind::Antenna:
        c.scan(RecordKind::AntennaPool, radio.antennaPools, [&](const AntennaPool& r) { return c.holdsAny(r.antennaUids); });
        c.scan(RecordKind::AntennaControl, radio.antennaControls, [&](const AntennaControl& r) { return c.holds(r.antenna.uid); });
        c.scan(RecordKind::ArmUnion, store.armUnionsMap(), [&](const ArmUnion& r) { return c.holdsAny(r.antennaUids); });
        break;
    default:
        break;
    }
    // A power socket may feed a component of any kind.
    if (isComponentType(int(kind)) && kind != RecordKind::PowerSocket)
        c.scan(RecordKind::PowerSocket, power.powerSockets, [&](const PowerSocket& r) { return c.holds(r.object); });
    return c.take();
}

} // namespace ConfigCheck
