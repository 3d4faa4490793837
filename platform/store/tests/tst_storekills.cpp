#include "complexconfig.h"
#include "complexgenerator.h"
#include "helperprocess.h"
#include "directorycommit.h"
#include "historyfiles.h"
#include "historylog.h"
#include "storesnapshot.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace CoConfig;

// Writers killed at random moments of their save (ORVANE_KILLS times, a complex of
// ORVANE_KILL_CHANNELS channels): the next open always shows the old state or the new one, whole.
class TestStoreKills : public QObject
{
    Q_OBJECT

private slots:
    void killAtRandomMomentsLeavesOldOrNew_data();
    void killAtRandomMomentsLeavesOldOrNew();
    void killedWritersNeverLetAUidBeGivenAgain();

private:
    static QString helper() { return QStringLiteral(ORVANE_STORE_TEST_HELPER); }
    static void makeKillable(QProcess& process);
    static void writeDirectly(const QString& dir, const ComplexData& data);
};

void TestStoreKills::writeDirectly(const QString& dir, const ComplexData& data)
{
    ComplexConfig store(dir, 0, 0);
    StoreTest::putInto(store, data);
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
}

// A writer killed while the leak check runs at its exit leaves half a report that tells nothing:
// the killed ones check memory errors only.
void TestStoreKills::makeKillable(QProcess& process)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(env);
}

void TestStoreKills::killAtRandomMomentsLeavesOldOrNew_data()
{
    QTest::addColumn<bool>("history");
    QTest::newRow("without history") << false;
    // Kills land in the history's commit as well: it never harms the files, and the next write
    // catches it up.
    if (ORVANE_KILL_HISTORY)
        QTest::newRow("with history") << true;
}

void TestStoreKills::killAtRandomMomentsLeavesOldOrNew()
{
    QFETCH(bool, history);
    qputenv("ORVANE_HISTORY", history ? "1" : "0"); // for the writers too
    constexpr int Channels = ORVANE_KILL_CHANNELS;
    constexpr int Kills = ORVANE_KILLS;
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    const ComplexData states[2] = {StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 1),
                                   StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 2)};
    writeDirectly(dir, states[0]);

    // One undisturbed run tells how long a write takes here, so kills can land all through it.
    QProcess process;
    QElapsedTimer timer;
    process.start(helper(), {QStringLiteral("write"), dir, QStringLiteral("2"), QString::number(Channels)});
    QVERIFY(StoreTest::waitForLine(process, "ready", 30000));
    timer.start();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const int writeMs = int(qMax<qint64>(5, timer.elapsed()));
    int onDisk = 1;

    int oldKept = 0;
    int newTaken = 0;
    makeKillable(process);
    for (int i = 0; i < Kills; ++i) {
        const int target = 1 - onDisk;
        process.start(helper(), {QStringLiteral("write"), dir, QString::number(target + 1), QString::number(Channels)});
        QVERIFY(StoreTest::waitForLine(process, "ready", 30000));
        QTest::qSleep(QRandomGenerator::global()->bounded(writeMs + writeMs / 4));
        process.kill();
        QVERIFY(process.waitForFinished(10000));

        ComplexConfig fresh(dir, ObjectAll, 0);
        QVERIFY2(fresh.readStatus() == 0, qPrintable(fresh.errorString()));
        QVERIFY(!DirectoryCommit::hasRecord(dir)); // an interrupted commit was finished or dropped
        if (fresh.data() == states[target]) {
            onDisk = target;
            ++newTaken;
        } else {
            QVERIFY2(fresh.data() == states[onDisk], qPrintable(QStringLiteral("kill %1: neither state").arg(i)));
            ++oldKept;
        }
    }
    qInfo("%d kills: old state kept %d times, new state taken %d times (write takes %d ms)", Kills, oldKept, newTaken,
          writeMs);

    // The next save cleans up whatever the killed ones left.
    {
        ComplexConfig store(dir, 0, 0);
        StoreTest::putInto(store, states[0]);
        QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
    }
    QCOMPARE(StoreTest::leftovers(dir), QStringList());
    if (!history)
        return;
    History::HistoryEntry head;
    QHash<QString, QByteArray> committed;
    QString error;
    const QStringList files = configHistoryFiles().recordFiles;
    QVERIFY2(History::HistoryLog::filesAt(dir, QStringLiteral("HEAD"), files, &head, &committed, &error), qPrintable(error));
    for (const QString& path : files) {
        QFile file(dir + QLatin1Char('/') + path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(committed.value(path) == file.readAll(), qPrintable(path));
    }
}

void TestStoreKills::killedWritersNeverLetAUidBeGivenAgain()
{
    // The marks do not grow with the complex: a small one gives as many kills in far less time.
    constexpr int Channels = ORVANE_KILL_CHANNELS < 3000 ? ORVANE_KILL_CHANNELS : 3000;
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    writeDirectly(dir, StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 1));
    // Each writer removes the operator of the highest uid and adds one with a new uid.
    QProcess process;
    QElapsedTimer timer;
    process.start(helper(), {QStringLiteral("renew"), dir});
    QVERIFY(StoreTest::waitForLine(process, "ready", 30000));
    timer.start();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const int writeMs = int(qMax<qint64>(5, timer.elapsed()));
    QMap<int, Common::Operator> before = ComplexConfig(dir, ObjectAll, 0).operatorsMap();
    int given = before.lastKey(); // every uid that ever reached the directory is at most this
    int renewed = 0;

    makeKillable(process);
    for (int i = 0; i < ORVANE_KILLS; ++i) {
        process.start(helper(), {QStringLiteral("renew"), dir});
        QVERIFY(StoreTest::waitForLine(process, "ready", 30000));
        QTest::qSleep(QRandomGenerator::global()->bounded(writeMs + writeMs / 4));
        process.kill();
        QVERIFY(process.waitForFinished(10000));

        ComplexConfig fresh(dir, ObjectAll, 0);
        const QMap<int, Common::Operator> after = fresh.operatorsMap();
        if (after != before) {
            QVERIFY2(after.lastKey() > given, qPrintable(QStringLiteral("kill %1: uid %2 given again (up to %3 given)")
                                                             .arg(i)
                                                             .arg(after.lastKey())
                                                             .arg(given)));
            given = after.lastKey();
            before = after;
            ++renewed;
        }
        QVERIFY2(fresh.generateObjectUid(ObjectOperators) > given,
                 qPrintable(QStringLiteral("kill %1").arg(i)));
    }
    qInfo("%d kills: %d writers had committed", ORVANE_KILLS, renewed);
}

QTEST_GUILESS_MAIN(TestStoreKills)
#include "tst_storekills.moc"
