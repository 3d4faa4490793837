// orvane-history and the saves of Sulvane in the history, each program run as a child process.
#include "complexconfig.h"
#include "complexfixture.h"
#include "historylog.h"
#include "historytesting.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray output;
    QString errors;
    QJsonObject json() const { return QJsonDocument::fromJson(output).object(); }
};

Result history(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(ORVANE_BIN_DIR "/orvane-history"), arguments);
    Result result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = process.readAllStandardOutput();
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

class TestOrvaneHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { qputenv("ORVANE_HISTORY", "1"); }
    void logShowRestore();
    void refusals_data();
    void refusals();
    void sulvaneRunsAtOnce_data();
    void sulvaneRunsAtOnce();
};

void TestOrvaneHistory::logShowRestore()
{
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    const QString dir = fixture.configDir();
    {
        const auto store = fixture.openStore();
        store->computers()[CoConfig::ComponentUid<1>(100)].name = QStringLiteral("АРМ связи");
        QVERIFY(store->write(CoConfig::ObjectComputers));
    }

    const Result log = history({dir, QStringLiteral("log")});
    QCOMPARE(log.exitCode, 0);
    const QStringList lines = QString::fromUtf8(log.output).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].endsWith(QStringLiteral("  ЭВМы: 1 изменена")), qPrintable(lines[0]));
    const QJsonArray entries = history({QStringLiteral("--json"), dir}).json().value("entries").toArray();
    QCOMPARE(entries.size(), 2);
    const QString first = entries[1].toObject().value("id").toString();

    const QJsonArray files = history({QStringLiteral("--json"), dir, QStringLiteral("show"), QStringLiteral("HEAD")})
                                 .json().value("files").toArray();
    QCOMPARE(files.size(), 1);
    const QJsonObject change = files[0].toObject().value("records").toArray().first().toObject();
    QCOMPARE(change.value("text").toString(), QStringLiteral("ЭВМ 100 «АРМ связи»: Название: «АРМ 100» → «АРМ связи»"));
    const QJsonObject field = change.value("fields").toArray().first().toObject();
    QCOMPARE(field.value("old").toString(), QStringLiteral("АРМ 100"));
    QCOMPARE(field.value("new").toString(), QStringLiteral("АРМ связи"));

    const Result restore = history({dir, QStringLiteral("restore"), first.left(8)});
    QVERIFY2(restore.exitCode == 0, qPrintable(restore.errors));
    QCOMPARE(fixture.openStore()->computers().value(CoConfig::ComponentUid<1>(100)).name, QStringLiteral("АРМ 100"));
    const QList<History::HistoryEntry> after = entriesOf(dir);
    QCOMPARE(after.size(), 3);
    QCOMPARE(after.first().kind, History::ChangeKind::Restore);
    QCOMPARE(after.first().restores, first);
    QCOMPARE(after.first().program, QStringLiteral("orvane-history"));
    QVERIFY2(after.first().summary.endsWith(QStringLiteral(": ЭВМы: 1 изменена")), qPrintable(after.first().summary));

    // Restoring what the files already hold writes nothing.
    QCOMPARE(history({dir, QStringLiteral("restore"), first}).exitCode, 0);
    QCOMPARE(entriesOf(dir).size(), 3);
}

void TestOrvaneHistory::refusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // %1: a complex with a history
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no such revision") << QStringList{"%1", "show", "0123456789abcdef"} << 2;
    QTest::newRow("no such command") << QStringList{"%1", "frobnicate"} << 2;
    QTest::newRow("a revision missing") << QStringList{"%1", "restore"} << 2;
    QTest::newRow("no such directory") << QStringList{"%1/nowhere", "log"} << 2;
    QTest::newRow("a restore of no revision") << QStringList{"%1", "restore", "HEAD~5"} << 2;
    QTest::newRow("a push without a remote") << QStringList{"%1", "push"} << 1;
}

void TestOrvaneHistory::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    for (QString& argument : arguments)
        argument.replace(QStringLiteral("%1"), fixture.configDir());
    const Result result = history(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(!result.errors.isEmpty());
    QCOMPARE(entriesOf(fixture.configDir()).size(), 1);
}

void TestOrvaneHistory::sulvaneRunsAtOnce_data()
{
    QTest::addColumn<int>("runs");
    QTest::addColumn<bool>("groupShared");
    QTest::newRow("ten at once") << 10 << false;
    QTest::newRow("group-shared under umask 077") << 3 << true;
}

void TestOrvaneHistory::sulvaneRunsAtOnce()
{
    QFETCH(int, runs);
    QFETCH(bool, groupShared);
    QList<int> arms;
    for (int arm = 100; arm < 100 + runs; ++arm)
        arms << arm;
    ComplexFixture fixture;
    const QString dir = fixture.configDir();
    // The history is made under the same umask as the runs that go on writing it.
    const mode_t umask = groupShared ? ::umask(077) : ::umask(022);
    if (groupShared)
        QCOMPARE(::chmod(QFile::encodeName(dir).constData(), 02770), 0);
    const bool created = fixture.createComplex(arms);
    ::umask(umask);
    QVERIFY(created);
    fixture.setEnvironment(QStringLiteral("ORVANE_HISTORY"), QStringLiteral("1"));
    const QStringList umask077{QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("umask 077 && exec \"$0\"")};
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int arm : std::as_const(arms))
        processes.push_back(fixture.start(fixture.writeSettings(QStringLiteral("arm%1.ini").arg(arm), QString::number(arm)),
                                          groupShared ? umask077 : QStringList()));
    for (auto& process : processes) {
        const ComplexFixture::Run run = ComplexFixture::finish(*process);
        QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.errors));
    }

    // One commit per run, each by Sulvane on its workstation, after the complex's own.
    const QList<History::HistoryEntry> entries = entriesOf(dir);
    QCOMPARE(entries.size(), runs + 1);
    QSet<QString> workstations;
    for (int i = 0; i < runs; ++i) {
        QCOMPARE(entries[i].program, QStringLiteral("Sulvane"));
        QCOMPARE(entries[i].kind, History::ChangeKind::Save);
        QVERIFY2(entries[i].summary.startsWith(QStringLiteral("ЭВМы: 1 изменена")), qPrintable(entries[i].summary));
        workstations << entries[i].workstation;
    }
    QCOMPARE(workstations.size(), runs);
    if (!groupShared)
        return;
    // The group may go on writing the history: setgid directories and files it may read and write
    // (objects, which nobody rewrites, read-only).
    QDirIterator it(dir + QStringLiteral("/.git"), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
        const bool object = path.contains(QStringLiteral("/objects/")) && S_ISREG(st.st_mode);
        const mode_t wanted = S_ISDIR(st.st_mode) ? (S_ISGID | S_IRWXG) : object ? S_IRGRP : (S_IRGRP | S_IWGRP);
        QVERIFY2((st.st_mode & wanted) == wanted, qPrintable(path + ": " + QString::number(st.st_mode & 07777, 8)));
    }
}

QTEST_GUILESS_MAIN(TestOrvaneHistory)
#include "tst_orvanehistory.moc"
