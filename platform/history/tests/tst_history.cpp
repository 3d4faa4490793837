// The history of a configuration through the real store on temporary directories.
#include "changewords.h"
#include "complexconfig.h"
#include "currentlogin.h"
#include "globalini.h"
#include "historyfiles.h"
#include "historylog.h"
#include "historytesting.h"
#include "historypush.h"
#include "recordchanges.h"
#include "recordspans.h"

#include <git2.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace CoConfig;
using Edit = std::function<void(ComplexConfig&)>;
Q_DECLARE_METATYPE(Edit)

namespace {

const QString SampleDir = QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex");

// A copy of the sample complex whose history has its first commit.
bool copySample(const QString& dir)
{
    QProcess copy;
    copy.start(QStringLiteral("cp"), {QStringLiteral("-r"), SampleDir, dir});
    if (!copy.waitForFinished(10000) || copy.exitCode() != 0)
        return false;
    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    return store.write(ObjectAll);
}

QStringList changeLines(const QList<History::FileChanges>& files)
{
    QStringList lines;
    for (const History::FileChanges& file : files) {
        for (const History::RecordChange& record : file.records)
            lines << History::changeLine(file.path, record);
    }
    return lines;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The remote's branch as the push left it; empty while it has none.
QString remoteHead(const QString& bare)
{
    git_repository* repository = nullptr;
    if (git_repository_open_bare(&repository, QFile::encodeName(bare).constData()) != 0)
        return {};
    git_oid id;
    const bool found = git_reference_name_to_id(&id, repository, "refs/heads/main") == 0;
    git_repository_free(repository);
    return found ? QString::fromLatin1(git_oid_tostr_s(&id)) : QString();
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void saveRecordsOneCommit_data();
    void saveRecordsOneCommit();
    void recordChanges_data();
    void recordChanges();
    void differingRecordsBesideNestedOnes_data();
    void differingRecordsBesideNestedOnes();
    void quickReadingAgreesWithTheXmlReader_data();
    void quickReadingAgreesWithTheXmlReader();
    void changesSinceLastCommitAreOutside_data();
    void changesSinceLastCommitAreOutside();
    void locksOfAKilledCommit_data();
    void locksOfAKilledCommit();
    void unreadableVersion_data();
    void unreadableVersion();
    void historyOff_data();
    void historyOff();
    void pushAfterSave_data();
    void pushAfterSave();
};

void TestHistory::initTestCase()
{
    git_libgit2_init();
}

void TestHistory::init()
{
    qputenv("ORVANE_HISTORY", "1");
    qunsetenv("ORVANE_HISTORY_REMOTE");
    Common::GlobalIni::ini().setValue(QStringLiteral("Arm/Uid"), 101);
    Common::GlobalIni::ini().remove(QStringLiteral("History"));
}

void TestHistory::saveRecordsOneCommit_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("a rack added") << Edit([](ComplexConfig& store) {
        store.racks().insert(ComponentUid<0>(4), Rack{ComponentUid<0>(4), QStringLiteral("Стойка связи"), {}});
    }) << "Стойки: 1 добавлена" << QStringList{"Стойка 4 «Стойка связи»: добавлена"};
    QTest::newRow("racks and a computer changed") << Edit([](ComplexConfig& store) {
        store.racks()[ComponentUid<0>(1)].name = QStringLiteral("Стойка 1");
        store.racks()[ComponentUid<0>(2)].shortName = QStringLiteral("П1");
        store.computers()[ComponentUid<1>(100)].ipAddress = QStringLiteral("10.0.0.1");
    }) << "Стойки: 2 изменены; ЭВМы: 1 изменена"
       << QStringList{"Стойка 1 «Стойка 1»: Название: «Стойка управления» → «Стойка 1»",
                      "Стойка 2 «Приёмная стойка №1»: Короткое название: «СП-1» → «П1»",
                      "ЭВМ 100 «АРМ оператора №1»: IP адрес: «192.168.10.100» → «10.0.0.1»"};
    QTest::newRow("an operator removed") << Edit([](ComplexConfig& store) { store.removeOperator(5); })
                                         << "Операторы: 1 удалён" << QStringList{"Оператор 5 «Елена»: удалён"};
}

void TestHistory::saveRecordsOneCommit()
{
    QFETCH(Edit, edit);
    QFETCH(QString, summary);
    QFETCH(QStringList, lines);
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(copySample(dir));
    const int before = int(entriesOf(dir).size());
    QCOMPARE(before, 1);

    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    edit(store);
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));

    const QList<History::HistoryEntry> entries = entriesOf(dir);
    QCOMPARE(entries.size(), before + 1);
    const History::HistoryEntry& saved = entries.first();
    QCOMPARE(saved.summary, summary);
    QCOMPARE(saved.kind, History::ChangeKind::Save);
    QCOMPARE(saved.login, Common::currentLogin());
    QCOMPARE(saved.host, QSysInfo::machineHostName());
    QCOMPARE(saved.workstation, QStringLiteral("101"));
    QCOMPARE(saved.program, QStringLiteral("tst_history"));
    QVERIFY(qAbs(saved.time.secsTo(QDateTime::currentDateTime())) < 60);

    // As git itself reads it: the author's address, the message's first line.
    git_repository* repository = nullptr;
    QCOMPARE(git_repository_open(&repository, QFile::encodeName(dir).constData()), 0);
    git_oid head;
    git_commit* commit = nullptr;
    QCOMPARE(git_reference_name_to_id(&head, repository, "HEAD"), 0);
    QCOMPARE(git_commit_lookup(&commit, repository, &head), 0);
    QCOMPARE(QString::fromUtf8(git_commit_author(commit)->email), saved.login + '@' + saved.host);
    QCOMPARE(QString::fromUtf8(git_commit_summary(commit)), summary);
    git_commit_free(commit);
    git_repository_free(repository);
    // Every object as git checks it: the blobs are hashed and compressed by our own writer.
    QProcess fsck;
    fsck.start(QStringLiteral("git"), {QStringLiteral("-C"), dir, QStringLiteral("fsck"), QStringLiteral("--strict")});
    QVERIFY(fsck.waitForFinished(30000));
    QVERIFY2(fsck.exitCode() == 0, fsck.readAllStandardError().constData());

    History::HistoryEntry shown;
    QList<History::FileChanges> changes;
    QString error;
    QVERIFY2(History::HistoryLog::changesOf(dir, saved.id, configHistoryFiles().recordFiles, &shown, &changes, &error), qPrintable(error));
    QCOMPARE(changeLines(changes), lines);
}

void TestHistory::recordChanges_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("counted"); // what a commit message counts (records whose bytes differ), when not the summary

    QTest::newRow("a field") << "racks/racks.xml"
                             << QByteArray("<Racks>\n  <Rack uid=\"4\" name=\"Стойка 4\" shortName=\"С4\"/>\n</Racks>\n")
                             << QByteArray("<Racks>\n  <Rack uid=\"4\" name=\"Стойка связи\" shortName=\"С4\"/>\n</Racks>\n")
                             << "Стойки: 1 изменена"
                             << QStringList{"Стойка 4 «Стойка связи»: Название: «Стойка 4» → «Стойка связи»"} << QString();
    QTest::newRow("added and removed")
        << "receivers/receivers.xml" << QByteArray("<Receivers><Receiver uid=\"1\" name=\"П1\"/></Receivers>")
        << QByteArray("<Receivers><Receiver uid=\"2\" name=\"П2\"/><Receiver uid=\"3\" name=\"П3\"/></Receivers>")
        << "Приёмники: 2 добавлены, 1 удалён"
        << QStringList{"Приёмник 1 «П1»: удалён", "Приёмник 2 «П2»: добавлен", "Приёмник 3 «П3»: добавлен"} << QString();
    QTest::newRow("out of uid order")
        << "receivers/receivers.xml" << QByteArray("<Receivers><Receiver uid=\"2\" name=\"П2\"/><Receiver uid=\"1\" name=\"П1\"/></Receivers>")
        << QByteArray("<Receivers><Receiver uid=\"1\" name=\"П1а\"/></Receivers>") << "Приёмники: 1 удалён, 1 изменён"
        << QStringList{"Приёмник 2 «П2»: удалён", "Приёмник 1 «П1а»: Название: «П1» → «П1а»"} << QString();
    QTest::newRow("members this version does not know")
        << "arms/computers.xml" << QByteArray("<Computers><Computer uid=\"100\" name=\"АРМ\" vlan=\"1\"/></Computers>")
        << QByteArray("<Computers><Computer uid=\"100\" name=\"АРМ\"><extra>x</extra></Computer></Computers>")
        << "ЭВМы: 1 изменена" << QStringList{"ЭВМ 100 «АРМ»: extra: нет → «x»; vlan: «1» → нет"} << QString();
    QTest::newRow("a nested list")
        << "arms/computers.xml"
        << QByteArray("<Computers><Computer uid=\"100\"><registrations><item login=\"a\" operator=\"1\"/>"
                      "</registrations></Computer></Computers>")
        << QByteArray("<Computers><Computer uid=\"100\"><registrations><item login=\"a\" operator=\"1\"/>"
                      "<item login=\"b\" operator=\"2\"/></registrations></Computer></Computers>")
        << "ЭВМы: 1 изменена"
        << QStringList{"ЭВМ 100: Операторы: «login=a operator=1» → «login=a operator=1; login=b operator=2»"} << QString();
    QTest::newRow("records without a uid")
        << "tasksetlinks/links.xml" << QByteArray("<TaskSetLinks><InteractionLink source=\"1\" receiver=\"2\"/></TaskSetLinks>")
        << QByteArray("<TaskSetLinks><InteractionLink source=\"1\" receiver=\"2\"/>"
                      "<InteractionLink source=\"1\" receiver=\"2\"/></TaskSetLinks>")
        << "tasksetlinks/links.xml: 1 добавлена" << QStringList{"InteractionLink: добавлена"} << QString();
    QTest::newRow("the root's attributes") << "complex/complex.xml" << QByteArray("<Complex uid=\"1\"/>")
                                           << QByteArray("<Complex uid=\"2\"/>") << "complex/complex.xml: 1 изменена"
                                           << QStringList{"Complex: uid: «1» → «2»"} << QString();
    QTest::newRow("layout and attribute order only")
        << "racks/racks.xml" << QByteArray("<Racks><Rack uid=\"1\" name=\"А\" shortName=\"Б\"/></Racks>")
        << QByteArray("<?xml version=\"1.0\"?>\n<Racks>\n\n    <Rack shortName=\"Б\" uid=\"1\" name=\"А\"></Rack>\n</Racks>")
        << QString() << QStringList() << "Стойки: 1 изменена";
    // As the store lays files out: only the records around the difference are looked at.
    const QByteArray three = "<?xml version=\"1.0\"?>\n<Racks>\n  <Rack uid=\"1\" name=\"А\"/>\n"
                             "  <Rack uid=\"2\" name=\"Б\">\n    <extra a=\"1\"/>\n  </Rack>\n"
                             "  <Rack uid=\"3\" name=\"В\"/>\n</Racks>\n";
    QTest::newRow("laid out: a nested member") << "racks/racks.xml" << three
                                               << QByteArray(three).replace("a=\"1\"", "a=\"2\"")
                                               << "Стойки: 1 изменена"
                                               << QStringList{"Стойка 2 «Б»: extra: «a=1» → «a=2»"} << QString();
    QTest::newRow("laid out: one in the middle removed, one added at the end")
        << "racks/racks.xml" << three
        << QByteArray(three)
               .replace("  <Rack uid=\"2\" name=\"Б\">\n    <extra a=\"1\"/>\n  </Rack>\n", "")
               .replace("</Racks>", "  <Rack uid=\"4\" name=\"Г\"/>\n</Racks>")
        << "Стойки: 1 добавлена, 1 удалена" << QStringList{"Стойка 2 «Б»: удалена", "Стойка 4 «Г»: добавлена"} << QString();
    QTest::newRow("laid out: the root's attributes")
        << "complex/complex.xml" << QByteArray("<Complex uid=\"1\">\n  <ComplexInfo uid=\"1\" name=\"К\"/>\n</Complex>\n")
        << QByteArray("<Complex uid=\"2\">\n  <ComplexInfo uid=\"1\" name=\"К\"/>\n</Complex>\n")
        << "complex/complex.xml: 1 изменена" << QStringList{"Complex: uid: «1» → «2»"} << QString();
    QTest::newRow("escaped values")
        << "racks/racks.xml" << QByteArray("<Racks>\n  <Rack uid=\"1\" name=\"А &amp; Б\"/>\n</Racks>\n")
        << QByteArray("<Racks>\n  <Rack uid=\"1\" name=\"&quot;А&quot;\t&lt;&#1041;&gt;\r\n&#x412;\"/>\n</Racks>\n")
        << "Стойки: 1 изменена" << QStringList{"Стойка 1 «\"А\" <Б> В»: Название: «А & Б» → «\"А\" <Б> В»"} << QString();
    QTest::newRow("laid out: members added and removed, a value escaped anew")
        << "racks/racks.xml" << QByteArray("<Racks>\n  <Rack uid=\"1\" name=\"А &amp; Б\" a=\"1\"/>\n</Racks>\n")
        << QByteArray("<Racks>\n  <Rack b=\"2\" name=\"А &#38; Б\" uid=\"1\"/>\n</Racks>\n") << "Стойки: 1 изменена"
        << QStringList{"Стойка 1 «А & Б»: b: нет → «2»; a: «1» → нет"} << QString();
    QTest::newRow("a kind's first file") << "antennas/antennas.xml" << QByteArray()
                                         << QByteArray("<Antennas><Antenna uid=\"3\"/></Antennas>")
                                         << "Антенны: 1 добавлена" << QStringList{"Антенна 3: добавлена"} << QString();
}

void TestHistory::recordChanges()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, summary);
    QFETCH(QStringList, lines);
    QFETCH(QString, counted);
    const History::FileChanges changes = History::compareRecordFiles(path, before, after);
    QCOMPARE(changes.error, QString());
    QCOMPARE(History::summaryLine({changes}), summary);
    QCOMPARE(changeLines({changes}), lines);
    // What a commit message counts, without reading the records.
    QCOMPARE(History::summaryLine({History::compareRecordFiles(path, before, after, History::Detail::Counts)}),
             counted.isNull() ? summary : counted);
}

// A record with members of its own ends in a line of its own ("  </Rack>"), which starts no
// record: the records around a difference are still found without reading the whole file.
void TestHistory::differingRecordsBesideNestedOnes_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("uid");
    QTest::newRow("before a nested one") << QByteArray("name=\"А\"") << QByteArray("name=\"Я\"") << "1";
    QTest::newRow("in a nested one") << QByteArray("a=\"1\"") << QByteArray("a=\"2\"") << "2";
    QTest::newRow("after a nested one") << QByteArray("name=\"В\"") << QByteArray("name=\"Я\"") << "3";
}

void TestHistory::differingRecordsBesideNestedOnes()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, uid);
    const QByteArray before = "<?xml version=\"1.0\"?>\n<Racks>\n  <Rack uid=\"1\" name=\"А\"/>\n"
                              "  <Rack uid=\"2\" name=\"Б\">\n    <extra a=\"1\"/>\n  </Rack>\n"
                              "  <Rack uid=\"3\" name=\"В\"/>\n</Racks>\n";
    const QByteArray after = QByteArray(before).replace(from, to);
    History::RecordSpans old;
    History::RecordSpans now;
    QVERIFY(History::differingRecords(before, after, &old, &now));
    QCOMPARE(old.records.size(), 1);
    QCOMPARE(now.records.size(), 1);
    QCOMPARE(old.records.first().uid.toByteArray(), uid.toUtf8());
    QCOMPARE(now.records.first().uid.toByteArray(), uid.toUtf8());
}

// Records the store lays out are read without an XML reader; a comment after the start tag
// sends the same record through the XML reader, which must show the same change.
void TestHistory::quickReadingAgreesWithTheXmlReader_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("nested, with texts") << QByteArray("<Rack uid=\"1\" name=\"А\"><extra a=\"1\">x<y b=\"2\"/> z </extra>t</Rack>")
                                        << QByteArray("<Rack uid=\"1\" name=\"А\"><extra a=\"2\">x<y b=\"3\"/> w </extra>u</Rack>");
    QTest::newRow("deep") << QByteArray("<Rack uid=\"1\">\n    <a>\n      <b><c d=\"1\"/></b>\n    </a>\n  </Rack>")
                          << QByteArray("<Rack uid=\"1\">\n    <a>\n      <b><c d=\"&lt;2&gt;\"/></b>\n    </a>\n  </Rack>");
    QTest::newRow("quotes and spaces") << QByteArray("<Rack uid='1' ><x k='v' ></x ><flag/></Rack >")
                                       << QByteArray("<Rack uid='1' ><x k='w' q=\"1\"></x ></Rack >");
    QTest::newRow("references in text") << QByteArray("<Rack uid=\"1\"><note>a &amp; b</note></Rack>")
                                        << QByteArray("<Rack uid=\"1\"><note>a &#1041; b\r\n</note></Rack>");
    QTest::newRow("no-break spaces") << QByteArray("<Rack uid=\"1\"><note>\u00a0a\u00a0</note>\u00a0</Rack>")
                                     << QByteArray("<Rack uid=\"1\"><note>\u00a0b</note></Rack>");
}

void TestHistory::quickReadingAgreesWithTheXmlReader()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const auto lines = [](QByteArray old, QByteArray now, bool comment) {
        if (comment) {
            old.insert(old.indexOf('>') + 1, "<!---->");
            now.insert(now.indexOf('>') + 1, "<!---->");
        }
        const QByteArray head = "<?xml version=\"1.0\"?>\n<Racks>\n  <Rack uid=\"0\"/>\n  ";
        const QByteArray tail = "\n  <Rack uid=\"9\"/>\n</Racks>\n";
        return changeLines({History::compareRecordFiles(QStringLiteral("racks/racks.xml"), head + old + tail, head + now + tail)});
    };
    const QStringList quick = lines(before, after, false);
    QCOMPARE(quick.size(), 1);
    QCOMPARE(quick, lines(before, after, true));
}

void TestHistory::changesSinceLastCommitAreOutside_data()
{
    QTest::addColumn<bool>("byHand");
    // A hand edit of a file; a write whose history commit was lost (killed before its ref moved).
    QTest::newRow("hand edit") << true;
    QTest::newRow("lost commit") << false;
}

void TestHistory::changesSinceLastCommitAreOutside()
{
    QFETCH(bool, byHand);
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(copySample(dir));
    const QString racks = dir + QStringLiteral("/racks/racks.xml");
    if (byHand) {
        QFile file(racks);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray edited = file.readAll().replace("Стойка управления", "Стойка связи");
        file.close();
        QVERIFY(writeFile(racks, edited));
    } else {
        ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
        store.racks()[ComponentUid<0>(1)].name = QStringLiteral("Стойка связи");
        QVERIFY(store.write(ObjectRacks));
        git_repository* repository = nullptr;
        QCOMPARE(git_repository_open(&repository, QFile::encodeName(dir).constData()), 0);
        git_object* first = nullptr;
        QCOMPARE(git_revparse_single(&first, repository, "HEAD~1"), 0);
        git_reference* moved = nullptr;
        QCOMPARE(git_reference_create(&moved, repository, "refs/heads/main", git_object_id(first), 1, nullptr), 0);
        git_reference_free(moved);
        git_object_free(first);
        git_repository_free(repository);
    }

    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    store.operatorsMap()[1].post = QStringLiteral("инженер");
    QVERIFY(store.write(ObjectOperators));

    const QList<History::HistoryEntry> entries = entriesOf(dir);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0].summary, QStringLiteral("Операторы: 1 изменён"));
    QCOMPARE(entries[0].kind, History::ChangeKind::Save);
    QCOMPARE(entries[1].summary, QStringLiteral("Изменения вне программ комплекса: Стойки: 1 изменена"));
    QCOMPARE(entries[1].kind, History::ChangeKind::Outside);
}

void TestHistory::locksOfAKilledCommit_data()
{
    QTest::addColumn<QString>("lock");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");
    QTest::newRow("the branch's lock") << "refs/heads/main.lock" << 0 << true;
    QTest::newRow("HEAD's lock") << "HEAD.lock" << 0 << true;
    QTest::newRow("an old index lock") << "index.lock" << 60 << true;
    // Maybe an engineer's git at work: the commit is made from the index in memory.
    QTest::newRow("a fresh index lock") << "index.lock" << 0 << false;
}

void TestHistory::locksOfAKilledCommit()
{
    QFETCH(QString, lock);
    QFETCH(int, ageSeconds);
    QFETCH(bool, removed);
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(copySample(dir));
    const QString lockPath = dir + QStringLiteral("/.git/") + lock;
    QVERIFY(writeFile(lockPath, "killed"));
    QFile lockFile(lockPath);
    QVERIFY(lockFile.open(QIODevice::ReadWrite));
    QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    lockFile.close();

    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    store.racks()[ComponentUid<0>(1)].name = QStringLiteral("Стойка связи");
    QVERIFY(store.write(ObjectRacks));
    const QList<History::HistoryEntry> entries = entriesOf(dir);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.first().summary, QStringLiteral("Стойки: 1 изменена"));
    QCOMPARE(QFileInfo::exists(lockPath), !removed);
}

void TestHistory::unreadableVersion_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("cut short") << QByteArray("<Racks>\n  <Rack uid=\"1\"/>\n</Racks>\n") << QByteArray("<Racks>\n  <Rack uid=");
    QTest::newRow("no XML") << QByteArray("просто текст") << QByteArray("<Racks/>");
}

// A version that is no XML document says so, whatever the other holds.
void TestHistory::unreadableVersion()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    for (const History::Detail detail : {History::Detail::Counts, History::Detail::Fields}) {
        const History::FileChanges changes = History::compareRecordFiles(QStringLiteral("racks/racks.xml"), before, after, detail);
        QVERIFY(!changes.error.isEmpty());
        QVERIFY(changes.isEmpty());
    }
}

void TestHistory::historyOff_data()
{
    QTest::addColumn<bool>("insideWorkTree");
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QString>("setting");
    QTest::newRow("inside another work tree") << true << QByteArray("1") << QString();
    QTest::newRow("off by the environment") << false << QByteArray("0") << "true";
    QTest::newRow("off by the settings") << false << QByteArray() << "false";
}

void TestHistory::historyOff()
{
    QFETCH(bool, insideWorkTree);
    QFETCH(QByteArray, environment);
    QFETCH(QString, setting);
    QTemporaryDir temp;
    git_repository* outer = nullptr;
    if (insideWorkTree)
        QCOMPARE(git_repository_init(&outer, QFile::encodeName(temp.path()).constData(), 0), 0);
    if (environment.isEmpty())
        qunsetenv("ORVANE_HISTORY");
    else
        qputenv("ORVANE_HISTORY", environment);
    if (!setting.isEmpty())
        Common::GlobalIni::ini().setValue(QStringLiteral("History/Enabled"), setting);

    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(copySample(dir));
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/.git")));
    QList<History::HistoryEntry> entries;
    QString error;
    QVERIFY(!History::HistoryLog::entries(dir, &entries, &error));
    QVERIFY2(error.contains(insideWorkTree ? QStringLiteral("внутри рабочего каталога git") : QStringLiteral("отключена")),
             qPrintable(error));
    if (outer) {
        // The other repository is left as it was: no commit, nothing staged.
        git_oid head;
        QVERIFY(git_reference_name_to_id(&head, outer, "HEAD") != 0);
        git_index* index = nullptr;
        QCOMPARE(git_repository_index(&index, outer), 0);
        QCOMPARE(git_index_entrycount(index), size_t(0));
        git_index_free(index);
        git_repository_free(outer);
    }
}

void TestHistory::pushAfterSave_data()
{
    QTest::addColumn<bool>("remoteThere");
    QTest::newRow("a bare repository") << true;
    QTest::newRow("a remote that is gone") << false;
}

void TestHistory::pushAfterSave()
{
    QFETCH(bool, remoteThere);
    QTemporaryDir temp;
    const QString bare = temp.filePath(QStringLiteral("remote.git"));
    const auto makeRemote = [&bare] {
        git_repository* repository = nullptr;
        const bool made = git_repository_init(&repository, QFile::encodeName(bare).constData(), 1) == 0;
        git_repository_free(repository);
        return made;
    };
    if (remoteThere)
        QVERIFY(makeRemote());
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(copySample(dir));
    qputenv("ORVANE_HISTORY_REMOTE", QFile::encodeName(bare));
    // A save, then the push it starts: done when it reached the save's commit or failed.
    const auto saveAndWaitForPush = [&dir](const QString& name, bool failing) {
        ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
        store.racks()[ComponentUid<0>(1)].name = name;
        const bool saved = store.write(ObjectRacks);
        const QString head = History::HistoryLog::headOf(dir);
        for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QTest::qWait(50)) {
            const History::PushStatus status = History::pushStatus(dir);
            if ((status.ok && status.commit == head) || (failing && status.known && !status.ok))
                break;
        }
        return saved;
    };
    QVERIFY(saveAndWaitForPush(QStringLiteral("Стойка связи"), !remoteThere)); // a failed push never fails the save

    History::PushStatus status = History::pushStatus(dir);
    QVERIFY(status.known);
    QCOMPARE(status.ok, remoteThere);
    if (!remoteThere) {
        QVERIFY(!status.message.isEmpty());
        QVERIFY(makeRemote()); // back: the next write pushes again
        QVERIFY(saveAndWaitForPush(QStringLiteral("Стойка 1"), false));
        status = History::pushStatus(dir);
        QVERIFY2(status.ok, qPrintable(status.message));
    }
    QCOMPARE(status.commit, History::HistoryLog::headOf(dir));
    QCOMPARE(remoteHead(bare), History::HistoryLog::headOf(dir));
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
