#include "posixio.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CoConfig::PosixIo {

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

bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const QByteArray name = encodePath(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = failure(QStringLiteral("создать файл"), path, errno);
        return false;
    }
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        // A file-size limit or a full disk may cut a write short; the next call then reports why.
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *error = failure(QStringLiteral("записать файл"), path, errno);
            ::close(fd);
            return false;
        }
        if (written == 0) {
            *error = failure(QStringLiteral("записать файл"), path, ENOSPC);
            ::close(fd);
            return false;
        }
        data += written;
        left -= written;
    }
    if (::fsync(fd) != 0) {
        *error = failure(QStringLiteral("сбросить на диск файл"), path, errno);
        ::close(fd);
        return false;
    }
    if (::close(fd) != 0) {
        *error = failure(QStringLiteral("закрыть файл"), path, errno);
        return false;
    }
    return true;
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

namespace {

void removeTreeAt(int parentFd, const char* name)
{
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        ::unlinkat(parentFd, name, 0);
        return;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st;
            isDir = ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (isDir)
            removeTreeAt(fd, entry->d_name);
        else
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(dir);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

} // namespace

void removeTree(const QString& path)
{
    removeTreeAt(AT_FDCWD, encodePath(path).constData());
}

} // namespace CoConfig::PosixIo
