#include "complexconfig.h"
#include "complexgenerator.h"
#include "foreignparts.h"
#include "globalini.h"
#include "kindfile.h"
#include "storesnapshot.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <climits>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace CoConfig;
using TestFiles::readFile;
using TestFiles::writeFile;

class TestComplexConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void roundTripsEveryKind();
    void unchangedDataGivesIdenticalFiles();
    void writesOnlyTheSelectedKinds_data();
    void writesOnlyTheSelectedKinds();
    void carriesOverUnknownFiles();
    void unchangedKindsKeepTheirFiles_data();
    void unchangedKindsKeepTheirFiles();
    void recordsComparedAsWritten_data();
    void recordsComparedAsWritten();
    void foreignPartsOfEveryKindAreKept_data();
    void foreignPartsOfEveryKindAreKept();
    void missingDirectoryIsAnEmptyComplex();
    void takesDirectoryFromSettingsOrEnvironment_data();
    void takesDirectoryFromSettingsOrEnvironment();
    void refusesRecordsTheReaderWouldRefuse_data();
    void refusesRecordsTheReaderWouldRefuse();

    void malformedFileIsReportedAndKeptAside_data();
    void malformedFileIsReportedAndKeptAside();
    void hugeJunkFileIsRefused();
    void unknownElementsAreSkipped();
    void failedReadKeepsPreviousData();

    void generatesFreshUids_data();
    void generatesFreshUids();
    void removedUidsAreNotGivenAgain_data();
    void removedUidsAreNotGivenAgain();
    void unreadableUidMarksGiveNoUid();
    void refusesUidForUnknownOrCombinedType_data();
    void refusesUidForUnknownOrCombinedType();

    void answersDerivedViews();
    void noticesChangesByAnotherStore();
    void refusesToReplaceChangesItWasNotToldOf();
    void readSkipsFilesUnchangedSinceLastRead();
    void waitsForTheLockThenFails();
    void removesLeftoversOfKilledWriters();
    void leavesFoldersBesideTheDirectory_data();
    void leavesFoldersBesideTheDirectory();
    void writesThroughSymbolicLink();

private:
    QString complexDir() const { return m_temp->filePath(QStringLiteral("complex")); }
    ComplexData writeSample(int variant = 1);

    std::unique_ptr<QTemporaryDir> m_temp;
};

void TestComplexConfig::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
}

ComplexData TestComplexConfig::writeSample(int variant)
{
    const ComplexData data = StoreTest::generateComplex(StoreTest::ComplexSizes(), variant);
    ComplexConfig store(complexDir(), ObjectAll, 0);
    StoreTest::putInto(store, data);
    if (!store.write(ObjectAll))
        qWarning("%s", qPrintable(store.errorString()));
    return data;
}

void TestComplexConfig::roundTripsEveryKind()
{
    const ComplexData data = StoreTest::generateComplex(StoreTest::ComplexSizes(), 3);
    {
        ComplexConfig store(complexDir(), ObjectAll, ObjectArmUnions);
        QCOMPARE(store.readStatus(), 0);
        StoreTest::putInto(store, data);
        QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
        QVERIFY(store.errorString().isEmpty());
    }
    ComplexConfig fresh(complexDir(), ObjectAll, ObjectArmUnions);
    QCOMPARE(fresh.readStatus(), 0);
    QVERIFY(fresh.errorString().isEmpty());
    QVERIFY(fresh.data() == data);
    // The record's equality leaves linkUid out.
    for (const Pelengator& p : data.pelengators)
        QCOMPARE(fresh.pelengator(p.uid).linkUid, p.linkUid);

    const QList<int> counts = {fresh.complexInfoCount(), fresh.antennaCount(), fresh.dataStorageCount(),
                               fresh.pelengatorCount(), fresh.armUnionCount(), fresh.pelengatorUnionCount(),
                               fresh.operatorCount(), fresh.taskSetLinkCount(), fresh.taskTransferLinkCount(),
                               fresh.reportLinkCount(), fresh.dravikLinkCount(), int(fresh.racks().size()),
                               int(fresh.computers().size()), int(fresh.power().ups.size()),
                               int(fresh.power().pdus.size()), int(fresh.power().openSensors.size()),
                               int(fresh.power().powerSockets.size()), int(fresh.receivers().receivers.size()),
                               int(fresh.receivers().channelServers.size()), int(fresh.receivers().antennaServers.size()),
                               int(fresh.receivers().antennaPools.size()), int(fresh.receivers().antennaControls.size()),
                               int(fresh.receivers().channels.size()), int(fresh.receivers().channelParams.size())};
    QVERIFY(!counts.contains(0));
}

void TestComplexConfig::unchangedDataGivesIdenticalFiles()
{
    writeSample();
    const StoreTest::Snapshot before = StoreTest::snapshot(complexDir());
    struct stat computersBefore;
    QCOMPARE(::stat(QFile::encodeName(complexDir() + "/arms/computers.xml").constData(), &computersBefore), 0);

    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY(store.write(ObjectAll));
    QCOMPARE(StoreTest::snapshot(complexDir()), before);
    // Unchanged files keep their identity, so other stores see no change.
    struct stat computersAfter;
    QCOMPARE(::stat(QFile::encodeName(complexDir() + "/arms/computers.xml").constData(), &computersAfter), 0);
    QCOMPARE(computersAfter.st_ino, computersBefore.st_ino);

    // A second complex holding the same records, filled in another order, writes the same bytes.
    QTemporaryDir other;
    ComplexConfig copy(other.path(), 0, 0);
    StoreTest::putInto(copy, store.data());
    QMap<int, Common::Operator> reversed;
    const QList<int> keys = store.operatorsMap().keys();
    for (auto it = keys.crbegin(); it != keys.crend(); ++it)
        reversed.insert(*it, store.operatorsMap().value(*it));
    copy.operatorsMap() = reversed;
    QVERIFY(copy.write(ObjectAll));
    QCOMPARE(StoreTest::snapshot(other.path()), before);
    QVERIFY(!before.isEmpty());
    QVERIFY(StoreTest::leftovers(complexDir()).isEmpty());
}

void TestComplexConfig::writesOnlyTheSelectedKinds_data()
{
    QTest::addColumn<int>("types");
    QTest::addColumn<QStringList>("changed");

    QTest::newRow("registration: computers and operators")
        << int(ObjectComputers | ObjectOperators) << QStringList{"arms/computers.xml", "operators/operators.xml"};
    QTest::newRow("channels with their parameter sets")
        << int(ObjectChannels) << QStringList{"channels/channels.xml", "channels/channelparams.xml"};
    QTest::newRow("direction finders with their unions")
        << int(ObjectPelengators) << QStringList{"pelengators/pelengators.xml", "pelengatorunions/pelengatorunions.xml"};
    QTest::newRow("power sockets") << int(ObjectPowerSockets) << QStringList{"power/powersockets.xml"};
    QTest::newRow("antenna controls and racks")
        << int(ObjectAntennaControls | ObjectRacks)
        << QStringList{"antennacontrols/antennacontrols.xml", "racks/racks.xml"};
    QTest::newRow("an unknown bit only") << 0x100 << QStringList{};
}

void TestComplexConfig::writesOnlyTheSelectedKinds()
{
    QFETCH(int, types);
    QFETCH(QStringList, changed);

    writeSample(1);
    const StoreTest::Snapshot before = StoreTest::snapshot(complexDir());
    ComplexConfig store(complexDir(), 0, 0);
    StoreTest::putInto(store, StoreTest::generateComplex(StoreTest::ComplexSizes(), 2));
    QVERIFY2(store.write(types), qPrintable(store.errorString()));

    const StoreTest::Snapshot after = StoreTest::snapshot(complexDir());
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2((after.value(it.key()) != it.value()) == changed.contains(it.key()), qPrintable(it.key()));
}

void TestComplexConfig::carriesOverUnknownFiles()
{
    writeSample();
    QVERIFY(writeFile(complexDir() + "/notes.txt", "заметки"));
    QVERIFY(writeFile(complexDir() + "/arms/extra.bin", QByteArray("\x00\x01\x02", 3)));
    QVERIFY(writeFile(complexDir() + "/future/kind.xml", "<Future/>"));
    QVERIFY(QFile::link("notes.txt", complexDir() + "/link-to-notes"));

    ComplexConfig store(complexDir(), ObjectAll, 0);
    store.racks().clear();
    QVERIFY(store.write(ObjectAll));
    QCOMPARE(readFile(complexDir() + "/notes.txt"), QByteArray("заметки"));
    QCOMPARE(readFile(complexDir() + "/arms/extra.bin"), QByteArray("\x00\x01\x02", 3));
    QCOMPARE(readFile(complexDir() + "/future/kind.xml"), QByteArray("<Future/>"));
    QCOMPARE(QFileInfo(complexDir() + "/link-to-notes").symLinkTarget(), complexDir() + "/notes.txt");
    QCOMPARE(ComplexConfig(complexDir(), ObjectAll, 0).racks().size(), 0);
}

// Where record equality cannot tell, a kind is written only when its bytes would differ: a
// direction finder's link (left out of its equality), a coordinate that is not a number (never
// equal to itself).
void TestComplexConfig::recordsComparedAsWritten_data()
{
    QTest::addColumn<bool>("link"); // else the coordinate
    QTest::addColumn<bool>("changed");
    QTest::newRow("a link changed") << true << true;
    QTest::newRow("a link left as it was") << true << false;
    QTest::newRow("a coordinate not a number, left as it was") << false << false;
    QTest::newRow("a coordinate not a number, then another") << false << true;
}

void TestComplexConfig::recordsComparedAsWritten()
{
    QFETCH(bool, link);
    QFETCH(bool, changed);
    const QString path = complexDir() + "/pelengators/pelengators.xml";
    {
        ComplexData data = StoreTest::generateComplex(StoreTest::ComplexSizes(), 1);
        QVERIFY(!data.pelengators.isEmpty());
        if (!link)
            data.pelengators.first().latitude = qQNaN();
        ComplexConfig store(complexDir(), ObjectAll, 0);
        StoreTest::putInto(store, data);
        QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    }
    const QByteArray before = readFile(path);
    const auto inode = [&] {
        struct stat file;
        return ::stat(QFile::encodeName(path).constData(), &file) == 0 ? file.st_ino : 0;
    };
    const auto inodeBefore = inode();
    ComplexConfig store(complexDir(), ObjectAll, 0);
    Pelengator& first = store.pelengatorsMap().first();
    if (link)
        first.linkUid = changed ? first.linkUid + 100 : first.linkUid;
    else if (changed)
        first.latitude = 1.5;
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    QCOMPARE(readFile(path) != before, changed);
    QCOMPARE(inode() != inodeBefore, changed); // a file written alike is left as it is
    QCOMPARE(ComplexConfig(complexDir(), ObjectAll, 0).pelengatorsMap().first().linkUid, first.linkUid);
}

void TestComplexConfig::unchangedKindsKeepTheirFiles_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<bool>("touched"); // the records taken through a mutable accessor, left equal

    QTest::newRow("a comment") << QByteArray("<Racks>") << QByteArray("<!-- стойки зала 2 -->\n<Racks>") << false;
    QTest::newRow("CRLF line ends") << QByteArray("\n") << QByteArray("\r\n") << true;
    QTest::newRow("another layout") << QByteArray("\n  <") << QByteArray("\n\t<") << true;
    QTest::newRow("what another program added")
        << QByteArray("<Racks>") << QByteArray("<Racks version=\"9\">\n  <Maintenance site=\"north\"/>") << true;
}

void TestComplexConfig::unchangedKindsKeepTheirFiles()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(bool, touched);

    const ComplexData good = writeSample();
    const QString racks = complexDir() + "/racks/racks.xml";
    QByteArray bytes = readFile(racks);
    QVERIFY(bytes.contains(from));
    bytes.replace(from, to);
    QVERIFY(writeFile(racks, bytes));

    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY2(store.readStatus() == 0, qPrintable(store.errorString()));
    QVERIFY(store.racks() == good.racks);
    if (touched) {
        QMap<ComponentUid<0>, Rack>& mutableRacks = store.racks();
        mutableRacks[mutableRacks.firstKey()].name += QStringLiteral(" ");
        mutableRacks[mutableRacks.firstKey()].name.chop(1);
    }
    store.operatorsMap().remove(store.operatorsMap().firstKey());
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    QCOMPARE(readFile(racks), bytes);
    QCOMPARE(ComplexConfig(complexDir(), ObjectAll, 0).operatorCount(), good.operators.size() - 1);
}

void TestComplexConfig::foreignPartsOfEveryKindAreKept_data()
{
    QTest::addColumn<QString>("file");
    for (const KindFile* kind : KindFile::all())
        QTest::newRow(qPrintable(kind->path())) << kind->path();
}

// A record of each kind file with attributes and elements of a newer version keeps them through
// the store's read and a write of its records into another directory.
void TestComplexConfig::foreignPartsOfEveryKindAreKept()
{
    QFETCH(QString, file);
    const ComplexData good = writeSample();
    const QByteArray bytes = readFile(complexDir() + "/" + file);
    QXmlStreamReader xml(bytes);
    QVERIFY(xml.readNextStartElement() && xml.readNextStartElement());
    const QByteArray foreign = ForeignParts::addTo(bytes, xml.name().toUtf8());
    QVERIFY(writeFile(complexDir() + "/" + file, foreign));

    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY2(store.readStatus() == 0, qPrintable(store.errorString()));
    QVERIFY(!(store.data() == good));
    const QString copyDir = m_temp->filePath(QStringLiteral("copy"));
    {
        ComplexConfig copy(copyDir, ObjectAll, 0);
        StoreTest::putInto(copy, store.data());
        QVERIFY2(copy.write(ObjectAll), qPrintable(copy.errorString()));
    }
    QVERIFY(ForeignParts::heldBy(readFile(copyDir + "/" + file)));
    QVERIFY(ComplexConfig(copyDir, ObjectAll, 0).data() == store.data());
}

void TestComplexConfig::missingDirectoryIsAnEmptyComplex()
{
    const QString dir = m_temp->filePath(QStringLiteral("not/yet/complex"));
    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    QCOMPARE(store.configDirPath(), dir);
    QCOMPARE(store.readStatus(), 0);
    QVERIFY(store.read(ObjectAll));
    QVERIFY(store.checkConfigDir());
    QVERIFY(store.data() == ComplexData());
    QVERIFY(!QFileInfo::exists(dir));

    Rack rack;
    rack.uid = ComponentUid<0>(7);
    rack.name = QStringLiteral("Стойка");
    store.racks().insert(rack.uid, rack);
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    QCOMPARE(ComplexConfig(dir, ObjectAll, 0).racks().value(rack.uid), rack);
}

void TestComplexConfig::takesDirectoryFromSettingsOrEnvironment_data()
{
    QTest::addColumn<bool>("inSettings");
    QTest::addColumn<bool>("inEnvironment");
    QTest::addColumn<QString>("expected");

    QTest::newRow("settings") << true << false << "fromSettings";
    QTest::newRow("environment overrides settings") << true << true << "fromEnvironment";
    QTest::newRow("environment alone") << false << true << "fromEnvironment";
}

void TestComplexConfig::takesDirectoryFromSettingsOrEnvironment()
{
    QFETCH(bool, inSettings);
    QFETCH(bool, inEnvironment);
    QFETCH(QString, expected);

    const QString fromSettings = m_temp->filePath(QStringLiteral("fromSettings"));
    const QString fromEnvironment = m_temp->filePath(QStringLiteral("fromEnvironment"));
    for (const QString& dir : {fromSettings, fromEnvironment}) {
        ComplexConfig store(dir, 0, 0);
        store.setComplexUid(QFileInfo(dir).fileName().size());
        QVERIFY(store.write(ObjectAll));
    }
    QSettings& settings = Common::GlobalIni::ini();
    if (inSettings)
        settings.setValue(QStringLiteral("Config/Directory"), fromSettings);
    else
        settings.remove(QStringLiteral("Config/Directory"));
    if (inEnvironment)
        qputenv("ORVANE_CONFIG_DIR", QFile::encodeName(fromEnvironment));
    else
        qunsetenv("ORVANE_CONFIG_DIR");

    const ComplexConfig store;
    qunsetenv("ORVANE_CONFIG_DIR");
    settings.remove(QStringLiteral("Config/Directory"));
    QCOMPARE(store.configDirPath(), m_temp->filePath(expected));
    QCOMPARE(store.complexUid(), int(expected.size())); // loaded at construction
}

void TestComplexConfig::refusesRecordsTheReaderWouldRefuse_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason"); // what the message names besides the file

    QTest::newRow("record under a foreign key") << 0 << "operators/operators.xml" << "99";
    QTest::newRow("rack uid typed as -5") << 1 << "racks/racks.xml" << "uid = -5";
    QTest::newRow("registration of operator -2") << 2 << "arms/computers.xml" << "registrations = -2";
    QTest::newRow("socket's object -3") << 3 << "power/powersockets.xml" << "object = -3";
    QTest::newRow("workstation -7 in a union") << 4 << "armunions/armunions.xml" << "armUids = -7";
    QTest::newRow("link from -9") << 5 << "reportlinks/links.xml" << "source = -9";
}

void TestComplexConfig::refusesRecordsTheReaderWouldRefuse()
{
    QFETCH(int, change);
    QFETCH(QString, file);
    QFETCH(QString, reason);

    writeSample();
    const StoreTest::Snapshot before = StoreTest::snapshot(complexDir());
    ComplexConfig store(complexDir(), ObjectAll, 0);
    switch (change) {
    case 0: {
        Common::Operator op;
        op.uid = 1;
        store.operatorsMap().insert(99, op); // would read back as a second uid 1
        break;
    }
    case 1: {
        Rack rack;
        rack.uid = ComponentUid<0>(-5);
        store.racks().insert(rack.uid, rack);
        break;
    }
    case 2:
        store.computers().first().registrations.insert(QStringLiteral("guest"), -2);
        break;
    case 3:
        store.power().powerSockets.first().object.value = -3;
        break;
    case 4:
        store.armUnionsMap().first().armUids.append(-7);
        break;
    case 5:
        store.addReportLink({-9, 1});
        break;
    }
    // Written, the kind would fail to read at the next start and be set aside: nothing is written.
    QVERIFY(!store.write(ObjectAll));
    QVERIFY2(store.errorString().contains(file) && store.errorString().contains(reason), qPrintable(store.errorString()));
    QCOMPARE(StoreTest::snapshot(complexDir()), before);
}

void TestComplexConfig::malformedFileIsReportedAndKeptAside_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("bit");
    QTest::addColumn<int>("line");

    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    QTest::newRow("truncated") << "channels/channels.xml"
                               << head + "<Channels>\n  <Channel uid=\"1\" name=\"К\"/>\n  <Channel uid=" << int(ObjectChannels) << 4;
    QTest::newRow("wrong root element") << "racks/racks.xml" << head + "<Operators>\n</Operators>\n" << int(ObjectRacks) << 2;
    QTest::newRow("record of another kind")
        << "racks/racks.xml" << head + "<Racks>\n  <Rack uid=\"1\"/>\n  <Operator uid=\"2\"/>\n</Racks>\n"
        << int(ObjectRacks) << 4;
    QTest::newRow("non-numeric uid") << "operators/operators.xml"
                                     << head + "<Operators>\n  <Operator uid=\"1\"/>\n\n  <Operator uid=\"два\"/>\n</Operators>\n"
                                     << int(ObjectOperators) << 5;
    QTest::newRow("uid out of range") << "antennas/antennas.xml"
                                      << head + "<Antennas>\n  <Antenna uid=\"99999999999\"/>\n</Antennas>\n"
                                      << int(ObjectAntennas) << 3;
    QTest::newRow("duplicate uids") << "arms/computers.xml"
                                    << head + "<Computers>\n  <Computer uid=\"5\"/>\n  <Computer uid=\"3\"/>\n  <Computer uid=\"5\"/>\n</Computers>\n"
                                    << int(ObjectComputers) << 5;
    QTest::newRow("empty file") << "power/ups.xml" << QByteArray() << int(ObjectUps) << 1;
    // The files go through the safe reader of outside XML, tested with the hostile table there.
    QTest::newRow("DTD with entities")
        << "armunions/armunions.xml"
        << head + "<!DOCTYPE ArmUnions [\n <!ENTITY a \"aaaaaaaaaaaaaaaa\">\n <!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">\n]>\n"
                  "<ArmUnions>\n  <ArmUnion uid=\"1\" name=\"&b;\"/>\n</ArmUnions>\n"
        << int(ObjectArmUnions) << -1;
    QTest::newRow("undeclared entity") << "pelengators/pelengators.xml"
                                       << head + "<Pelengators>\n  <Pelengator uid=\"1\" name=\"&x;\"/>\n</Pelengators>\n"
                                       << int(ObjectPelengators) << 3;
    QTest::newRow("text after the root") << "datastorages/datastorages.xml"
                                         << head + "<DataStorages/>\n<DataStorages/>\n" << int(ObjectAll) << 3;
}

void TestComplexConfig::malformedFileIsReportedAndKeptAside()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(int, bit);
    QFETCH(int, line);

    const ComplexData good = writeSample();
    const QString path = complexDir() + QLatin1Char('/') + file;
    QVERIFY(writeFile(path, content));

    ComplexConfig store(complexDir(), ObjectAll, ObjectArmUnions);
    QCOMPARE(store.readStatus(), bit);
    const QString error = store.errorString();
    QVERIFY2(error.contains(path), qPrintable(error));
    if (line > 0)
        QVERIFY2(error.contains(QStringLiteral("строка %1:").arg(line)), qPrintable(error));
    else
        QVERIFY2(error.contains(QRegularExpression(QStringLiteral("строка \\d+:"))), qPrintable(error));
    // Nothing else is lost.
    QCOMPARE(store.racks().isEmpty(), file == "racks/racks.xml");
    if (file != "operators/operators.xml")
        QCOMPARE(store.operatorsMap(), good.operators);
    if (file != "channels/channels.xml")
        QCOMPARE(store.receivers().channels, good.receivers.channels);
    QVERIFY(!store.read(bit));

    // The next write keeps the unreadable file beside the new one.
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList aside = folder.entryList({QFileInfo(path).fileName() + ".unreadable-*"}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QCOMPARE(readFile(folder.filePath(aside.first())), content);
    ComplexConfig fresh(complexDir(), ObjectAll, 0);
    QCOMPARE(fresh.readStatus(), 0);
    QCOMPARE(fresh.operatorsMap().isEmpty(), file == "operators/operators.xml");
    QVERIFY(store.readStatus() == 0);
}

void TestComplexConfig::hugeJunkFileIsRefused()
{
    writeSample();
    const QString path = complexDir() + "/channels/channels.xml";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QByteArray chunk = "<?xml version=\"1.0\"?>\n<Channels>\n<Channel uid=\"1\">";
        for (int i = 0; i < 50; ++i) {
            QByteArray block(1 << 20, 'x');
            for (int k = 0; k < block.size(); k += 97)
                block[k] = i % 2 ? '<' : '\n';
            chunk += block;
            QCOMPARE(file.write(chunk), chunk.size());
            chunk.clear();
        }
    }
    ComplexConfig store(complexDir(), ObjectAll, 0);
    QCOMPARE(store.readStatus(), int(ObjectChannels));
    QVERIFY(store.errorString().contains(path));
    QVERIFY(!store.racks().isEmpty());
}

void TestComplexConfig::unknownElementsAreSkipped()
{
    const ComplexData good = writeSample();
    const QString path = complexDir() + "/racks/racks.xml";
    QByteArray content = readFile(path);
    // Markup-like text in comments, CDATA, instructions and attribute values is no nesting.
    QByteArray future = "\n  <FutureThing a=\"1 /> x>\" b='>'><deep><deeper/></deep>"
                        "<![CDATA[<x><x><x>]]><!-- <y><y> --><?note <z><z>?></FutureThing>";
    for (int i = 0; i < 300; ++i)
        future += "\n  <Sibling n=\"" + QByteArray::number(i) + "\"/><Pair></Pair>";
    future += "\n  " + QByteArray("<n>").repeated(200) + QByteArray("</n>").repeated(200);
    content.replace("<Racks>", "<Racks version=\"9\">" + future);
    content.replace("</Racks>", "  <!-- a comment -->\n  <AnotherFuture/>\n</Racks>");
    QVERIFY(writeFile(path, content));

    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY2(store.readStatus() == 0, qPrintable(store.errorString()));
    QCOMPARE(store.racks(), good.racks);
}

void TestComplexConfig::failedReadKeepsPreviousData()
{
    const ComplexData good = writeSample(1);
    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY(store.data() == good);

    // Another program changes operators and breaks channels.
    {
        ComplexConfig other(complexDir(), ObjectAll, 0);
        StoreTest::putInto(other, StoreTest::generateComplex(StoreTest::ComplexSizes(), 2));
        QVERIFY(other.write(ObjectOperators));
    }
    QVERIFY(writeFile(complexDir() + "/channels/channels.xml", "<Channels><Channel uid=\"x\"/></Channels>"));

    QVERIFY(!store.read(ObjectChannels | ObjectOperators));
    QCOMPARE(store.receivers().channels, good.receivers.channels);
    QCOMPARE(store.readStatus(), int(ObjectChannels));
    QVERIFY(store.operatorsMap() != good.operators); // the readable kind was taken
    QVERIFY(store.errorString().contains("channels/channels.xml"));

    QVERIFY(store.read(ObjectOperators));
    QVERIFY(store.errorString().isEmpty());
    QCOMPARE(store.readStatus(), int(ObjectChannels));
}

void TestComplexConfig::generatesFreshUids_data()
{
    QTest::addColumn<int>("type");
    const QList<QPair<const char*, int>> kinds = {
        {"computers", ObjectComputers},       {"channels", ObjectChannels},
        {"antennas", ObjectAntennas},         {"direction finders", ObjectPelengators},
        {"workstation unions", ObjectArmUnions}, {"operators", ObjectOperators},
        {"racks", ObjectRacks},               {"ups", ObjectUps},
        {"open sensors", ObjectOpenSensors},  {"pdus", ObjectPdus},
        {"power sockets", ObjectPowerSockets}, {"receivers", ObjectReceivers},
        {"channel servers", ObjectChannelServers}, {"antenna servers", ObjectAntennaServers},
        {"antenna pools", ObjectAntennaPools}, {"antenna controls", ObjectAntennaControls}};
    for (const auto& kind : kinds)
        QTest::newRow(kind.first) << kind.second;
}

void TestComplexConfig::generatesFreshUids()
{
    QFETCH(int, type);
    writeSample();
    ComplexConfig store(complexDir(), ObjectAll, 0);
    auto held = [&](int uid) {
        switch (type) {
        case ObjectComputers: return store.computers().contains(ComponentUid<1>(uid));
        case ObjectChannels: return store.receivers().channels.contains(ComponentUid<4>(uid));
        case ObjectAntennas: return store.antennasMap().contains(uid);
        case ObjectPelengators: return store.pelengatorsMap().contains(uid);
        case ObjectArmUnions: return store.armUnionsMap().contains(uid);
        case ObjectOperators: return store.operatorsMap().contains(uid);
        case ObjectRacks: return store.racks().contains(ComponentUid<0>(uid));
        case ObjectUps: return store.power().ups.contains(ComponentUid<9>(uid));
        case ObjectOpenSensors: return store.power().openSensors.contains(ComponentUid<11>(uid));
        case ObjectPdus: return store.power().pdus.contains(ComponentUid<10>(uid));
        case ObjectPowerSockets: return store.power().powerSockets.contains(ComponentUid<12>(uid));
        case ObjectReceivers: return store.receivers().receivers.contains(ComponentUid<2>(uid));
        case ObjectChannelServers: return store.receivers().channelServers.contains(ComponentUid<3>(uid));
        case ObjectAntennaServers: return store.receivers().antennaServers.contains(ComponentUid<7>(uid));
        case ObjectAntennaPools: return store.receivers().antennaPools.contains(ComponentUid<6>(uid));
        case ObjectAntennaControls: return store.receivers().antennaControls.contains(ComponentUid<8>(uid));
        }
        return false;
    };

    QSet<int> answers;
    for (int i = 0; i < 50; ++i) {
        const int uid = store.generateObjectUid(type);
        QVERIFY(uid >= 0);
        QVERIFY2(!held(uid), qPrintable(QString::number(uid)));
        QVERIFY(!answers.contains(uid));
        answers.insert(uid);
    }
    // Stored records far above the counter push it past them; answers given earlier are not repeated.
    store.clear();
    QVERIFY(store.read(ObjectAll));
    QVERIFY(!held(*std::max_element(answers.cbegin(), answers.cend())));
    const int next = store.generateObjectUid(type);
    QVERIFY(!answers.contains(next) && !held(next));
    QCOMPARE(ComplexConfig(complexDir(), ObjectAll, 0).generateObjectUid(type) <= next, true);
}

void TestComplexConfig::removedUidsAreNotGivenAgain_data()
{
    generatesFreshUids_data();
}

void TestComplexConfig::removedUidsAreNotGivenAgain()
{
    QFETCH(int, type);
    writeSample();
    const KindFile* kind = KindFile::forUidType(type);
    QVERIFY(kind);
    qint64 last = 0;
    {
        // Every record of the kind removed, their uids perhaps still referred to elsewhere.
        ComplexConfig store(complexDir(), ObjectAll, 0);
        ComplexData data = store.data();
        last = kind->lastUid(data);
        QVERIFY(last > 0);
        kind->clear(data);
        StoreTest::putInto(store, data);
        QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    }
    // A store that never saw them, as another program would open the directory.
    ComplexConfig fresh(complexDir(), ObjectAll, 0);
    QCOMPARE(kind->lastUid(fresh.data()), qint64(INT_MIN));
    const int uid = fresh.generateObjectUid(type);
    QVERIFY2(uid > last, qPrintable(QStringLiteral("%1 given again, %2 was the last").arg(uid).arg(last)));
}

void TestComplexConfig::unreadableUidMarksGiveNoUid()
{
    writeSample();
    const QString marks = complexDir() + QStringLiteral("/uids.xml");
    QVERIFY(QFileInfo::exists(marks));
    QVERIFY(writeFile(marks, "<UidMarks><Kind file=\"racks/racks.xml\" last="));
    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY2(store.errorString().contains(marks), qPrintable(store.errorString()));
    QCOMPARE(store.generateObjectUid(ObjectRacks), -1);
    QVERIFY(!store.write(ObjectAll));
    QVERIFY2(store.errorString().contains(marks), qPrintable(store.errorString()));
}

void TestComplexConfig::refusesUidForUnknownOrCombinedType_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("whole configuration") << int(ObjectAll);
    QTest::newRow("no kind") << 0;
    QTest::newRow("unused bit") << 0x8;
    QTest::newRow("another unused bit") << 0x100000;
    QTest::newRow("two kinds") << int(ObjectComputers | ObjectOperators);
    QTest::newRow("negative") << -1;
}

void TestComplexConfig::refusesUidForUnknownOrCombinedType()
{
    QFETCH(int, type);
    ComplexConfig store(complexDir(), ObjectAll, 0);
    QCOMPARE(store.generateObjectUid(type), -1);
}

void TestComplexConfig::answersDerivedViews()
{
    ComplexConfig store(complexDir(), ObjectAll, 0);
    auto computer = [](int uid, Registrations registrations) {
        Computer c;
        c.uid = ComponentUid<1>(uid);
        c.registrations = registrations;
        return c;
    };
    store.computers().insert(ComponentUid<1>(10), computer(10, {{"ivanov", 3}, {"petrov", 4}, {"alias", 3}}));
    store.computers().insert(ComponentUid<1>(11), computer(11, {}));
    auto server = [](int uid, int computerUid) {
        ChannelServer s;
        s.uid = ComponentUid<3>(uid);
        s.computer = ComponentUid<1>(computerUid);
        return s;
    };
    store.receivers().channelServers.insert(ComponentUid<3>(1), server(1, 10));
    store.receivers().channelServers.insert(ComponentUid<3>(2), server(2, 11));
    store.receivers().channelServers.insert(ComponentUid<3>(3), server(3, 99)); // no such computer
    const QList<QPair<int, int>> channels = {{1, 1}, {2, 2}, {3, 1}, {4, 3}, {5, -1}};
    for (const auto& [uid, serverUid] : channels) {
        Channel c;
        c.uid = ComponentUid<4>(uid);
        c.channelServer = ComponentUid<3>(serverUid);
        store.receivers().channels.insert(c.uid, c);
    }
    store.addArmUnion(ArmUnion{5, "Б", {11, 12}, {7}});
    store.addArmUnion(ArmUnion{2, "А", {10, 11}, {8, 9}});
    store.addOperator(Common::Operator{3, "Иван", "Иванов", "", "", ""});

    QCOMPARE(store.armsChannels(), (QMap<int, QList<int>>{{10, {1, 3}}, {11, {2}}}));
    QCOMPARE(store.channelsArm(), (QMap<int, int>{{1, 10}, {2, 11}, {3, 10}}));
    QCOMPARE(store.armUnionsAntennas(), (QMap<int, QList<int>>{{2, {8, 9}}, {5, {7}}}));
    QCOMPARE(store.armUnionUidFromArmUid(11), 2);
    QCOMPARE(store.armUnionUidFromArmUid(12), 5);
    QCOMPARE(store.armUnionUidFromArmUid(13), -1);
    QCOMPARE(store.armsOperatorUids(10), (QList<int>{3, 4}));
    QCOMPARE(store.armsOperatorUidsHash(10).value("petrov"), 4);
    QVERIFY(store.armsOperatorUids(42).isEmpty());

    Channel found;
    QVERIFY(store.findChannel(3, found));
    QCOMPARE(found.uid.value, 3);
    QVERIFY(!store.findChannel(77, found));
    QCOMPARE(store.armUnion(77), ArmUnion());
    QCOMPARE(store.pelengator(77).uid, -1);

    store.addTaskSetLink({1, 2});
    store.addTaskSetLink({3, 4});
    store.addTaskSetLink({1, 5});
    QCOMPARE(store.taskSetReceivers(1), (QList<int>{2, 5}));
    store.removeTaskSetLink(7);
    store.removeTaskSetLink(-1);
    QCOMPARE(store.taskSetLinkCount(), 3);
    store.removeTaskSetLink(0);
    QCOMPARE(store.taskSetReceivers(1), QList<int>{5});

    // The login of the process's user picks the operator on that workstation.
    const passwd* user = ::getpwuid(::geteuid());
    QVERIFY(user);
    store.computers()[ComponentUid<1>(11)].registrations.insert(QString::fromLocal8Bit(user->pw_name), 3);
    QCOMPARE(store.currentOperator(11).surname, QStringLiteral("Иванов"));
    QCOMPARE(store.currentOperator(10).uid, -1);
    QCOMPARE(store.currentOperator(12).uid, -1);
}

void TestComplexConfig::noticesChangesByAnotherStore()
{
    writeSample(1);
    ComplexConfig mine(complexDir(), ObjectAll, 0);
    QCOMPARE(mine.updateReadStatus(), 0);
    {
        ComplexConfig tool(complexDir(), ObjectAll, 0);
        tool.operatorsMap().remove(1);
        tool.computers().first().registrations.insert("new", 2);
        QVERIFY(tool.write(ObjectComputers | ObjectOperators));
        QVERIFY(tool.write(ObjectAll)); // unchanged kinds stay untouched on disk
    }
    QCOMPARE(mine.updateReadStatus(), int(ObjectComputers | ObjectOperators));
    QVERIFY(mine.read(ObjectOperators));
    QCOMPARE(mine.updateReadStatus(), int(ObjectComputers));
    QVERIFY(!mine.operatorsMap().contains(1));
}

void TestComplexConfig::refusesToReplaceChangesItWasNotToldOf()
{
    writeSample(1);
    ComplexConfig editor(complexDir(), ObjectAll, 0);
    editor.operatorsMap().remove(2);
    {
        ComplexConfig tool(complexDir(), ObjectAll, 0);
        tool.operatorsMap()[1].surname = QStringLiteral("Петров");
        QVERIFY(tool.write(ObjectOperators));
    }
    const StoreTest::Snapshot afterTool = StoreTest::snapshot(complexDir());
    // Blind, the write would undo the tool's change: it refuses and says which file.
    QVERIFY(!editor.write(ObjectAll));
    QVERIFY2(editor.errorString().contains(QStringLiteral("operators/operators.xml")), qPrintable(editor.errorString()));
    QCOMPARE(StoreTest::snapshot(complexDir()), afterTool);
    // Once told (the editor asks its user), it may replace them; a newer change is refused again.
    QCOMPARE(editor.updateReadStatus(), int(ObjectOperators));
    QVERIFY2(editor.write(ObjectAll), qPrintable(editor.errorString()));
    QVERIFY(!ComplexConfig(complexDir(), ObjectAll, 0).operatorsMap().contains(2));
    QCOMPARE(editor.updateReadStatus(), 0);
    QVERIFY(editor.write(ObjectAll));
}

void TestComplexConfig::readSkipsFilesUnchangedSinceLastRead()
{
    writeSample(1);
    ComplexConfig store(complexDir(), ObjectAll, 0);
    const QMap<int, Common::Operator> loaded = std::as_const(store).operatorsMap();
    // Rewritten in place with the same size and time: only a read that skips the file misses it.
    const QString path = complexDir() + QStringLiteral("/operators/operators.xml");
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QByteArray bytes = readFile(path);
    QVERIFY(bytes.contains("(в1)"));
    bytes.replace("(в1)", "(в7)");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write(bytes) == bytes.size());
    file.close();
    const timespec times[2] = {st.st_atim, st.st_mtim};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);

    QVERIFY(store.read(ObjectOperators | ObjectRacks));
    QVERIFY(std::as_const(store).operatorsMap() == loaded);
    // Data taken through a mutable accessor may have changed: read from disk again.
    store.operatorsMap().detach();
    QVERIFY(store.read(ObjectOperators));
    QVERIFY(std::as_const(store).operatorsMap() != loaded);
    QVERIFY(store.operatorsMap().first().surname.contains(QStringLiteral("(в7)"))
            || store.operatorsMap().first().name.contains(QStringLiteral("(в7)")));
}

void TestComplexConfig::waitsForTheLockThenFails()
{
    writeSample();
    const StoreTest::Snapshot before = StoreTest::snapshot(complexDir());
    ComplexConfig store(complexDir(), ObjectAll, 0);
    store.setLockTimeout(300);
    store.racks().clear();

    const QByteArray lockPath = QFile::encodeName(complexDir() + QStringLiteral("/.orvane.lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX), 0);

    QElapsedTimer timer;
    timer.start();
    QVERIFY(!store.write(ObjectAll));
    QVERIFY(timer.elapsed() >= 250);
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY2(store.errorString().contains(QString::fromLocal8Bit(lockPath)), qPrintable(store.errorString()));
    QVERIFY(!store.read(ObjectRacks));
    QVERIFY(store.racks().isEmpty()); // the failed read left memory alone
    QCOMPARE(StoreTest::snapshot(complexDir()), before);

    // Readers share the lock with each other.
    QCOMPARE(::flock(fd, LOCK_SH), 0);
    QVERIFY(store.read(ObjectOperators));
    ::close(fd);
    QVERIFY2(store.write(ObjectRacks), qPrintable(store.errorString()));
    QVERIFY(ComplexConfig(complexDir(), ObjectAll, 0).racks().isEmpty());
}

void TestComplexConfig::removesLeftoversOfKilledWriters()
{
    const ComplexData good = writeSample();
    // Work files of a writer killed before it recorded its commit; other programs' files,
    // hidden or alike, stay.
    const QStringList leftovers{"arms/.computers.xml.orvane-new-8f3a0c1d2e4b5a69",
                                "racks/.racks.xml.orvane-new-00000000000000ff"};
    const QStringList foreign{"arms/.computers.xml.orvane-new-mine", "arms/.hidden-notes", "notes.orvane-new-1"};
    for (const QString& name : leftovers + foreign)
        QVERIFY(writeFile(complexDir() + QLatin1Char('/') + name, "<Racks/>"));

    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY(store.data() == good);
    QVERIFY(!QFileInfo::exists(complexDir() + QLatin1Char('/') + leftovers.first()));
    QCOMPARE(StoreTest::leftovers(complexDir()), QStringList());
    for (const QString& name : foreign)
        QVERIFY2(QFileInfo::exists(complexDir() + QLatin1Char('/') + name), qPrintable(name));
}

void TestComplexConfig::leavesFoldersBesideTheDirectory_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("named as an old save's copy") << ".complex.staging-4242-0";
    QTest::newRow("a user's backup") << ".complex.staging-my-backup";
}

void TestComplexConfig::leavesFoldersBesideTheDirectory()
{
    QFETCH(QString, name);
    writeSample();
    const QString beside = m_temp->filePath(name);
    QVERIFY(writeFile(beside + "/racks/racks.xml", "<Racks/>"));
    const StoreTest::Snapshot before = StoreTest::snapshot(beside);

    ComplexConfig store(complexDir(), ObjectAll, 0);
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    QCOMPARE(StoreTest::snapshot(beside), before);
}

void TestComplexConfig::writesThroughSymbolicLink()
{
    writeSample(1);
    const QString link = m_temp->filePath(QStringLiteral("current"));
    QVERIFY(QFile::link(complexDir(), link));
    ComplexConfig store(link, ObjectAll, 0);
    StoreTest::putInto(store, StoreTest::generateComplex(StoreTest::ComplexSizes(), 2));
    QVERIFY(store.write(ObjectAll));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(ComplexConfig(complexDir(), ObjectAll, 0).data() == StoreTest::generateComplex(StoreTest::ComplexSizes(), 2));
}

QTEST_GUILESS_MAIN(TestComplexConfig)
#include "tst_complexconfig.moc"
