#include "recordnames.h"

#include "checkedkinds.h"

namespace ConfigCheck {

namespace {

qint64 key(RecordKind kind, int uid)
{
    return (qint64(kind) << 32) | quint32(uid);
}

} // namespace

QString controlLabel(const CoConfig::AntennaControl& control)
{
    return control.group.isEmpty() ? QString::number(control.rpu)
                                    : QStringLiteral("%1 (%2)").arg(control.rpu).arg(control.group);
}

QString antennaLabel(const Common::Antenna& antenna)
{
    return QStringLiteral("D:%1/A:%2").arg(antenna.diagram).arg(QString::number(double(antenna.azimuth), 'g'));
}

void RecordNames::add(RecordKind kind, int uid, const QString& name)
{
    if (!name.isEmpty())
        m_names.insert(key(kind, uid), name);
}

void RecordNames::gather(const CoConfig::ComplexConfigInterface& store)
{
    gather(CheckedKinds(store));
}

void RecordNames::gather(const CheckedKinds& store)
{
    const auto named = [this](RecordKind kind, const auto& map) {
        for (const auto& record : map)
            add(kind, record.uid.value, record.name);
    };
    named(RecordKind::Rack, store.racks());
    named(RecordKind::Computer, store.computers());
    const CoConfig::ReceiverConfig& radio = store.receivers();
    named(RecordKind::Receiver, radio.receivers);
    named(RecordKind::ChannelServer, radio.channelServers);
    named(RecordKind::ChannelParam, radio.channelParams);
    named(RecordKind::AntennaPool, radio.antennaPools);
    named(RecordKind::AntennaServer, radio.antennaServers);
    for (const CoConfig::AntennaControl& control : radio.antennaControls)
        add(RecordKind::AntennaControl, control.uid.value, controlLabel(control));
    named(RecordKind::Ups, store.power().ups);
    named(RecordKind::Pdu, store.power().pdus);
    for (const Common::Antenna& antenna : store.antennasMap())
        add(RecordKind::Antenna, antenna.uid, antennaLabel(antenna));
}

QString RecordNames::name(RecordKind kind, int uid) const
{
    return m_names.value(key(kind, uid));
}

void RecordNames::nameMissing(QList<ConfigProblem>& problems) const
{
    for (ConfigProblem& problem : problems) {
        if (problem.type != ConfigProblem::MissingRecord || !problem.hasTarget)
            continue;
        nameTarget(problem, name(problem.targetKind, problem.targetUid));
    }
}

void RecordNames::nameTarget(ConfigProblem& problem, const QString& name)
{
    if (!name.isEmpty())
        problem.message += QStringLiteral(" «%1»").arg(name);
}

} // namespace ConfigCheck
