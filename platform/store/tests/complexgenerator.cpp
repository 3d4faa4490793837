#include "complexgenerator.h"

#include "complexconfiginterface.h"

namespace StoreTest {

using namespace CoConfig;

ComplexSizes ComplexSizes::large()
{
    ComplexSizes sizes;
    sizes.racks = 2000;
    sizes.computers = 20000;
    sizes.operators = 20000;
    sizes.channels = 100000;
    sizes.antennas = 10000;
    sizes.unions = 1000;
    sizes.pelengators = 1000;
    sizes.others = 5000;
    sizes.links = 5000;
    return sizes;
}

ComplexSizes ComplexSizes::medium(int channels)
{
    ComplexSizes sizes;
    sizes.racks = channels / 50 + 1;
    sizes.computers = channels / 5 + 1;
    sizes.operators = channels / 5 + 1;
    sizes.channels = channels;
    sizes.antennas = channels / 10 + 1;
    sizes.unions = channels / 100 + 1;
    sizes.pelengators = channels / 100 + 1;
    sizes.others = channels / 20 + 1;
    sizes.links = channels / 20 + 1;
    return sizes;
}

namespace {

QString text(const char* base, int index, int variant)
{
    return QStringLiteral("%1 №%2%3").arg(QString::fromUtf8(base)).arg(index).arg(variant ? QStringLiteral(" (в%1)").arg(variant) : QString());
}

QString address(int index, int variant)
{
    return QStringLiteral("10.%1.%2.%3").arg(variant % 250).arg((index / 250) % 250).arg(index % 250 + 1);
}

template <int N>
ComponentUid<N> ref(int index, int count)
{
    return ComponentUid<N>(count > 0 ? index % count + 1 : -1);
}

QList<InteractionLink> links(int count, int variant, int salt)
{
    QList<InteractionLink> result;
    for (int i = 0; i < count; ++i)
        result.append(InteractionLink{i % 97 + salt, (i * 7 + variant) % 113 + 1});
    return result;
}

} // namespace

ComplexData generateComplex(const ComplexSizes& s, int variant)
{
    ComplexData d;
    d.complexUid = 40 + variant;
    for (int i = 1; i <= 2; ++i)
        d.complexInfos.insert(i, ComplexInfo{i, text("Комплекс", i, variant), text("Описание <&> \"комплекса\"", i, variant)});

    for (int i = 1; i <= s.racks; ++i) {
        Rack r;
        r.uid = ComponentUid<0>(i);
        r.name = text("Стойка", i, variant);
        r.shortName = QStringLiteral("С%1").arg(i);
        d.racks.insert(r.uid, r);
    }
    for (int i = 1; i <= s.computers; ++i) {
        Computer c;
        c.uid = ComponentUid<1>(i);
        c.rack = ref<0>(i, s.racks);
        c.name = text("АРМ", i, variant);
        c.ipAddress = address(i, variant);
        c.flags = {ComputerFlag::Workstation};
        if (i % 3 == 0)
            c.flags.insert(ComputerFlag::ChannelServer);
        if (i % 5 == (variant % 5))
            c.flags.insert(ComputerFlag::AntennaServer);
        if (s.operators > 0) {
            c.registrations.insert(QStringLiteral("user%1").arg(i), (i - 1) % s.operators + 1);
            if (s.registrations > 1 && i % 2)
                c.registrations.insert(QStringLiteral("оператор%1_%2").arg(i).arg(variant), i % s.operators + 1);
            if (s.registrations > 2 && i % 3 == 0)
                c.registrations.insert(QStringLiteral("вход%1").arg(i), (i + 1) % s.operators + 1);
        }
        d.computers.insert(c.uid, c);
    }
    for (int i = 1; i <= s.operators; ++i) {
        const Common::Operator op{i,
                                  text("Иван", i, variant),
                                  text("Петров", i, 0),
                                  QStringLiteral("Сергеевич"),
                                  QStringLiteral("капитан"),
                                  text("оператор поста", i % 7, variant)};
        d.operators.insert(i, op);
    }
    for (int i = 1; i <= s.others; ++i) {
        Ups u;
        u.uid = ComponentUid<9>(i);
        u.rack = ref<0>(i, s.racks);
        u.name = text("ИБП", i, variant);
        u.ipAddress = address(i + 1000, variant);
        d.power.ups.insert(u.uid, u);

        Pdu p;
        p.uid = ComponentUid<10>(i);
        p.rack = ref<0>(i + 1, s.racks);
        p.name = text("БРП", i, variant);
        p.ipAddress = address(i + 2000, variant);
        d.power.pdus.insert(p.uid, p);

        OpenSensor o;
        o.uid = ComponentUid<11>(i);
        o.ups = ref<9>(i, s.others);
        o.index = i % 4 + variant;
        o.controlledRack = ref<0>(i + 2, s.racks);
        d.power.openSensors.insert(o.uid, o);

        PowerSocket k;
        k.uid = ComponentUid<12>(i);
        k.pdu = ref<10>(i, s.others);
        k.index = i % 8 + variant;
        k.object = i % 2 ? ConfigUid{i % qMax(1, s.computers) + 1, int(ComponentType::Computer)}
                         : ConfigUid{i % s.others + 1, int(ComponentType::Receiver)};
        d.power.powerSockets.insert(k.uid, k);

        Receiver r;
        r.uid = ComponentUid<2>(i);
        r.rack = ref<0>(i, s.racks);
        r.name = text("Приёмник", i, variant);
        d.receivers.receivers.insert(r.uid, r);

        ChannelServer cs;
        cs.uid = ComponentUid<3>(i);
        cs.computer = ref<1>(i, s.computers);
        cs.x64 = i % 2;
        cs.board = i % 4 + 1;
        cs.name = text("Сервер каналов", i, variant);
        cs.controlPort = 20000 + i;
        cs.signalPort = 30000 + i;
        cs.dacPort = 40000 + i + variant;
        d.receivers.channelServers.insert(cs.uid, cs);

        ChannelParam cp;
        cp.uid = ComponentUid<5>(i);
        cp.name = text("Тип кассеты", i, variant);
        cp.modes = {QStringLiteral("АМ"), QStringLiteral("ЧМ"), QStringLiteral("ОБП-%1").arg(variant)};
        cp.filters = {3000, 6000 + i, 12000};
        cp.attenuations = {0, 10, 20 + variant};
        d.receivers.channelParams.insert(cp.uid, cp);

        AntennaPool ap;
        ap.uid = ComponentUid<6>(i);
        ap.name = text("Пул антенн", i, variant);
        ap.antennaUids = {i % qMax(1, s.antennas) + 1, (i + 1) % qMax(1, s.antennas) + 1};
        d.receivers.antennaPools.insert(ap.uid, ap);

        AntennaServer as;
        as.uid = ComponentUid<7>(i);
        as.computer = ref<1>(i + 1, s.computers);
        as.name = text("Сервер антенн", i, variant);
        as.controlPort = 21000 + i + variant;
        as.antennaPool = ref<6>(i, s.others);
        d.receivers.antennaServers.insert(as.uid, as);

        AntennaControl ac;
        ac.uid = ComponentUid<8>(i);
        ac.antennaServer = ref<7>(i, s.others);
        ac.rpu = i % 3;
        ac.group = text("Группа", i % 5, variant);
        ac.antenna = Common::Antenna{i % 3, float(i % 360) + 0.5f, i % 7, i % qMax(1, s.antennas) + 1, true};
        d.receivers.antennaControls.insert(ac.uid, ac);

        DataStore::DataStorage ds{i, text("Хранилище", i, variant), QStringLiteral("/data/store%1").arg(i),
                                  i % qMax(1, s.computers) + 1};
        d.dataStorages.insert(i, ds);

        PelengatorUnion pu;
        pu.uid = i;
        pu.name = text("Группа пеленгаторов", i, variant);
        pu.pelengatorUids = {i % qMax(1, s.pelengators) + 1};
        d.pelengatorUnions.insert(i, pu);
    }
    for (int i = 1; i <= s.channels; ++i) {
        Channel c;
        c.uid = ComponentUid<4>(i);
        c.name = text("Канал", i, variant);
        c.cassetteType = ref<5>(i, s.others);
        c.module = i % 5;
        c.fixed = i % 2;
        c.hidden = i % 3 == 0;
        c.multi = (i + variant) % 2;
        c.scale = i % 10 + 1;
        c.receiver = ref<2>(i, s.others);
        c.cassette = i % 8;
        c.channelServer = ref<3>(i, s.others);
        c.serverIndex = i % 16;
        c.antennaControl = ref<8>(i, s.others);
        d.receivers.channels.insert(c.uid, c);
    }
    for (int i = 1; i <= s.antennas; ++i)
        d.antennas.insert(i, Common::Antenna{i % 3, float((i * 13) % 360) + 0.25f * variant, i % 9, i, i % 2 == 0});
    for (int i = 1; i <= s.unions; ++i) {
        ArmUnion u;
        u.uid = i;
        u.name = text("Объединение", i, variant);
        for (int k = 0; k < 20; ++k)
            u.armUids.append((i * 20 + k) % qMax(1, s.computers) + 1);
        u.antennaUids = {i % qMax(1, s.antennas) + 1, (i + variant) % qMax(1, s.antennas) + 1};
        d.armUnions.insert(i, u);
    }
    for (int i = 1; i <= s.pelengators; ++i) {
        Pelengator p;
        p.uid = i;
        p.linkUid = 500 + i;
        p.name = text("Пеленгатор", i, variant);
        p.capabilities = 0x5u + unsigned(variant);
        p.bandStart = 30000000 + i;
        p.bandWidth = 1000000 * (i % 3 + 1);
        p.latitude = 55.75 + i * 0.001;
        p.longitude = 37.61 - i * 0.001 + variant;
        p.isVirtual = i % 4 == 0;
        p.marked = i % 2 == 1;
        p.payload = QByteArray("\x01\x02\xff", 3) + QByteArray::number(i);
        d.pelengators.insert(i, p);
    }
    d.taskSetLinks = links(s.links, variant, 1);
    d.taskTransferLinks = links(s.links, variant, 2);
    d.reportLinks = links(s.links, variant, 3);
    d.dravikLinks = links(s.links, variant, 4);
    return d;
}

void putInto(ComplexConfigInterface& store, const ComplexData& data)
{
    store.clear();
    store.setComplexUid(data.complexUid);
    store.complexInfosMap() = data.complexInfos;
    store.antennasMap() = data.antennas;
    store.dataStoragesMap() = data.dataStorages;
    store.pelengatorsMap() = data.pelengators;
    store.armUnionsMap() = data.armUnions;
    store.pelengatorUnionsMap() = data.pelengatorUnions;
    store.operatorsMap() = data.operators;
    for (const InteractionLink& link : data.taskSetLinks)
        store.addTaskSetLink(link);
    for (const InteractionLink& link : data.taskTransferLinks)
        store.addTaskTransferLink(link);
    for (const InteractionLink& link : data.reportLinks)
        store.addReportLink(link);
    for (const InteractionLink& link : data.dravikLinks)
        store.addDravikLink(link);
    store.racks() = data.racks;
    store.computers() = data.computers;
    store.power() = data.power;
    store.receivers() = data.receivers;
}

} // namespace StoreTest
