// The editor killed while it saves, many times over, at moments spread over the whole save: the
// next start reads the old configuration or the new one, whole, and the next save leaves no
// unreadable or work file behind.

#include "complexconfig.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

constexpr int Kills = 200;
constexpr int Buckets = 10; // tenths of a save, for the spread of the kill moments
constexpr int ChildTimeoutMs = 120000;

using Files = QMap<QString, QByteArray>;

// The configuration's own files: every visible file under the directory, with its bytes.
Files configurationFiles(const QString& dir)
{
    Files files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(QDir(dir).relativeFilePath(file.fileName()),
                     file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

// Anything a writer keeps only while it works, in the directory or beside it: hidden entries
// other than the lock file, and entries beside the directory.
QStringList workFiles(const QString& dir)
{
    QStringList found;
    const QDir parent = QFileInfo(dir).absoluteDir();
    for (const QFileInfo& entry : parent.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (entry.fileName() != QFileInfo(dir).fileName() && !entry.fileName().endsWith(QLatin1String(".lock")))
            found << entry.fileName();
    }
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        if (entry.fileName().startsWith(QLatin1Char('.')) && !entry.fileName().endsWith(QLatin1String("lock")))
            found << QDir(dir).relativeFilePath(entry.filePath());
    }
    return found;
}

// What the next start reads, or nothing when the read reports a fault.
std::optional<CoConfig::ComplexData> nextStart(const QString& dir)
{
    const CoConfig::ComplexConfig store(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    if (store.readStatus() != 0)
        return std::nullopt;
    return store.data();
}

QByteArray nextLine(QProcess& child)
{
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(ChildTimeoutMs))
            return QByteArray();
    }
    return child.readLine().trimmed();
}

} // namespace

class TestSaveSoak : public QObject
{
    Q_OBJECT

private slots:
    void killedSavesLeaveOldOrNew();

private:
    struct Run
    {
        bool killed = false;
        int saveMs = -1; // the second save's, when it finished
    };
    // One child: its start must read cleanly, its first save must leave exactly `first` and
    // no work file; then the second save, killed after the delay when one is given.
    void run(long killAfterUs, Files* first, Run* result);

    std::optional<CoConfig::ComplexData> m_firstData; // as read after the first save

    QString m_dir;
    int m_channels = 4000;
};

void TestSaveSoak::run(long killAfterUs, Files* first, Run* result)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(ORVANE_TEST_BIN_DIR "/orvane-soak-saver"),
                {m_dir, QString::number(m_channels), QString::number(killAfterUs)});
    QVERIFY(child.waitForStarted());
    QCOMPARE(nextLine(child), QByteArray("read 0"));
    const QByteArray saved = nextLine(child);
    QVERIFY2(saved.startsWith("saved "), saved.constData());
    QCOMPARE(workFiles(m_dir), QStringList());
    if (first->isEmpty()) {
        *first = configurationFiles(m_dir);
        m_firstData = nextStart(m_dir);
        QVERIFY(m_firstData);
    } else {
        QVERIFY(configurationFiles(m_dir) == *first);
    }

    child.write("go\n");
    QVERIFY(child.waitForFinished(ChildTimeoutMs));
    result->killed = child.exitStatus() == QProcess::CrashExit;
    if (result->killed)
        return;
    QCOMPARE(child.exitCode(), 0);
    const QByteArray second = nextLine(child);
    QVERIFY2(second.startsWith("saved "), second.constData());
    result->saveMs = second.mid(6).toInt();
}

void TestSaveSoak::killedSavesLeaveOldOrNew()
{
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    m_dir = temp.filePath(QStringLiteral("complex"));
    if (qEnvironmentVariableIsSet("ORVANE_SOAK_CHANNELS"))
        m_channels = qEnvironmentVariableIntValue("ORVANE_SOAK_CHANNELS");

    // A run to the end gives both configurations as saved, and how long a save takes.
    Files oldFiles;
    Run calibration;
    run(-1, &oldFiles, &calibration);
    if (QTest::currentTestFailed())
        return;
    const Files newFiles = configurationFiles(m_dir);
    QVERIFY(newFiles != oldFiles);
    const std::optional<CoConfig::ComplexData> newData = nextStart(m_dir);
    QVERIFY(newData);
    const std::optional<CoConfig::ComplexData> oldData = m_firstData;
    QVERIFY(*oldData != *newData);
    QCOMPARE(newFiles.keys(), oldFiles.keys());
    // Past the save by a fifth: kills while it finishes and exits count as well.
    const long span = calibration.saveMs * 1200L + 1;

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u, %d channels, a save of %d ms", seed, m_channels, calibration.saveMs);
    QRandomGenerator random(seed);
    int kills = 0;
    int killedNew = 0; // kills after the commit: the new configuration stands
    int finished = 0;
    int spread[Buckets + 1] = {};
    QElapsedTimer clock;
    clock.start();
    while (kills < Kills) {
        const long delay = long(random.bounded(quint32(span)));
        Run result;
        Files first = oldFiles;
        run(delay, &first, &result);
        if (QTest::currentTestFailed())
            return;
        // What the next start reads: one of the two, whole.
        const std::optional<CoConfig::ComplexData> now = nextStart(m_dir);
        QVERIFY2(now, qPrintable(QStringLiteral("unreadable after a kill %1 us into the save").arg(delay)));
        QVERIFY2(*now == *oldData || *now == *newData,
                 qPrintable(QStringLiteral("a mix after a kill %1 us into the save").arg(delay)));
        if (result.killed) {
            ++kills;
            killedNew += *now == *newData;
            ++spread[qMin<long>(Buckets, delay * Buckets / (calibration.saveMs * 1000L + 1))];
        } else {
            ++finished;
            QVERIFY(*now == *newData);
        }
    }
    Run last;
    Files first = oldFiles;
    run(-1, &first, &last);
    QCOMPARE(workFiles(m_dir), QStringList());

    QStringList tenths;
    for (int count : spread)
        tenths << QString::number(count);
    qInfo("%d kills (%d left the old configuration, %d the new), %d saves finished before the kill, in %lld s; "
          "kills by tenth of the save: %s",
          kills, kills - killedNew, killedNew, finished, static_cast<long long>(clock.elapsed() / 1000),
          qPrintable(tenths.join(QLatin1Char(' '))));
    // The moments fell on both sides of the commit and in every tenth of the save.
    QVERIFY(killedNew > 0 && killedNew < kills);
    for (int bucket = 0; bucket < Buckets; ++bucket)
        QVERIFY2(spread[bucket] > 0, qPrintable(tenths.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(TestSaveSoak)
#include "tst_savesoak.moc"
