#include "complexconfig.h"
#include "complexgenerator.h"
#include "storesnapshot.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace CoConfig;

// What happens to the directory when writers die, fail or meet: always the old state or the new
// one, whole, and a failure that says why.
class TestStoreDurability : public QObject
{
    Q_OBJECT

private slots:
    void killAtRandomMomentsLeavesOldOrNew();
    void concurrentWritersAreSerialised();
    void readersNeverSeeHalfASwap();
    void failedWriteLeavesOldFiles_data();
    void failedWriteLeavesOldFiles();

private:
    static QString helper() { return QStringLiteral(ORVANE_STORE_TEST_HELPER); }
    static bool waitForLine(QProcess& process, const QByteArray& line, int timeoutMs);
    static void writeDirectly(const QString& dir, const ComplexData& data);
};

bool TestStoreDurability::waitForLine(QProcess& process, const QByteArray& line, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        while (process.canReadLine()) {
            if (process.readLine().trimmed() == line)
                return true;
        }
        if (!process.waitForReadyRead(int(qMax<qint64>(1, timeoutMs - timer.elapsed()))))
            return process.canReadLine() && process.readLine().trimmed() == line;
    }
    return false;
}

void TestStoreDurability::writeDirectly(const QString& dir, const ComplexData& data)
{
    ComplexConfig store(dir, 0, 0);
    StoreTest::putInto(store, data);
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
}

void TestStoreDurability::killAtRandomMomentsLeavesOldOrNew()
{
    constexpr int Channels = 6000;
    constexpr int Kills = 40;
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    const ComplexData states[2] = {StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 1),
                                   StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 2)};
    writeDirectly(dir, states[0]);

    // One undisturbed run tells how long a write takes here, so kills can land all through it.
    QProcess process;
    QElapsedTimer timer;
    process.start(helper(), {QStringLiteral("write"), dir, QStringLiteral("2"), QString::number(Channels)});
    QVERIFY(waitForLine(process, "ready", 30000));
    timer.start();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const int writeMs = int(qMax<qint64>(5, timer.elapsed()));
    int onDisk = 1;

    int oldKept = 0;
    int newTaken = 0;
    for (int i = 0; i < Kills; ++i) {
        const int target = 1 - onDisk;
        process.start(helper(), {QStringLiteral("write"), dir, QString::number(target + 1), QString::number(Channels)});
        QVERIFY(waitForLine(process, "ready", 30000));
        QTest::qSleep(QRandomGenerator::global()->bounded(writeMs + writeMs / 4));
        process.kill();
        QVERIFY(process.waitForFinished(10000));

        ComplexConfig fresh(dir, ObjectAll, 0);
        QVERIFY2(fresh.readStatus() == 0, qPrintable(fresh.errorString()));
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

    writeDirectly(dir, states[0]);
    QVERIFY(StoreTest::leftoversBeside(dir).isEmpty());
}

void TestStoreDurability::concurrentWritersAreSerialised()
{
    constexpr int Channels = 3000;
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    const ComplexData states[2] = {StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 1),
                                   StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 2)};
    for (int round = 0; round < 4; ++round) {
        QProcess first;
        QProcess second;
        first.start(helper(), {QStringLiteral("write"), dir, QStringLiteral("1"), QString::number(Channels)});
        second.start(helper(), {QStringLiteral("write"), dir, QStringLiteral("2"), QString::number(Channels)});
        QVERIFY(first.waitForFinished(30000));
        QVERIFY(second.waitForFinished(30000));
        QVERIFY2(first.exitCode() == 0, first.readAllStandardOutput().constData());
        QVERIFY2(second.exitCode() == 0, second.readAllStandardOutput().constData());

        ComplexConfig fresh(dir, ObjectAll, 0);
        QVERIFY2(fresh.readStatus() == 0, qPrintable(fresh.errorString()));
        QVERIFY(fresh.data() == states[0] || fresh.data() == states[1]);
    }
    QVERIFY(StoreTest::leftoversBeside(dir).isEmpty());
}

void TestStoreDurability::readersNeverSeeHalfASwap()
{
    constexpr int Channels = 3000;
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    const ComplexData states[2] = {StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 1),
                                   StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 2)};
    writeDirectly(dir, states[0]);
    ComplexConfig reader(dir, 0, 0);
    int reads = 0;
    for (int round = 0; round < 6; ++round) {
        QProcess writer;
        writer.start(helper(), {QStringLiteral("write"), dir, QString::number(round % 2 + 1), QString::number(Channels)});
        QVERIFY(waitForLine(writer, "ready", 30000));
        while (writer.state() != QProcess::NotRunning) {
            QVERIFY2(reader.read(ObjectAll), qPrintable(reader.errorString()));
            QVERIFY(reader.data() == states[0] || reader.data() == states[1]);
            ++reads;
            writer.waitForFinished(0);
        }
        QCOMPARE(writer.exitCode(), 0);
    }
    QVERIFY(reads >= 6);
}

void TestStoreDurability::failedWriteLeavesOldFiles_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("cause");

    QTest::newRow("read-only file system") << "readonly" << EROFS;
    QTest::newRow("full disk") << "full" << ENOSPC;
    QTest::newRow("file-size limit") << "fsize" << EFBIG;
}

void TestStoreDurability::failedWriteLeavesOldFiles()
{
    QFETCH(QString, mode);
    QFETCH(int, cause);

    QTemporaryDir temp;
    QStringList command{helper(), QStringLiteral("fail-write"), mode, temp.path()};
    if (mode != QLatin1String("fsize")) {
        // Running as root ignores permission bits: a small tmpfs of our own shows the real failure.
        if (QProcess::execute(QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("true")}) != 0)
            QSKIP("this machine cannot make a private mount namespace (unshare -m), so no tmpfs can be mounted");
        command = QStringList{QStringLiteral("-m"), QStringLiteral("--propagation"), QStringLiteral("private")} + command;
        command.prepend(QStringLiteral("unshare"));
    }
    QProcess process;
    process.start(command.first(), command.mid(1));
    QVERIFY(process.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (output.startsWith(QLatin1String("error: mount")) || output.startsWith(QLatin1String("error: remount")))
        QSKIP(qPrintable(QStringLiteral("this machine lets no tmpfs be mounted in a private namespace (%1)").arg(output.trimmed())));
    QVERIFY2(process.exitCode() == 0, qPrintable(output + process.readAllStandardError()));

    QMap<QString, QString> result;
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int colon = line.indexOf(QStringLiteral(": "));
        result.insert(line.left(colon), colon < 0 ? QString() : line.mid(colon + 2));
    }
    QCOMPARE(result.value("written"), QStringLiteral("false"));
    const QString reason = result.value("reason");
    QVERIFY2(reason.contains(QString::fromLocal8Bit(std::strerror(cause))), qPrintable(reason));
    QVERIFY2(reason.contains(temp.path()), qPrintable(reason));
    QCOMPARE(result.value("intact"), QStringLiteral("yes"));
    QCOMPARE(result.value("leftovers"), QString());
    QCOMPARE(result.value("readable"), QStringLiteral("yes"));
}

QTEST_GUILESS_MAIN(TestStoreDurability)
#include "tst_storedurability.moc"
