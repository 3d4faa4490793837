#include "complexfixture.h"

#include "complexconfig.h"
#include "currentlogin.h"
#include "dirlock.h"
#include "foreignparts.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "posixio.h"
#include "testfiles.h"
#include "unprivileged.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QCryptographicHash>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTest>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <functional>
#include <atomic>
#include <pwd.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const QString NotRegistered = QStringLiteral("Operator is not registered");
const QString NotSet = QStringLiteral("Not set");

// Checks the lines of a successful run and gives the uid it printed.
void verifyRegistered(const ComplexFixture::Run& run, const QString& login, int* uid)
{
    QVERIFY2(run.finished, qPrintable(run.errors));
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.lines();
    QVERIFY2(lines.size() == 9, qPrintable(run.output));
    QCOMPARE(lines.at(0), QStringLiteral("Operator is registered"));
    QVERIFY2(lines.at(1).startsWith(QStringLiteral("UID: ")), qPrintable(run.output));
    bool ok = false;
    *uid = lines.at(1).mid(5).toInt(&ok);
    QVERIFY(ok && *uid >= 0);
    QCOMPARE(lines.mid(2), QStringList({QStringLiteral("Login: ") + login, QStringLiteral("Name: ") + NotSet,
                                        QStringLiteral("Surname: ") + NotSet, QStringLiteral("Thirdname: ") + NotSet,
                                        QStringLiteral("Rank: ") + NotSet, QStringLiteral("Post: ") + NotSet,
                                        QString()}));
}

// Checks that a run refused with this name, and that a reason line follows when expected.
void verifyRefused(const ComplexFixture::Run& run, const QString& name, bool withReason)
{
    QVERIFY2(run.finished, qPrintable(run.errors));
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.lines();
    QVERIFY2(lines.size() >= 3, qPrintable(run.output));
    QCOMPARE(lines.at(0), NotRegistered);
    QCOMPARE(lines.at(1), name);
    if (withReason) {
        QCOMPARE(lines.size(), 4);
        QVERIFY2(!lines.at(2).trimmed().isEmpty(), "the store's reason is missing");
    } else {
        QCOMPARE(lines.size(), 3);
    }
    QCOMPARE(lines.last(), QString());
}

bool canMakeReadOnlyMount()
{
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty())
        return false;
    QProcess probe;
    probe.start(QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("--propagation"),
                                            QStringLiteral("private"), QStringLiteral("true")});
    return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

// Every display text of a model, row by row: the columns of a row joined by '|'.
QStringList modelRows(const QAbstractItemModel* model, const QModelIndex& parent = QModelIndex())
{
    QStringList rows;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(parent); ++column)
            cells << model->index(row, column, parent).data().toString();
        rows << cells.join(QLatin1Char('|'));
        rows << modelRows(model, model->index(row, 0, parent));
    }
    return rows;
}

// The writers' lock file as a holder on `host` with this pid writes it.
QByteArray writerLockText(const QString& host, qint64 pid, int beat)
{
    return "orvane-write-lock 1\nhost " + host.toUtf8() + "\npid " + QByteArray::number(pid)
        + "\nstart 1\ntoken 00000000000000aa\nbeat " + QByteArray::number(beat) + '\n';
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Two FUSE mounts of one folder: flock on one does not reach the other, as between two
// workstations on a share without byte-range locks. Unmounted when it goes.
class TwoMounts
{
public:
    explicit TwoMounts(const QString& folder)
    {
        if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("bindfs")).isEmpty()
            || !QFileInfo::exists(QStringLiteral("/dev/fuse")))
            return;
        for (const QString& name : {QStringLiteral("a"), QStringLiteral("b")}) {
            const QString point = m_points.path() + QLatin1Char('/') + name;
            if (!QDir().mkpath(point) || QProcess::execute(QStringLiteral("bindfs"), {QStringLiteral("-o"), QStringLiteral("attr_timeout=0,entry_timeout=0,negative_timeout=0"), folder, point}) != 0)
                return;
            m_mounted << point;
        }
    }
    ~TwoMounts()
    {
        for (const QString& point : std::as_const(m_mounted))
            QProcess::execute(QStringLiteral("umount"), {point});
    }
    bool isValid() const { return m_mounted.size() == 2; }
    QString at(int i) const { return m_mounted.at(i); }

private:
    QTemporaryDir m_points;
    QStringList m_mounted;
};

// A writer killed between its renames: the first file in place, the second still in its work
// file, which only root may read. Gives the two files' committed contents.
QMap<QString, QByteArray> plantInterruptedCommit(const QString& dir, QString* workFile)
{
    const QString id = QStringLiteral("00112233445566ff");
    const QStringList paths{QStringLiteral("arms/computers.xml"), QStringLiteral("operators/operators.xml")};
    QMap<QString, QByteArray> committed;
    QByteArray record = "orvane-commit 1 " + id.toLatin1() + '\n';
    for (const QString& path : paths) {
        QFile old(dir + QLatin1Char('/') + path);
        old.open(QIODevice::ReadOnly);
        const QByteArray bytes = old.readAll() + "<!-- committed -->\n";
        committed.insert(path, bytes);
        record += "file\t" + path.toUtf8() + '\t' + QByteArray::number(bytes.size()) + '\t'
            + QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex() + '\n';
    }
    *workFile = dir + QLatin1Char('/') + PosixIo::workFileName(paths.at(1), id);
    if (!writeFile(dir + QStringLiteral("/.orvane.commit-") + id, record + "end\n")
        || !writeFile(dir + QLatin1Char('/') + paths.at(0), committed.first())
        || !writeFile(*workFile, committed.last()) || ::chmod(PosixIo::encodePath(*workFile).constData(), 0600) != 0)
        return {};
    return committed;
}

} // namespace

class TestSulvane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void registersOnKnownArm();
    void tenWorkstationsAtOnce();
    void groupSharedComplexKeepsOwnersAndModes();
    void mountPointInReadOnlyParent();
    void secondRunIsRefused();
    void sameUserOnTwoArms();
    void removedOperatorsUidIsNotGivenAgain();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void unreachableKindFileIsAReadError_data();
    void unreachableKindFileIsAReadError();
    void readOnlyDirectoryReportsWriteFailure();
    void unwritableDirectoryNamesTheCause();
    void busyDirectoryIsReported_data();
    void busyDirectoryIsReported();
    void unknownUserIsReported();
    void staleLockIsTakenOver_data();
    void staleLockIsTakenOver();
    void runsThroughMountsWhoseLocksDoNotMeet();
    void unfinishableCommitIsLeftForAnother_data();
    void unfinishableCommitIsLeftForAnother();
    void loginPrintsOnOneLine_data();
    void loginPrintsOnOneLine();
    void editorShowsRegisteredOperator();

private:
    QString m_login;
};

void TestSulvane::initTestCase()
{
    QVERIFY2(QFileInfo(ComplexFixture::programPath()).isExecutable(), qPrintable(ComplexFixture::programPath()));
    m_login = Common::currentLogin();
    QVERIFY2(!m_login.isEmpty(), "the test's own user has no login name");
}

void TestSulvane::registersOnKnownArm()
{
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100, 200}));
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    // What a newer version wrote into the workstation and the operator stays through the run.
    const QStringList rewritten = {fixture.configDir() + "/arms/computers.xml",
                                   fixture.configDir() + "/operators/operators.xml"};
    for (const QString& file : rewritten) {
        const QByteArray element = file.endsWith("computers.xml") ? "Computer" : "Operator";
        QVERIFY(TestFiles::writeFile(file, ForeignParts::addTo(TestFiles::readFile(file), element)));
    }

    int uid = -1;
    verifyRegistered(fixture.run(settings), m_login, &uid);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(uid != ComplexFixture::existingOperatorUid);
    for (const QString& file : rewritten)
        QVERIFY2(ForeignParts::heldBy(TestFiles::readFile(file)), qPrintable(file));

    const auto store = fixture.openStore();
    QCOMPARE(store->readStatus(), 0);
    const Common::Operator added = store->operatorsMap().value(uid);
    QCOMPARE(added.uid, uid);
    for (const QString& field : {added.name, added.surname, added.thirdname, added.rank, added.post})
        QCOMPARE(field, NotSet);

    // The new registration joins the one already there; nothing else is touched.
    const CoConfig::Registrations expected{{ComplexFixture::existingLogin, ComplexFixture::existingOperatorUid},
                                              {m_login, uid}};
    QCOMPARE(store->computers().value(CoConfig::ComponentUid<1>(100)).registrations, expected);
    QVERIFY(store->computers().value(CoConfig::ComponentUid<1>(200)).registrations.isEmpty());
    QCOMPARE(store->operatorCount(), 2);
    QCOMPARE(store->operatorsMap().value(ComplexFixture::existingOperatorUid).surname, QStringLiteral("Иванов"));
    QCOMPARE(store->armUnionCount(), 1);
}

void TestSulvane::tenWorkstationsAtOnce()
{
    QList<int> arms;
    for (int arm = 100; arm < 110; ++arm)
        arms << arm;
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex(arms));
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int arm : std::as_const(arms))
        processes.push_back(fixture.start(fixture.writeSettings(QStringLiteral("arm%1.ini").arg(arm), QString::number(arm))));

    QList<int> printed;
    for (auto& process : processes) {
        int uid = -1;
        verifyRegistered(ComplexFixture::finish(*process), m_login, &uid);
        if (QTest::currentTestFailed())
            return;
        printed << uid;
    }
    // Each run's output is what the files hold: ten registrations, ten operators, ten uids.
    const auto store = fixture.openStore();
    QCOMPARE(store->readStatus(), 0);
    QCOMPARE(store->operatorCount(), arms.size() + 1);
    for (int i = 0; i < arms.size(); ++i) {
        QCOMPARE(store->computers().value(CoConfig::ComponentUid<1>(arms[i])).registrations.value(m_login, -1), printed[i]);
        QCOMPARE(store->operatorsMap().value(printed[i]).name, NotSet);
    }
    QCOMPARE(QSet<int>(printed.cbegin(), printed.cend()).size(), arms.size());
}

void TestSulvane::groupSharedComplexKeepsOwnersAndModes()
{
    if (::geteuid() != 0)
        QSKIP("needs root to give the complex to a group of its own");
    const gid_t group = ::getegid() == 4242 ? 4243 : 4242;
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    // The operators' kind has no file yet: the run makes its directory and file.
    QVERIFY(QDir(fixture.configDir() + QStringLiteral("/operators")).removeRecursively());

    // drwxrwsr-x and -rw-rw-r-- for the group throughout; the writer's umask takes everything else.
    const auto walk = [&](const std::function<void(const QString&, bool)>& visit) {
        visit(fixture.configDir(), true);
        QDirIterator it(fixture.configDir(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            visit(it.filePath(), it.fileInfo().isDir());
        }
    };
    walk([&](const QString& path, bool isDir) {
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(::chown(name.constData(), uid_t(-1), group), 0);
        QCOMPARE(::chmod(name.constData(), isDir ? 02775 : 0664), 0);
    });
    struct stat before;
    QCOMPARE(::stat(QFile::encodeName(fixture.configDir()).constData(), &before), 0);

    int uid = -1;
    const QStringList umask077{QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("umask 077 && exec \"$0\"")};
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100")), umask077),
                     m_login, &uid);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(QFileInfo::exists(fixture.configDir() + QStringLiteral("/operators/operators.xml")));
    QCOMPARE(fixture.openStore()->computers().value(CoConfig::ComponentUid<1>(100)).registrations.value(m_login), uid);

    struct stat after;
    QCOMPARE(::stat(QFile::encodeName(fixture.configDir()).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    walk([&](const QString& path, bool isDir) {
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
        QVERIFY2(st.st_gid == group && st.st_uid == before.st_uid, qPrintable(path));
        QVERIFY2((st.st_mode & 07777) == (isDir ? 02775u : 0664u),
                 qPrintable(path + QStringLiteral(": ") + QString::number(st.st_mode & 07777, 8)));
    });
}

void TestSulvane::mountPointInReadOnlyParent()
{
    if (!canMakeReadOnlyMount())
        QSKIP("needs root and unshare to mount in a private namespace");
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    // The child sees the complex as a mount point of its own in a read-only parent; its
    // writes reach the same files the test reads.
    const QStringList mounted{QStringLiteral("unshare"), QStringLiteral("-m"), QStringLiteral("--propagation"),
                              QStringLiteral("private"), QStringLiteral("sh"), QStringLiteral("-c"),
                              QStringLiteral("p=$(dirname \"$1\") && mount --bind \"$p\" \"$p\" "
                                             "&& mount -o remount,bind,ro \"$p\" && mount --bind \"$1\" \"$1\" "
                                             "&& mount -o remount,bind,rw \"$1\" "
                                             "&& touch \"$1\"/.probe && ! touch \"$p\"/.probe 2>/dev/null "
                                             "&& exec \"$2\""),
                              QStringLiteral("sh"), fixture.configDir()};
    int uid = -1;
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100")), mounted),
                     m_login, &uid);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(fixture.openStore()->computers().value(CoConfig::ComponentUid<1>(100)).registrations.value(m_login), uid);
}

void TestSulvane::secondRunIsRefused()
{
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    int uid = -1;
    verifyRegistered(fixture.run(settings), m_login, &uid);
    if (QTest::currentTestFailed())
        return;

    const auto before = fixture.files();
    verifyRefused(fixture.run(settings), QStringLiteral("UserNameAlreadyExists"), false);
    QCOMPARE(fixture.files(), before);
}

void TestSulvane::sameUserOnTwoArms()
{
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100, 200}));
    int first = -1;
    int second = -1;
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("a.ini"), QStringLiteral("100"))), m_login,
                     &first);
    if (QTest::currentTestFailed())
        return;
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("b.ini"), QStringLiteral("200"))), m_login,
                     &second);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(first != second);

    const auto store = fixture.openStore();
    QCOMPARE(store->operatorCount(), 3);
    QVERIFY(store->operatorsMap().contains(first));
    QVERIFY(store->operatorsMap().contains(second));
    QCOMPARE(store->computers().value(CoConfig::ComponentUid<1>(100)).registrations.value(m_login), first);
    QCOMPARE(store->computers().value(CoConfig::ComponentUid<1>(200)).registrations.value(m_login), second);
}

void TestSulvane::removedOperatorsUidIsNotGivenAgain()
{
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100, 200}));
    int first = -1;
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("a.ini"), QStringLiteral("100"))), m_login,
                     &first);
    if (QTest::currentTestFailed())
        return;
    {
        // The editor removes the operator; its registration on workstation 100 stays.
        const auto store = fixture.openStore();
        store->removeOperator(first);
        QVERIFY2(store->write(CoConfig::ObjectOperators), qPrintable(store->errorString()));
    }
    int second = -1;
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("b.ini"), QStringLiteral("200"))), m_login,
                     &second);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(second > first, qPrintable(QStringLiteral("%1 after %2").arg(second).arg(first)));
    QCOMPARE(fixture.openStore()->computers().value(CoConfig::ComponentUid<1>(100)).registrations.value(m_login), first);
}

void TestSulvane::refusalsWriteNothing_data()
{
    QTest::addColumn<QString>("armUid");     // null: the settings have no workstation uid
    QTest::addColumn<QString>("truncate");   // a sub-directory whose first file is cut in half
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withReason");

    QTest::newRow("no workstation uid") << QString() << QString() << "ArmGetUidError" << false;
    QTest::newRow("workstation uid not a number") << "abc" << QString() << "ArmGetUidError" << false;
    QTest::newRow("workstation uid -1") << "-1" << QString() << "ArmGetUidError" << false;
    QTest::newRow("workstation not in the complex") << "300" << QString() << "ArmIsNotPresent" << false;
    QTest::newRow("malformed workstation file") << "100" << "arms" << "ConfigReadError" << true;
    QTest::newRow("malformed operator file") << "100" << "operators" << "ConfigReadError" << true;
}

void TestSulvane::refusalsWriteNothing()
{
    QFETCH(QString, armUid);
    QFETCH(QString, truncate);
    QFETCH(QString, name);
    QFETCH(bool, withReason);

    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    if (!truncate.isEmpty()) {
        QFile file(fixture.firstFileIn(truncate));
        QVERIFY2(file.exists(), qPrintable(truncate));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() / 2));
    }
    const QString settings = fixture.writeSettings(QStringLiteral("arm.ini"), armUid);

    const auto before = fixture.files();
    verifyRefused(fixture.run(settings), name, withReason);
    QCOMPARE(fixture.files(), before);
}

void TestSulvane::unreachableKindFileIsAReadError_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("fileInItsPlace"); // or the folder kept, with mode 000
    QTest::addColumn<int>("cause");

    QTest::newRow("a file where the operators' folder should be") << "operators" << true << ENOTDIR;
    QTest::newRow("the workstations' folder with mode 000") << "arms" << false << EACCES;
}

void TestSulvane::unreachableKindFileIsAReadError()
{
    QFETCH(QString, folder);
    QFETCH(bool, fileInItsPlace);
    QFETCH(int, cause);

    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    const QString path = fixture.configDir() + QLatin1Char('/') + folder;
    QStringList command;
    if (fileInItsPlace) {
        QVERIFY(QDir(path).removeRecursively());
        QVERIFY(TestFiles::writeFile(path, "<Operators/>\n"));
    } else {
        const auto unprivileged = Unprivileged::command();
        if (!unprivileged || !Unprivileged::openToEveryone(QFileInfo(fixture.configDir()).path()))
            QSKIP("needs an unprivileged user to meet the folder's mode (root with setpriv, or no root)");
        command = *unprivileged;
        QVERIFY(QFile::setPermissions(path, {}));
    }
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    const auto before = fixture.files();

    const auto run = fixture.run(settings, command);
    verifyRefused(run, QStringLiteral("ConfigReadError"), true);
    QVERIFY2(run.output.contains(folder + QLatin1Char('/')) && run.output.contains(QString::fromLocal8Bit(std::strerror(cause))),
             qPrintable(run.output));
    QCOMPARE(fixture.files(), before);
}

void TestSulvane::readOnlyDirectoryReportsWriteFailure()
{
    if (!canMakeReadOnlyMount())
        QSKIP("needs root and unshare to mount the complex read-only in a private namespace");

    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    const auto before = fixture.files();

    // The child sees the complex read-only; everyone else still sees it writable.
    const QStringList readOnly{QStringLiteral("unshare"), QStringLiteral("-m"), QStringLiteral("--propagation"),
                               QStringLiteral("private"), QStringLiteral("sh"), QStringLiteral("-c"),
                               QStringLiteral("mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" "
                                              "&& exec \"$2\""),
                               QStringLiteral("sh"), fixture.configDir()};
    verifyRefused(fixture.run(settings, readOnly), QStringLiteral("ConfigWriteError"), true);
    QCOMPARE(fixture.files(), before);
}

void TestSulvane::unwritableDirectoryNamesTheCause()
{
    const auto unprivileged = Unprivileged::command();
    if (!unprivileged || ::geteuid() != 0)
        QSKIP("needs root and setpriv to run the program as a user who may not write the complex");
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    QVERIFY(Unprivileged::openToEveryone(QFileInfo(fixture.configDir()).path()));
    // Nobody made a lock file yet, and this user cannot make one.
    QVERIFY(QFile::remove(CoConfig::DirLock::lockPathFor(fixture.configDir())));
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    const auto before = fixture.files();

    const auto run = fixture.run(settings, *unprivileged);
    verifyRefused(run, QStringLiteral("ConfigWriteError"), true);
    const QString reason = run.lines().value(2);
    QVERIFY2(reason.contains(QStringLiteral(".orvane.lock")) && reason.endsWith(QString::fromLocal8Bit(std::strerror(EACCES))),
             qPrintable(reason));
    QCOMPARE(fixture.files(), before);
}

void TestSulvane::busyDirectoryIsReported_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("name");

    // The program holds the lock exclusively from its read to its write: another program
    // writing, or only reading, makes it give up before it reads.
    QTest::newRow("another program writing") << int(CoConfig::DirLock::Exclusive) << "ConfigReadError";
    QTest::newRow("another program reading") << int(CoConfig::DirLock::Shared) << "ConfigReadError";
}

void TestSulvane::busyDirectoryIsReported()
{
    QFETCH(int, mode);
    QFETCH(QString, name);

    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    fixture.setLockTimeout(300);
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    const auto before = fixture.files();

    CoConfig::DirLock lock;
    QString error;
    const QString lockPath = CoConfig::DirLock::lockPathFor(QFileInfo(fixture.configDir()).canonicalFilePath());
    QCOMPARE(lock.acquire(lockPath, CoConfig::DirLock::Mode(mode), 1000, &error), CoConfig::DirLock::Locked);

    // The program gives up after its bounded wait instead of hanging.
    verifyRefused(fixture.run(settings), name, true);
    lock.release();
    QCOMPARE(fixture.files(), before);
}

void TestSulvane::unknownUserIsReported()
{
    // A uid that the system has no user for; the child runs as it.
    const uid_t stranger = 59999;
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("needs root and setpriv to run the program as a user unknown to the system");
    if (::getpwuid(stranger))
        QSKIP("uid 59999 belongs to a user on this machine");

    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    const auto before = fixture.files();
    const QString id = QString::number(stranger);
    const auto run = fixture.run(settings, {QStringLiteral("setpriv"), QStringLiteral("--reuid=") + id,
                                            QStringLiteral("--regid=") + id, QStringLiteral("--clear-groups")});
    QVERIFY2(run.finished, qPrintable(run.errors));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, QStringLiteral("Operator is not registered\nGetCurrentLoginError"));
    QCOMPARE(fixture.files(), before);
}

void TestSulvane::staleLockIsTakenOver_data()
{
    QTest::addColumn<bool>("thisHost");
    QTest::addColumn<bool>("refreshed");
    QTest::addColumn<bool>("registers");

    QTest::newRow("process gone on this host") << true << false << true;
    QTest::newRow("another host, silent for the lease") << false << false << true;
    QTest::newRow("another host, kept fresh") << false << true << false;
}

void TestSulvane::staleLockIsTakenOver()
{
    QFETCH(bool, thisHost);
    QFETCH(bool, refreshed);
    QFETCH(bool, registers);

    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    fixture.setLockTimeout(3000);
    fixture.setEnvironment(QStringLiteral("ORVANE_LOCK_LEASE_MS"), QStringLiteral("300"));
    const QString settings = fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"));
    const auto before = fixture.files();

    QProcess gone;
    gone.start(QStringLiteral("true"), QStringList());
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    const QString host = thisHost ? QSysInfo::machineHostName() : QStringLiteral("another-workstation");
    const QString lockPath = fixture.configDir() + QStringLiteral("/.orvane.write-lock");
    QVERIFY(writeFile(lockPath, writerLockText(host, pid, 0)));
    std::atomic<bool> stop{false};
    std::thread holder([&] {
        for (int beat = 1; refreshed && !stop; ++beat) {
            writeFile(lockPath, writerLockText(host, pid, beat));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const auto run = fixture.run(settings);
    stop = true;
    holder.join();

    if (registers) {
        int uid = -1;
        verifyRegistered(run, m_login, &uid);
        QVERIFY(!QFileInfo::exists(lockPath));
    } else {
        verifyRefused(run, QStringLiteral("ConfigReadError"), true);
        QVERIFY2(run.lines().value(2).contains(lockPath), qPrintable(run.output));
        QVERIFY(QFile::remove(lockPath));
        QCOMPARE(fixture.files(), before);
    }
}

void TestSulvane::runsThroughMountsWhoseLocksDoNotMeet()
{
    QList<int> arms;
    for (int arm = 100; arm < 110; ++arm)
        arms << arm;
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex(arms));
    const TwoMounts mounts(fixture.configDir());
    if (!mounts.isValid())
        QSKIP("needs root, bindfs and /dev/fuse for two mounts of one folder");
    fixture.setLockTimeout(30000);
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < arms.size(); ++i) {
        fixture.setEnvironment(QStringLiteral("ORVANE_CONFIG_DIR"), mounts.at(i % 2));
        processes.push_back(
            fixture.start(fixture.writeSettings(QStringLiteral("arm%1.ini").arg(arms[i]), QString::number(arms[i]))));
    }
    // Every run that says it registered the user did, each as an operator of its own.
    QSet<int> printed;
    for (auto& process : processes) {
        int uid = -1;
        verifyRegistered(ComplexFixture::finish(*process), m_login, &uid);
        if (QTest::currentTestFailed())
            return;
        printed << uid;
    }
    QCOMPARE(printed.size(), arms.size());
    const auto store = fixture.openStore();
    QCOMPARE(store->readStatus(), 0);
    QCOMPARE(store->operatorCount(), arms.size() + 1);
    QSet<int> registered;
    for (int arm : std::as_const(arms))
        registered << store->computers().value(CoConfig::ComponentUid<1>(arm)).registrations.value(m_login, -1);
    QCOMPARE(registered, printed);
}

void TestSulvane::unfinishableCommitIsLeftForAnother_data()
{
    QTest::addColumn<bool>("check");

    QTest::newRow("Sulvane, which writes") << false;
    QTest::newRow("orvane-check, which only reads") << true;
}

void TestSulvane::unfinishableCommitIsLeftForAnother()
{
    QFETCH(bool, check);
    const auto unprivileged = Unprivileged::command();
    if (!unprivileged || ::geteuid() != 0)
        QSKIP("needs root and setpriv to run the program as a user who may not read a work file");
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    // A directory every user may write, as a group-shared one is.
    QVERIFY(Unprivileged::openToEveryone(QFileInfo(fixture.configDir()).path()));
    QDirIterator dirs(fixture.configDir(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QVERIFY(::chmod(PosixIo::encodePath(fixture.configDir()).constData(), 0777) == 0);
    while (dirs.hasNext())
        QVERIFY(::chmod(PosixIo::encodePath(dirs.next()).constData(), 0777) == 0);
    QString workFile;
    const QMap<QString, QByteArray> committed = plantInterruptedCommit(fixture.configDir(), &workFile);
    QVERIFY(!committed.isEmpty());
    const auto before = fixture.files();

    QString reason;
    if (check) {
        QProcess process;
        process.start(unprivileged->first(), unprivileged->mid(1) << QStringLiteral(ORVANE_CHECK_PROGRAM) << fixture.configDir());
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 2);
        reason = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    } else {
        const auto run = fixture.run(fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100")), *unprivileged);
        verifyRefused(run, QStringLiteral("ConfigReadError"), true);
        reason = run.lines().value(2);
    }
    QVERIFY2(reason.contains(workFile), qPrintable(reason));
    QCOMPARE(fixture.files(), before);

    // A program that may read it finishes the commit: both files as committed.
    const auto store = fixture.openStore();
    QCOMPARE(store->readStatus(), 0);
    for (auto it = committed.cbegin(); it != committed.cend(); ++it) {
        QFile file(fixture.configDir() + QLatin1Char('/') + it.key());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), it.value());
    }
    QVERIFY(!QFileInfo::exists(workFile));
}

void TestSulvane::loginPrintsOnOneLine_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("printed");

    QTest::newRow("carriage return") << QStringLiteral("ab\rcd") << QStringLiteral("ab\\rcd");
    QTest::newRow("tab") << QStringLiteral("ab\tcd") << QStringLiteral("ab\\tcd");
    QTest::newRow("next line") << QStringLiteral("ab\u0085cd") << QStringLiteral("ab\\u0085cd");
    QTest::newRow("line separator") << QStringLiteral("ab\u2028cd") << QStringLiteral("ab\\u2028cd");
    QTest::newRow("a domain login stays as it is") << QStringLiteral("ОТДЕЛ\\иванов") << QStringLiteral("ОТДЕЛ\\иванов");
}

void TestSulvane::loginPrintsOnOneLine()
{
    QFETCH(QString, login);
    QFETCH(QString, printed);
    // The child sees a user database of its own with this login, and runs as that user.
    const uid_t user = 59998;
    if (!canMakeReadOnlyMount() || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("needs root, unshare and setpriv to run the program as a user of a private user database");
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    QVERIFY(Unprivileged::openToEveryone(QFileInfo(fixture.configDir()).path()));
    QVERIFY(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("-R"), QString::number(user),
                                                        fixture.configDir()}) == 0);
    const QString passwd = QFileInfo(fixture.configDir()).path() + QStringLiteral("/passwd");
    QVERIFY(TestFiles::writeFile(passwd, TestFiles::readFile(QStringLiteral("/etc/passwd"))
                                     + login.toUtf8() + ":x:" + QByteArray::number(user) + ':'
                                     + QByteArray::number(user) + "::/nonexistent:/usr/sbin/nologin\n"));
    const QString id = QString::number(user);
    const QStringList asUser{QStringLiteral("unshare"), QStringLiteral("-m"), QStringLiteral("--propagation"),
                             QStringLiteral("private"), QStringLiteral("sh"), QStringLiteral("-c"),
                             QStringLiteral("mount --bind \"$1\" /etc/passwd && exec setpriv --reuid=$2 --regid=$2 "
                                            "--clear-groups \"$3\""),
                             QStringLiteral("sh"), passwd, id};

    int uid = -1;
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100")), asUser),
                     printed, &uid);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(fixture.openStore()->computers().value(CoConfig::ComponentUid<1>(100)).registrations.value(login), uid);
}

void TestSulvane::editorShowsRegisteredOperator()
{
    const QString pluginName = QStringLiteral("orvane-50-operators");
    if (!QFileInfo::exists(PluginLibrary::filePath(pluginName)))
        QSKIP("the operator editor plugin is not built");

    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    int uid = -1;
    verifyRegistered(fixture.run(fixture.writeSettings(QStringLiteral("arm100.ini"), QStringLiteral("100"))),
                     m_login, &uid);
    if (QTest::currentTestFailed())
        return;

    // The editor's next load: a fresh store handed to the plugin.
    const auto store = fixture.openStore();
    PluginLibrary library(pluginName);
    QVERIFY2(library.isLoaded(), qPrintable(library.errorString()));
    OrvanePlugin* plugin = library.create();
    QVERIFY(plugin);
    plugin->setComplexConfig(store.get());
    QWidget* page = plugin->widget();

    QStringList rows;
    const auto views = page ? page->findChildren<QAbstractItemView*>() : QList<QAbstractItemView*>();
    for (const QAbstractItemView* view : views) {
        if (view->model())
            rows << modelRows(view->model());
    }
    library.destroy(plugin);

    const QString fullName = QStringList{NotSet, NotSet, NotSet}.join(QLatin1Char(' '));
    // By operator: the new operator's row, and under it its registration with the login.
    const QString operatorRow = QStringLiteral("%1|%2|%2|").arg(fullName, NotSet);
    bool shown = false;
    for (int i = 0; i + 1 < rows.size() && !shown; ++i)
        shown = rows.at(i).startsWith(operatorRow) && rows.at(i + 1).endsWith(QLatin1Char('|') + m_login);
    QVERIFY2(shown, qPrintable(rows.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestSulvane)
#include "tst_sulvane.moc"
