// A child process for the store's tests.
//   write <dir> <variant> <channels>      write a complex; prints "ready" just before the write
//   renew <dir>                           remove the operator of the highest uid, add one with a
//                                         new uid registered on the first computer, and write
//                                         computers and operators; "ready" just before the write
//   fail-write <mode> <workdir>           write a small complex, then prove that a write which must
//                                         fail (mode readonly, full: a tmpfs mounted here, in the
//                                         private mount namespace the test runs us in; fsize: a
//                                         file-size limit) fails with a reason and leaves the old
//                                         files intact. Prints "key: value" lines.
#include "complexconfig.h"
#include "complexgenerator.h"
#include "storesnapshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

int writeComplex(const QString& dir, int variant, int channels)
{
    const CoConfig::ComplexData data = StoreTest::generateComplex(StoreTest::ComplexSizes::medium(channels), variant);
    CoConfig::ComplexConfig store(dir, 0, 0);
    store.setLockTimeout(30000);
    StoreTest::putInto(store, data);
    out() << "ready" << Qt::endl;
    if (!store.write(CoConfig::ObjectAll)) {
        out() << "failed: " << store.errorString() << Qt::endl;
        return 1;
    }
    out() << "written" << Qt::endl;
    return 0;
}

int renewOperator(const QString& dir)
{
    CoConfig::ComplexConfig store(dir, CoConfig::ObjectAll, 0);
    store.setLockTimeout(30000);
    if (store.readStatus() != 0) {
        out() << "failed: " << store.errorString() << Qt::endl;
        return 1;
    }
    QMap<int, Common::Operator>& operators = store.operatorsMap();
    if (!operators.isEmpty())
        operators.remove(operators.lastKey());
    Common::Operator added;
    added.uid = store.generateObjectUid(CoConfig::ObjectOperators);
    added.surname = QStringLiteral("Оператор %1").arg(added.uid);
    added.name = QString::number(QCoreApplication::applicationPid()); // each writer's record its own
    store.addOperator(added);
    if (!store.computers().isEmpty())
        store.computers().first().registrations.insert(QStringLiteral("op%1").arg(added.uid), added.uid);
    out() << "ready" << Qt::endl;
    if (!store.write(CoConfig::ObjectComputers | CoConfig::ObjectOperators)) {
        out() << "failed: " << store.errorString() << Qt::endl;
        return 1;
    }
    out() << "written" << Qt::endl;
    return 0;
}

int failWrite(const QString& mode, const QString& workDir)
{
    if (mode == QLatin1String("readonly") || mode == QLatin1String("full")) {
        const QByteArray target = QFile::encodeName(workDir);
        if (::mount("tmpfs", target.constData(), "tmpfs", 0, "size=1m") != 0) {
            out() << "error: mount: " << std::strerror(errno) << Qt::endl;
            return 2;
        }
    }
    const QString dir = workDir + QStringLiteral("/complex");
    {
        CoConfig::ComplexConfig store(dir, 0, 0);
        StoreTest::putInto(store, StoreTest::generateComplex(StoreTest::ComplexSizes(), 1));
        if (!store.write(CoConfig::ObjectAll)) {
            out() << "error: first write: " << store.errorString() << Qt::endl;
            return 2;
        }
    }
    const StoreTest::Snapshot before = StoreTest::snapshot(dir);

    if (mode == QLatin1String("readonly")) {
        if (::mount(nullptr, QFile::encodeName(workDir).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            out() << "error: remount: " << std::strerror(errno) << Qt::endl;
            return 2;
        }
    } else if (mode == QLatin1String("fsize")) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            out() << "error: setrlimit: " << std::strerror(errno) << Qt::endl;
            return 2;
        }
    }

    CoConfig::ComplexConfig store(dir, CoConfig::ObjectAll, 0);
    // Large enough to overflow the 1 MB disk and the 64 KB file limit.
    StoreTest::putInto(store, StoreTest::generateComplex(StoreTest::ComplexSizes::medium(8000), 2));
    const bool written = store.write(CoConfig::ObjectAll);
    out() << "written: " << (written ? "true" : "false") << Qt::endl;
    out() << "reason: " << store.errorString() << Qt::endl;
    out() << "intact: " << (StoreTest::snapshot(dir) == before ? "yes" : "no") << Qt::endl;
    out() << "leftovers: " << StoreTest::leftovers(dir).join(QLatin1Char(' ')) << Qt::endl;
    CoConfig::ComplexConfig reread(dir, CoConfig::ObjectAll, 0);
    out() << "readable: "
          << (reread.readStatus() == 0 && reread.data() == StoreTest::generateComplex(StoreTest::ComplexSizes(), 1) ? "yes" : "no")
          << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("write"))
        return writeComplex(args[2], args[3].toInt(), args[4].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("renew"))
        return renewOperator(args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("fail-write"))
        return failWrite(args[2], args[3]);
    std::fprintf(stderr, "usage: %s write <dir> <variant> <channels> | renew <dir> | fail-write readonly|full|fsize <workdir>\n", argv[0]);
    return 2;
}
