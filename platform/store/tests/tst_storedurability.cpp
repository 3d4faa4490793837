#include "complexconfig.h"
#include "complexgenerator.h"
#include "helperprocess.h"
#include "storesnapshot.h"
#include "testfiles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace CoConfig;

// What happens to the directory when writers die, fail or meet: always the old state or the new
// one, whole, and a failure that says why.
class TestStoreDurability : public QObject
{
    Q_OBJECT

private slots:
    void filesAddedDuringASaveSurvive();
    void concurrentWritersAreSerialised();
    void readersNeverSeeHalfASwap();
    void failedWriteLeavesOldFiles_data();
    void failedWriteLeavesOldFiles();

private:
    static QString helper() { return QStringLiteral(ORVANE_STORE_TEST_HELPER); }
    static void writeDirectly(const QString& dir, const ComplexData& data);
};

void TestStoreDurability::writeDirectly(const QString& dir, const ComplexData& data)
{
    ComplexConfig store(dir, 0, 0);
    StoreTest::putInto(store, data);
    QVERIFY2(store.write(ObjectAll), qPrintable(store.errorString()));
}

void TestStoreDurability::filesAddedDuringASaveSurvive()
{
    constexpr int Channels = 6000;
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    writeDirectly(dir, StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 1));
    struct stat before;
    QCOMPARE(::stat(QFile::encodeName(dir).constData(), &before), 0);

    // Another program keeps adding files, at the top and beside the store's own, while the save runs.
    QProcess writer;
    writer.start(helper(), {QStringLiteral("write"), dir, QStringLiteral("2"), QString::number(Channels)});
    QVERIFY(StoreTest::waitForLine(writer, "ready", 30000));
    QStringList added;
    while (writer.state() != QProcess::NotRunning) {
        const QString name = (added.size() % 2 ? QStringLiteral("channels/notes-%1") : QStringLiteral("notes-%1"))
                                 .arg(added.size());
        QVERIFY(TestFiles::writeFile(dir + QLatin1Char('/') + name, name.toUtf8()));
        added << name;
        writer.waitForFinished(2);
    }
    QCOMPARE(writer.exitCode(), 0);
    QVERIFY(!added.isEmpty());
    for (const QString& name : std::as_const(added))
        QCOMPARE(TestFiles::readFile(dir + QLatin1Char('/') + name), name.toUtf8());
    ComplexConfig fresh(dir, ObjectAll, 0);
    QVERIFY(fresh.data() == StoreTest::generateComplex(StoreTest::ComplexSizes::medium(Channels), 2));
    struct stat after;
    QCOMPARE(::stat(QFile::encodeName(dir).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
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
    QVERIFY(StoreTest::leftovers(dir).isEmpty());
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
        QVERIFY(StoreTest::waitForLine(writer, "ready", 30000));
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
