#include "directorycommit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CoConfig {

namespace {

const char RecordName[] = ".orvane.commit";
const char RecordHeader[] = "orvane-commit 1";
const char WorkMark[] = ".orvane-new-";

QString join(const QString& base, const QString& relative)
{
    return relative.isEmpty() ? base : base + QLatin1Char('/') + relative;
}

QString parentOf(const QString& relativePath)
{
    const int slash = relativePath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : relativePath.left(slash);
}

QByteArray digestOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

bool lstatPath(const QString& path, struct stat* st)
{
    return ::lstat(PosixIo::encodePath(path).constData(), st) == 0;
}

// Whether the file holds exactly the bytes of this size and digest.
bool holds(const QString& path, qint64 size, const QByteArray& digest)
{
    struct stat st;
    if (!lstatPath(path, &st) || !S_ISREG(st.st_mode) || st.st_size != size)
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && digestOf(file.readAll()) == digest;
}

bool renameWithin(const QString& dir, const QString& from, const QString& to, QString* error)
{
    if (::rename(PosixIo::encodePath(join(dir, from)).constData(), PosixIo::encodePath(join(dir, to)).constData()) == 0)
        return true;
    *error = PosixIo::failure(QStringLiteral("переименовать файл"), join(dir, from), errno);
    return false;
}

// fsyncs the directories (relative) all at once.
bool syncDirectories(const QString& dir, const QSet<QString>& relativeDirs, QString* error)
{
    QList<PosixIo::OpenFile> opened;
    for (const QString& relative : relativeDirs) {
        const int fd = PosixIo::openDirectory(join(dir, relative), error);
        if (fd < 0) {
            for (const PosixIo::OpenFile& file : std::as_const(opened))
                ::close(file.fd);
            return false;
        }
        opened.append({fd, join(dir, relative)});
    }
    return PosixIo::syncFiles(opened, error);
}

struct Record
{
    QString id;
    QList<QStringList> lines; // "aside path name" and "file path size digest"
};

// A record that is incomplete (cut short by a crash) is no record.
bool parseRecord(const QByteArray& bytes, Record* record)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 3 || !lines.first().startsWith(RecordHeader) || lines.at(lines.size() - 2) != "end"
        || !lines.last().isEmpty())
        return false;
    record->id = QString::fromLatin1(lines.first().mid(int(sizeof(RecordHeader))));
    for (int i = 1; i < lines.size() - 2; ++i) {
        const QStringList fields = QString::fromUtf8(lines.at(i)).split(QLatin1Char('\t'));
        if (!(fields.size() == 3 && fields.first() == QLatin1String("aside"))
            && !(fields.size() == 4 && fields.first() == QLatin1String("file")))
            return false;
        record->lines.append(fields);
    }
    return !record->id.isEmpty();
}

// Finishes the recorded commit when every file it lists is in its work file or already in place;
// otherwise the commit was never complete on disk, and its work files are dropped by the caller.
bool finishRecorded(const QString& dir, const Record& record, QString* error)
{
    QSet<QString> pending;
    for (const QStringList& line : record.lines) {
        if (line.first() != QLatin1String("file"))
            continue;
        const QString path = line.at(1);
        const qint64 size = line.at(2).toLongLong();
        const QByteArray digest = line.at(3).toLatin1();
        if (holds(join(dir, PosixIo::workFileName(path, record.id)), size, digest))
            pending.insert(path);
        else if (!holds(join(dir, path), size, digest))
            return true; // never completed: nothing was renamed yet
    }
    QSet<QString> touched;
    for (const QStringList& line : record.lines) {
        const QString path = line.at(1);
        if (!pending.contains(path))
            continue;
        if (line.first() == QLatin1String("aside")) {
            struct stat st;
            const QString aside = join(parentOf(path), line.at(2));
            if (lstatPath(join(dir, path), &st) && !lstatPath(join(dir, aside), &st)
                && !renameWithin(dir, path, aside, error))
                return false;
        } else if (!renameWithin(dir, PosixIo::workFileName(path, record.id), path, error)) {
            return false;
        }
        touched.insert(parentOf(path));
    }
    return syncDirectories(dir, touched, error);
}

void removeWorkFiles(const QString& dir, const QStringList& subDirs)
{
    QStringList dirs = subDirs;
    dirs.prepend(QString());
    for (const QString& relative : std::as_const(dirs)) {
        const QDir subDir(join(dir, relative));
        const QStringList names = subDir.entryList({QLatin1String(".*") + QLatin1String(WorkMark) + QLatin1Char('*')},
                                                   QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : names) {
            if (DirectoryCommit::isWorkFileName(name))
                ::unlink(PosixIo::encodePath(subDir.filePath(name)).constData());
        }
    }
}

} // namespace

DirectoryCommit::DirectoryCommit(const QString& dirPath)
    : m_dir(QDir::cleanPath(QFileInfo(dirPath).absoluteFilePath())),
      m_id(PosixIo::newWorkId())
{
}

DirectoryCommit::~DirectoryCommit()
{
    for (const PosixIo::OpenFile& file : std::as_const(m_unsynced))
        ::close(file.fd);
    if (m_recorded || m_done)
        return;
    for (const Entry& entry : std::as_const(m_entries))
        ::unlink(PosixIo::encodePath(absolute(entry.work)).constData());
}

QString DirectoryCommit::recordPath(const QString& dirPath)
{
    return dirPath + QLatin1Char('/') + QLatin1String(RecordName);
}

bool DirectoryCommit::hasRecord(const QString& dirPath)
{
    struct stat st;
    return lstatPath(recordPath(dirPath), &st);
}

bool DirectoryCommit::isWorkFileName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.orvane-new-[0-9a-f]{16}$"));
    return pattern.match(name).hasMatch();
}

bool DirectoryCommit::recover(const QString& dirPath, const QStringList& subDirs, QString* error)
{
    const QString dir = QDir::cleanPath(QFileInfo(dirPath).absoluteFilePath());
    if (hasRecord(dir)) {
        QFile file(recordPath(dir));
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("Не удалось прочитать \"%1\": %2").arg(file.fileName(), file.errorString());
            return false;
        }
        Record record;
        if (parseRecord(file.readAll(), &record) && !finishRecorded(dir, record, error))
            return false;
        if (::unlink(PosixIo::encodePath(recordPath(dir)).constData()) != 0 && errno != ENOENT) {
            *error = PosixIo::failure(QStringLiteral("удалить файл"), recordPath(dir), errno);
            return false;
        }
    }
    removeWorkFiles(dir, subDirs);
    return true;
}

QString DirectoryCommit::absolute(const QString& relativePath) const
{
    return join(m_dir, relativePath);
}

bool DirectoryCommit::begin(const QStringList& relativePaths, QString* error)
{
    struct stat st;
    if (::stat(PosixIo::encodePath(m_dir).constData(), &st) != 0) {
        if (errno != ENOENT || !QDir().mkpath(m_dir) || ::stat(PosixIo::encodePath(m_dir).constData(), &st) != 0) {
            *error = PosixIo::failure(QStringLiteral("создать каталог"), m_dir, errno ? errno : EIO);
            return false;
        }
    }
    if (!S_ISDIR(st.st_mode)) {
        *error = QStringLiteral("\"%1\" не является каталогом").arg(m_dir);
        return false;
    }
    m_dirOwner = st.st_uid;
    m_dirGroup = st.st_gid;
    m_dirMode = st.st_mode & 07777;
    // A new file follows its siblings; in a directory without any, the directory's read and write bits.
    m_newFileMode = m_dirMode & 0666;
    for (const QString& path : relativePaths) {
        if (lstatPath(absolute(path), &st) && S_ISREG(st.st_mode)) {
            m_newFileMode = st.st_mode & 0666;
            break;
        }
    }
    return true;
}

bool DirectoryCommit::fileExists(const QString& relativePath) const
{
    struct stat st;
    return lstatPath(absolute(relativePath), &st) && !S_ISDIR(st.st_mode);
}

void DirectoryCommit::keepOldFileAs(const QString& relativePath, const QString& asideName)
{
    m_asides.append(relativePath);
    m_asideNames.append(asideName);
}

bool DirectoryCommit::ensureDirectory(const QString& relativeDir, QString* error)
{
    if (relativeDir.isEmpty() || m_madeDirs.contains(relativeDir))
        return true;
    struct stat st;
    const QString path = absolute(relativeDir);
    if (lstatPath(path, &st) && S_ISDIR(st.st_mode))
        return true;
    if (!ensureDirectory(parentOf(relativeDir), error))
        return false;
    const QByteArray name = PosixIo::encodePath(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        *error = PosixIo::failure(QStringLiteral("создать каталог"), path, errno);
        return false;
    }
    // The directory's group and mode, setgid included, rather than the writer's umask.
    if (::chown(name.constData(), uid_t(-1), m_dirGroup) != 0) {
        // Not a member of the directory's group: the writer's own group serves.
    }
    if (::chmod(name.constData(), m_dirMode) != 0) {
        *error = PosixIo::failure(QStringLiteral("изменить права каталога"), path, errno);
        return false;
    }
    m_madeDirs.append(relativeDir);
    return true;
}

bool DirectoryCommit::writeFile(const QString& relativePath, const QByteArray& bytes, QString* error)
{
    const int asideIndex = int(m_asides.indexOf(relativePath));
    struct stat old;
    const bool oldExists = lstatPath(absolute(relativePath), &old);
    if (oldExists && S_ISDIR(old.st_mode)) {
        *error = QStringLiteral("Не удалось записать файл \"%1\": на его месте каталог").arg(absolute(relativePath));
        return false;
    }
    if (asideIndex < 0 && oldExists && S_ISREG(old.st_mode) && old.st_size == bytes.size()
        && PosixIo::fileEquals(absolute(relativePath), bytes))
        return true; // unchanged: the file keeps its identity for other readers
    if (!ensureDirectory(parentOf(relativePath), error))
        return false;

    Entry entry;
    entry.path = relativePath;
    entry.work = PosixIo::workFileName(relativePath, m_id);
    entry.size = bytes.size();
    entry.digest = digestOf(bytes);
    if (asideIndex >= 0 && oldExists)
        entry.aside = m_asideNames.at(asideIndex);
    PosixIo::FileOwnership ownership;
    if (oldExists && S_ISREG(old.st_mode)) {
        ownership = {old.st_uid, old.st_gid, mode_t(old.st_mode & 07777)};
    } else {
        ownership = {uid_t(-1), m_dirGroup, m_newFileMode};
    }
    const int fd = PosixIo::writeNewFile(absolute(entry.work), bytes, ownership, error);
    if (fd < 0)
        return false;
    m_entries.append(entry);
    m_unsynced.append({fd, absolute(entry.work)});
    return true;
}

bool DirectoryCommit::commit(QString* error)
{
    if (m_entries.isEmpty()) {
        m_done = true;
        return true;
    }
    QSet<QString> dirs;
    for (const Entry& entry : std::as_const(m_entries))
        dirs.insert(parentOf(entry.path));
    for (const QString& made : std::as_const(m_madeDirs))
        dirs.insert(parentOf(made));

    // One file alone is replaced by its rename; several need the record.
    const bool needsRecord = m_entries.size() > 1 || !m_entries.first().aside.isEmpty();
    QList<PosixIo::OpenFile> toSync = std::exchange(m_unsynced, {});
    if (needsRecord) {
        QByteArray text = QByteArray(RecordHeader) + ' ' + m_id.toLatin1() + '\n';
        for (const Entry& entry : std::as_const(m_entries)) {
            if (!entry.aside.isEmpty())
                text += "aside\t" + entry.path.toUtf8() + '\t' + entry.aside.toUtf8() + '\n';
        }
        for (const Entry& entry : std::as_const(m_entries))
            text += "file\t" + entry.path.toUtf8() + '\t' + QByteArray::number(entry.size) + '\t' + entry.digest + '\n';
        text += "end\n";
        const int fd = PosixIo::writeNewFile(recordPath(m_dir), text, {uid_t(-1), m_dirGroup, m_newFileMode}, error);
        if (fd < 0) {
            for (const PosixIo::OpenFile& file : std::as_const(toSync))
                ::close(file.fd);
            return false;
        }
        toSync.append({fd, recordPath(m_dir)});
    }
    // The work files, the record and the directory entries of both become durable together:
    // a record whose files did not all reach the disk is dropped by recover().
    for (const QString& relative : std::as_const(dirs)) {
        const int fd = PosixIo::openDirectory(absolute(relative), error);
        if (fd < 0) {
            for (const PosixIo::OpenFile& file : std::as_const(toSync))
                ::close(file.fd);
            ::unlink(PosixIo::encodePath(recordPath(m_dir)).constData());
            return false;
        }
        toSync.append({fd, absolute(relative)});
    }
    if (!PosixIo::syncFiles(toSync, error)) {
        if (needsRecord)
            ::unlink(PosixIo::encodePath(recordPath(m_dir)).constData());
        return false;
    }
    m_recorded = needsRecord;

    // From here a failure leaves the record: the next writer or reader finishes the commit.
    for (const Entry& entry : std::as_const(m_entries)) {
        if (!entry.aside.isEmpty()
            && !renameWithin(m_dir, entry.path, join(parentOf(entry.path), entry.aside), error))
            return false;
    }
    for (const Entry& entry : std::as_const(m_entries)) {
        if (!renameWithin(m_dir, entry.work, entry.path, error))
            return false;
    }
    m_done = true;
    if (!syncDirectories(m_dir, dirs, error))
        return false;
    if (needsRecord && ::unlink(PosixIo::encodePath(recordPath(m_dir)).constData()) != 0) {
        *error = PosixIo::failure(QStringLiteral("удалить файл"), recordPath(m_dir), errno);
        return false;
    }
    return true;
}

} // namespace CoConfig
