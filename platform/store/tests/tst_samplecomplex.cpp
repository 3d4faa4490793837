#include "complexconfig.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace CoConfig;

// The sample complex bundled for "make run" loads cleanly and shows every kind.
class TestSampleComplex : public QObject
{
    Q_OBJECT

private slots:
    void loadsWithEveryKind();
};

void TestSampleComplex::loadsWithEveryKind()
{
    // A copy, so that the store's lock file never lands in the repository.
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral(ORVANE_SAMPLE_COMPLEX_DIR), dir}) == 0);
    const ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    QVERIFY2(store.readStatus() == 0, qPrintable(store.errorString()));
    const ComplexData& d = store.data();
    const QList<QPair<const char*, qsizetype>> kinds = {
        {"complex infos", d.complexInfos.size()},      {"antennas", d.antennas.size()},
        {"data storages", d.dataStorages.size()},      {"direction finders", d.pelengators.size()},
        {"workstation unions", d.armUnions.size()},     {"direction-finder unions", d.pelengatorUnions.size()},
        {"operators", d.operators.size()},             {"task set links", d.taskSetLinks.size()},
        {"task transfer links", d.taskTransferLinks.size()}, {"report links", d.reportLinks.size()},
        {"dravik links", d.dravikLinks.size()},         {"racks", d.racks.size()},
        {"computers", d.computers.size()},             {"ups", d.power.ups.size()},
        {"pdus", d.power.pdus.size()},                 {"open sensors", d.power.openSensors.size()},
        {"power sockets", d.power.powerSockets.size()}, {"receivers", d.receivers.receivers.size()},
        {"channel servers", d.receivers.channelServers.size()}, {"antenna servers", d.receivers.antennaServers.size()},
        {"antenna pools", d.receivers.antennaPools.size()}, {"antenna controls", d.receivers.antennaControls.size()},
        {"channels", d.receivers.channels.size()},     {"channel parameter sets", d.receivers.channelParams.size()}};
    for (const auto& kind : kinds)
        QVERIFY2(kind.second > 0, kind.first);

    // The sample settings name workstation 100 as this one, with operators registered on it.
    const auto workstation = d.computers.constFind(ComponentUid<1>(100));
    QVERIFY(workstation != d.computers.cend());
    QVERIFY(workstation->flags.contains(ComputerFlag::Workstation));
    QVERIFY(!store.armsOperatorUids(100).isEmpty());
    QVERIFY(store.armUnionUidFromArmUid(100) >= 0);
    bool real = false;
    bool virtualOne = false;
    for (const Pelengator& p : d.pelengators)
        (p.isVirtual ? virtualOne : real) = true;
    QVERIFY(real && virtualOne);
}

QTEST_GUILESS_MAIN(TestSampleComplex)
#include "tst_samplecomplex.moc"
