#include "dirlock.h"

#include "posixio.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CoConfig {

DirLock::~DirLock()
{
    release();
}

QString DirLock::lockPathFor(const QString& dirPath)
{
    return dirPath + QStringLiteral("/.orvane.lock");
}

int DirLock::open(const QString& lockPath, Mode mode, QString* error)
{
    const QByteArray name = PosixIo::encodePath(lockPath);
    // Opened for writing where possible: a network share's emulation of flock wants it for an
    // exclusive lock. Elsewhere a lock file that is not ours, or on read-only media, serves too.
    int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            // Every user of a shared directory must open it: the directory's group and bits.
            struct stat dir;
            if (::stat(PosixIo::encodePath(QFileInfo(lockPath).absolutePath()).constData(), &dir) == 0) {
                if (::fchown(fd, uid_t(-1), dir.st_gid) != 0) {
                    // not a member of the directory's group
                }
                if (::fchmod(fd, dir.st_mode & 0666) != 0) {
                    // a share that keeps no modes
                }
            }
        } else if (errno == EEXIST) {
            fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
        }
    }
    // The reason a writable descriptor was refused decides; a read-only one is only a fallback
    // (which finds no file where none could be made).
    const int cause = errno;
    if (fd < 0 && (cause == EROFS || cause == EACCES))
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && error)
        *error = PosixIo::failure(mode == Exclusive ? QStringLiteral("создать файл блокировки")
                                                    : QStringLiteral("открыть файл блокировки"),
                                  lockPath, errno == ENOENT ? cause : errno);
    return fd;
}

DirLock::Outcome DirLock::acquire(const QString& lockPath, Mode mode, int timeoutMs, QString* error)
{
    release();
    const int fd = open(lockPath, mode, error);
    if (fd < 0)
        return Failed;
    const int operation = (mode == Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    int pause = 1;
    bool flocked = false;
    for (;;) {
        if (!flocked && ::flock(fd, operation) == 0) {
            flocked = true;
            if (mode == Shared) {
                m_fd = fd;
                m_mode = Shared;
                return Locked;
            }
        }
        if (flocked) {
            const QString writerPath = WriterLock::pathFor(QFileInfo(lockPath).absolutePath());
            switch (m_writer.tryTake(writerPath, error)) {
            case WriterLock::Locked:
                m_fd = fd;
                m_mode = Exclusive;
                return Locked;
            case WriterLock::Failed:
                ::close(fd);
                return Failed;
            case WriterLock::Busy:
                break;
            }
            if (deadline.hasExpired()) {
                ::close(fd);
                if (error)
                    *error = QStringLiteral("Каталог конфигурации занят другой программой (файл блокировки \"%1\"), "
                                            "ожидание %2 мс истекло")
                                 .arg(writerPath)
                                 .arg(timeoutMs);
                return TimedOut;
            }
            QThread::msleep(qMin<qint64>(pause, qMax<qint64>(1, deadline.remainingTime())));
            pause = qMin(pause * 2, 20);
            continue;
        }
        const int cause = errno;
        if (cause != EWOULDBLOCK && cause != EINTR) {
            ::close(fd);
            if (error)
                *error = PosixIo::failure(QStringLiteral("заблокировать"), lockPath, cause);
            return Failed;
        }
        if (deadline.hasExpired()) {
            ::close(fd);
            if (error)
                *error = QStringLiteral("Каталог конфигурации занят другой программой (файл блокировки \"%1\"), "
                                        "ожидание %2 мс истекло")
                             .arg(lockPath)
                             .arg(timeoutMs);
            return TimedOut;
        }
        QThread::msleep(qMin<qint64>(pause, qMax<qint64>(1, deadline.remainingTime())));
        pause = qMin(pause * 2, 20);
    }
}

bool DirLock::tryAcquire(const QString& lockPath, Mode mode)
{
    release();
    const int fd = open(lockPath, mode, nullptr);
    if (fd < 0)
        return false;
    if (::flock(fd, (mode == Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0
        || (mode == Exclusive
            && m_writer.tryTake(WriterLock::pathFor(QFileInfo(lockPath).absolutePath()), nullptr) != WriterLock::Locked)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_mode = mode;
    return true;
}

void DirLock::release()
{
    m_writer.release();
    if (m_fd >= 0) {
        ::close(m_fd); // closing the only descriptor releases the flock
        m_fd = -1;
    }
}

} // namespace CoConfig
