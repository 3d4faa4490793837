#include "posixio.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace PosixIo {

QByteArray encodePath(const QString& path)
{
    return QFile::encodeName(path);
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString failure(const QString& action, const QString& path, int error)
{
    return QStringLiteral("Не удалось %1 \"%2\": %3").arg(action, path, errnoText(error));
}

namespace {

void applyOwnership(int fd, const FileOwnership& ownership)
{
    // Best effort: only root gives files away, only a member sets a group, and some network
    // shares keep no owners at all; the chown comes first because it clears setgid.
    if (ownership.owner != uid_t(-1) || ownership.group != gid_t(-1)) {
        if (::fchown(fd, ownership.owner, ownership.group) != 0 && ownership.owner != uid_t(-1)
            && ownership.group != gid_t(-1) && ::fchown(fd, uid_t(-1), ownership.group) != 0) {
            // the writer's own group stays
        }
    }
    if (::fchmod(fd, ownership.mode) != 0) {
        // a share that keeps no modes
    }
}

} // namespace

int writeNewFile(const QString& path, const QByteArray& bytes, const FileOwnership& ownership, QString* error)
{
    const QByteArray name = encodePath(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = failure(QStringLiteral("создать файл"), path, errno);
        return -1;
    }
    applyOwnership(fd, ownership);
    int cause = 0;
    if (!writeAll(fd, bytes.constData(), bytes.size(), &cause)) {
        *error = failure(QStringLiteral("записать файл"), path, cause);
        ::close(fd);
        ::unlink(name.constData());
        return -1;
    }
    return fd;
}

bool writeAll(int fd, const char* data, qint64 size, int* cause)
{
    while (size > 0) {
        // A file-size limit or a full disk may cut a write short; the next call then reports why.
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            *cause = written < 0 ? errno : ENOSPC;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

int openDirectory(const QString& path, QString* error)
{
    const int fd = ::open(encodePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        *error = failure(QStringLiteral("открыть каталог"), path, errno);
    return fd;
}

bool syncFiles(const QList<OpenFile>& files, QString* error)
{
    std::vector<int> causes(size_t(files.size()), 0);
    std::atomic<qsizetype> next{0};
    auto work = [&] {
        for (qsizetype i = next++; i < files.size(); i = next++) {
            if (::fsync(files[i].fd) != 0)
                causes[size_t(i)] = errno;
        }
    };
    const int helpers = int(qMin<qsizetype>(7, files.size() - 1));
    std::vector<std::thread> threads;
    for (int i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();

    bool ok = true;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (ok && causes[size_t(i)] != 0) {
            *error = failure(QStringLiteral("сбросить на диск"), files[i].path, causes[size_t(i)]);
            ok = false;
        }
        if (::close(files[i].fd) != 0 && ok) {
            *error = failure(QStringLiteral("закрыть файл"), files[i].path, errno);
            ok = false;
        }
    }
    return ok;
}

bool fileEquals(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.size() == bytes.size() && file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

bool syncDirectory(const QString& path, QString* error)
{
    const int fd = ::open(encodePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        *error = failure(QStringLiteral("открыть каталог"), path, errno);
        return false;
    }
    if (::fsync(fd) != 0) {
        const int cause = errno;
        ::close(fd);
        *error = failure(QStringLiteral("сбросить на диск каталог"), path, cause);
        return false;
    }
    ::close(fd);
    return true;
}

QString workFileName(const QString& path, const QString& id)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return path.left(slash + 1) + QLatin1Char('.') + path.mid(slash + 1) + QStringLiteral(".orvane-new-") + id;
}

QString newWorkId()
{
    return QString::number(QRandomGenerator::system()->generate64() | (quint64(1) << 63), 16);
}

bool replaceFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray name = encodePath(target);
    struct stat old;
    const bool oldExists = ::stat(name.constData(), &old) == 0;
    if (!oldExists && errno != ENOENT) {
        *error = failure(QStringLiteral("прочитать свойства файла"), target, errno);
        return false;
    }
    FileOwnership ownership;
    if (oldExists)
        ownership = {old.st_uid, old.st_gid, mode_t(old.st_mode & 07777)};
    const QString work = workFileName(target, newWorkId());
    const int fd = writeNewFile(work, bytes, ownership, error);
    if (fd < 0)
        return false;
    if (!syncFiles({{fd, work}}, error)) {
        ::unlink(encodePath(work).constData());
        return false;
    }
    if (::rename(encodePath(work).constData(), name.constData()) != 0) {
        *error = failure(QStringLiteral("переименовать файл"), work, errno);
        ::unlink(encodePath(work).constData());
        return false;
    }
    return syncDirectory(QFileInfo(target).absolutePath(), error);
}

} // namespace PosixIo
