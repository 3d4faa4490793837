#include "directorytransaction.h"

#include "posixio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <atomic>
#include <utility>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CoConfig {

namespace {

QString stagingPrefix(const QString& dirPath)
{
    const QFileInfo info(dirPath);
    return QStringLiteral(".") + info.fileName() + QStringLiteral(".staging-");
}

QString join(const QString& base, const QString& relative)
{
    return relative.isEmpty() ? base : base + QLatin1Char('/') + relative;
}

std::atomic<int> stagingCounter{0};

} // namespace

DirectoryTransaction::DirectoryTransaction(const QString& dirPath)
    : m_dir(QDir::cleanPath(QFileInfo(dirPath).absoluteFilePath())),
      m_parent(QFileInfo(m_dir).absolutePath())
{
    m_staging = m_parent + QLatin1Char('/') + stagingPrefix(m_dir)
        + QStringLiteral("%1-%2").arg(::getpid()).arg(stagingCounter.fetch_add(1));
}

DirectoryTransaction::~DirectoryTransaction()
{
    for (const PosixIo::OpenFile& file : std::as_const(m_unsynced))
        ::close(file.fd);
    if (m_begun && !m_committed)
        PosixIo::removeTree(m_staging);
}

void DirectoryTransaction::removeLeftovers(const QString& dirPath)
{
    const QString dir = QDir::cleanPath(QFileInfo(dirPath).absoluteFilePath());
    const QDir parent(QFileInfo(dir).absolutePath());
    const QStringList leftovers =
        parent.entryList({stagingPrefix(dir) + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : leftovers)
        PosixIo::removeTree(parent.filePath(name));
}

bool DirectoryTransaction::makeDirectory(const QString& relativeDir, unsigned mode, QString* error)
{
    const QString path = join(m_staging, relativeDir);
    if (::mkdir(PosixIo::encodePath(path).constData(), mode) != 0) {
        *error = PosixIo::failure(QStringLiteral("создать каталог"), path, errno);
        return false;
    }
    m_madeDirs.insert(relativeDir);
    return true;
}

bool DirectoryTransaction::ensureParent(const QString& relativePath, QString* error)
{
    const int slash = relativePath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return true;
    const QString relativeDir = relativePath.left(slash);
    if (m_madeDirs.contains(relativeDir))
        return true;
    if (!ensureParent(relativeDir, error))
        return false;
    return makeDirectory(relativeDir, 0755, error);
}

bool DirectoryTransaction::linkOrCopy(const QString& from, const QString& to, QString* error)
{
    const QByteArray source = PosixIo::encodePath(from);
    const QByteArray target = PosixIo::encodePath(to);
    if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), 0) == 0)
        return true;
    const int cause = errno;
    if (cause != EPERM && cause != EMLINK && cause != EXDEV && cause != ENOTSUP) {
        *error = PosixIo::failure(QStringLiteral("связать файл"), to, cause);
        return false;
    }
    // Some file systems refuse hard links: copy what can be copied.
    struct stat st;
    if (::lstat(source.constData(), &st) != 0) {
        *error = PosixIo::failure(QStringLiteral("прочитать"), from, errno);
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        QByteArray link(st.st_size + 1, '\0');
        const ssize_t length = ::readlink(source.constData(), link.data(), size_t(link.size()));
        if (length < 0 || ::symlink(link.left(length).constData(), target.constData()) != 0) {
            *error = PosixIo::failure(QStringLiteral("скопировать ссылку"), from, errno);
            return false;
        }
        return true;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = PosixIo::failure(QStringLiteral("перенести"), from, cause);
        return false;
    }
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Не удалось прочитать \"%1\": %2").arg(from, file.errorString());
        return false;
    }
    const int fd = PosixIo::writeNewFile(to, file.readAll(), error);
    if (fd < 0)
        return false;
    m_unsynced.append({fd, to});
    return true;
}

bool DirectoryTransaction::copyTree(const QString& relativeDir, const QSet<QString>& replaced, QString* error)
{
    const QString oldPath = join(m_dir, relativeDir);
    DIR* dir = ::opendir(PosixIo::encodePath(oldPath).constData());
    if (!dir) {
        *error = PosixIo::failure(QStringLiteral("прочитать каталог"), oldPath, errno);
        return false;
    }
    bool ok = true;
    errno = 0;
    while (dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        const QString relative = relativeDir.isEmpty() ? name : relativeDir + QLatin1Char('/') + name;
        struct stat st;
        const QString from = join(m_dir, relative);
        if (::lstat(PosixIo::encodePath(from).constData(), &st) != 0) {
            *error = PosixIo::failure(QStringLiteral("прочитать"), from, errno);
            ok = false;
            break;
        }
        // A directory in the place of a file to write is carried over, and the write then fails.
        if (replaced.contains(relative) && !S_ISDIR(st.st_mode))
            continue;
        if (S_ISDIR(st.st_mode)) {
            ok = makeDirectory(relative, st.st_mode & 07777, error) && copyTree(relative, replaced, error);
        } else {
            ok = linkOrCopy(from, join(m_staging, relative), error);
        }
        if (!ok)
            break;
        errno = 0;
    }
    if (ok && errno != 0) {
        *error = PosixIo::failure(QStringLiteral("прочитать каталог"), oldPath, errno);
        ok = false;
    }
    ::closedir(dir);
    return ok;
}

bool DirectoryTransaction::begin(const QSet<QString>& replaced, QString* error)
{
    struct stat st;
    m_oldExists = ::stat(PosixIo::encodePath(m_dir).constData(), &st) == 0;
    if (m_oldExists && !S_ISDIR(st.st_mode)) {
        *error = QStringLiteral("\"%1\" не является каталогом").arg(m_dir);
        return false;
    }
    if (!makeDirectory(QString(), m_oldExists ? (st.st_mode & 07777) : 0755, error))
        return false;
    m_begun = true;
    return !m_oldExists || copyTree(QString(), replaced, error);
}

bool DirectoryTransaction::oldFileExists(const QString& relativePath) const
{
    struct stat st;
    return m_oldExists && ::lstat(PosixIo::encodePath(join(m_dir, relativePath)).constData(), &st) == 0
        && !S_ISDIR(st.st_mode);
}

bool DirectoryTransaction::keepOldFileAs(const QString& relativePath, const QString& newRelativePath, QString* error)
{
    return ensureParent(newRelativePath, error)
        && linkOrCopy(join(m_dir, relativePath), join(m_staging, newRelativePath), error);
}

bool DirectoryTransaction::writeFile(const QString& relativePath, const QByteArray& bytes, QString* error)
{
    if (!ensureParent(relativePath, error))
        return false;
    const QString oldPath = join(m_dir, relativePath);
    const QString newPath = join(m_staging, relativePath);
    // Unchanged content keeps its file (and its identity for other readers).
    if (oldFileExists(relativePath) && PosixIo::fileEquals(oldPath, bytes)) {
        QString ignored;
        if (linkOrCopy(oldPath, newPath, &ignored))
            return true;
    }
    const int fd = PosixIo::writeNewFile(newPath, bytes, error);
    if (fd < 0)
        return false;
    m_unsynced.append({fd, newPath});
    return true;
}

bool DirectoryTransaction::commit(QString* error)
{
    for (const QString& relativeDir : std::as_const(m_madeDirs)) {
        const QString path = join(m_staging, relativeDir);
        const int fd = PosixIo::openDirectory(path, error);
        if (fd < 0)
            return false;
        m_unsynced.append({fd, path});
    }
    const QList<PosixIo::OpenFile> files = std::exchange(m_unsynced, {});
    if (!PosixIo::syncFiles(files, error))
        return false;
    const QByteArray staging = PosixIo::encodePath(m_staging);
    const QByteArray dir = PosixIo::encodePath(m_dir);
    const unsigned flags = m_oldExists ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    if (::renameat2(AT_FDCWD, staging.constData(), AT_FDCWD, dir.constData(), flags) != 0) {
        *error = PosixIo::failure(QStringLiteral("заменить каталог"), m_dir, errno);
        return false;
    }
    m_committed = true;
    QString syncError;
    if (!PosixIo::syncDirectory(m_parent, &syncError))
        qWarning("%s", qPrintable(syncError));
    if (m_oldExists)
        PosixIo::removeTree(m_staging); // now the old directory
    return true;
}

} // namespace CoConfig
