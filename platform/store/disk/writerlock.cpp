#include "writerlock.h"

#include "posixio.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CoConfig {

namespace {

const char Header[] = "orvane-write-lock 1";
// A lock whose file time is this far behind this machine's clock was left long ago, whatever
// the clocks of the workstations.
constexpr qint64 AbandonedMs = 60 * 1000;

// The start time of a process (clock ticks after boot), which tells it from a later process
// that got the same pid; 0 when unknown.
quint64 processStart(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const int end = text.lastIndexOf(')');
    if (end < 0)
        return 0;
    // After the name: state is field 3, starttime field 22.
    const QList<QByteArray> fields = text.mid(end + 2).split(' ');
    return fields.size() > 19 ? fields.at(19).toULongLong() : 0;
}

bool processAlive(qint64 pid, quint64 start)
{
    if (pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno != EPERM))
        return false;
    const quint64 now = processStart(pid);
    return start == 0 || now == 0 || now == start;
}

QHash<QByteArray, QByteArray> fieldsOf(const QByteArray& text)
{
    QHash<QByteArray, QByteArray> fields;
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.first() != Header)
        return fields;
    for (const QByteArray& line : lines) {
        const int space = line.indexOf(' ');
        if (space > 0)
            fields.insert(line.left(space), line.mid(space + 1));
    }
    return fields;
}

const QByteArray& hostName()
{
    static const QByteArray name = QSysInfo::machineHostName().toUtf8();
    return name;
}

} // namespace

WriterLock::~WriterLock()
{
    release();
}

QString WriterLock::pathFor(const QString& dirPath)
{
    return dirPath + QStringLiteral("/.orvane.write-lock");
}

int WriterLock::leaseMs()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("ORVANE_LOCK_LEASE_MS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : 4000;
}

QByteArray WriterLock::content() const
{
    return QByteArray(Header) + "\nhost " + hostName() + "\npid " + QByteArray::number(qint64(::getpid()))
        + "\nstart " + QByteArray::number(processStart(::getpid())) + "\ntoken " + m_token + "\nbeat "
        + QByteArray::number(m_beat) + '\n';
}

WriterLock::Holder WriterLock::holderOf(const QString& path)
{
    const int fd = ::open(PosixIo::encodePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? None : Alive; // a lock this user may not read is not known to be stale
    QByteArray text(4096, '\0');
    const ssize_t size = ::read(fd, text.data(), size_t(text.size()));
    struct stat st;
    const bool stated = ::fstat(fd, &st) == 0;
    ::close(fd);
    text.truncate(int(qMax<ssize_t>(0, size)));
    const qint64 modified = stated ? qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000 : 0;

    const auto fields = fieldsOf(text);
    if (fields.value("host") == hostName() && fields.contains("pid"))
        return processAlive(fields.value("pid").toLongLong(), fields.value("start").toULongLong()) ? Alive : Stale;
    // Another machine's lock, or one cut short as it was made.
    if (stated && QDateTime::currentMSecsSinceEpoch() - modified > AbandonedMs)
        return Stale;
    if (!m_seenFor.isValid() || text != m_seen || modified != m_seenModified) {
        m_seen = text;
        m_seenModified = modified;
        m_seenFor.start();
        return Alive;
    }
    return m_seenFor.elapsed() >= leaseMs() ? Stale : Alive;
}

bool WriterLock::heldByLiveWriter(const QString& path)
{
    return holderOf(path) == Alive;
}

WriterLock::Outcome WriterLock::tryTake(const QString& path, QString* error)
{
    release();
    m_path = path;
    m_token = PosixIo::newWorkId().toLatin1();
    m_beat = 0;
    const QByteArray name = PosixIo::encodePath(path);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            const QByteArray text = content();
            // Readable by every writer of the directory, whatever the umask.
            if (::fchmod(fd, 0644) != 0) {
                // a share that keeps no modes
            }
            if (::write(fd, text.constData(), size_t(text.size())) != ssize_t(text.size()) || ::fsync(fd) != 0) {
                const int cause = errno ? errno : EIO;
                ::close(fd);
                ::unlink(name.constData());
                if (error)
                    *error = PosixIo::failure(QStringLiteral("записать файл блокировки"), path, cause);
                return Failed;
            }
            m_fd = fd;
            m_stop = false;
            m_refresher = std::thread([this] { refresh(); });
            return Locked;
        }
        if (errno != EEXIST) {
            if (error)
                *error = PosixIo::failure(QStringLiteral("создать файл блокировки"), path, errno);
            return Failed;
        }
        switch (holderOf(path)) {
        case Alive:
            return Busy;
        case None:
            continue; // released meanwhile
        case Stale: {
            // Renamed away first: of two writers breaking it at once, one finds nothing to rename.
            const QByteArray aside = PosixIo::encodePath(path + QStringLiteral(".stale-") + QString::fromLatin1(m_token));
            if (::rename(name.constData(), aside.constData()) == 0)
                ::unlink(aside.constData());
            m_seenFor.invalidate();
            continue;
        }
        }
    }
    return Busy;
}

bool WriterLock::isOurs() const
{
    if (m_fd < 0)
        return false;
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) && fieldsOf(file.read(4096)).value("token") == m_token;
}

void WriterLock::refresh()
{
    const auto period = std::chrono::milliseconds(qMax(1, leaseMs() / 4));
    std::unique_lock<std::mutex> guard(m_mutex);
    while (!m_wake.wait_for(guard, period, [this] { return m_stop; })) {
        ++m_beat;
        const QByteArray text = content();
        if (::pwrite(m_fd, text.constData(), size_t(text.size()), 0) == ssize_t(text.size())) {
            if (::ftruncate(m_fd, text.size()) != 0 || ::fdatasync(m_fd) != 0) {
                // the next beat tries again; a holder that cannot refresh loses the lock after the lease
            }
        }
    }
}

void WriterLock::release()
{
    if (m_refresher.joinable()) {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_refresher.join();
    }
    if (m_fd < 0)
        return;
    if (isOurs())
        ::unlink(PosixIo::encodePath(m_path).constData());
    ::close(m_fd);
    m_fd = -1;
}

} // namespace CoConfig
