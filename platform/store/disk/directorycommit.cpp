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
const char StaleLockMark[] = ".orvane.write-lock.stale-";
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

enum class Content { Holds, Other, Unreadable };

// Whether the file holds exactly the bytes of this size and digest; Unreadable (with the
// reason) when this process cannot tell.
Content contentOf(const QString& path, qint64 size, const QByteArray& digest, QString* error)
{
    struct stat st;
    if (!lstatPath(path, &st)) {
        if (errno == ENOENT)
            return Content::Other;
        *error = PosixIo::failure(QStringLiteral("найти файл"), path, errno);
        return Content::Unreadable;
    }
    if (!S_ISREG(st.st_mode) || st.st_size != size)
        return Content::Other;
    const int fd = ::open(PosixIo::encodePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = PosixIo::failure(QStringLiteral("прочитать файл"), path, errno);
        return Content::Unreadable;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray bytes = file.readAll();
    if (bytes.size() != size && file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(path, file.errorString());
        return Content::Unreadable;
    }
    return digestOf(bytes) == digest ? Content::Holds : Content::Other;
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
// A file this process cannot read decides neither way: the commit is left to another.
bool finishRecorded(const QString& dir, const Record& record, QString* error)
{
    QSet<QString> pending;
    for (const QStringList& line : record.lines) {
        if (line.first() != QLatin1String("file"))
            continue;
        const QString path = line.at(1);
        const qint64 size = line.at(2).toLongLong();
        const QByteArray digest = line.at(3).toLatin1();
        const Content work = contentOf(join(dir, PosixIo::workFileName(path, record.id)), size, digest, error);
        if (work == Content::Unreadable)
            return false;
        if (work == Content::Holds) {
            pending.insert(path);
            continue;
        }
        const Content inPlace = contentOf(join(dir, path), size, digest, error);
        if (inPlace == Content::Unreadable)
            return false;
        if (inPlace == Content::Other)
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

// The records in the directory, oldest first.
QStringList recordNames(const QString& dir)
{
    const QFileInfoList found = QDir(dir).entryInfoList({QLatin1String(RecordName) + QLatin1Char('*')},
                                                        QDir::Files | QDir::Hidden | QDir::System, QDir::Time | QDir::Reversed);
    QStringList names;
    for (const QFileInfo& info : found) {
        if (DirectoryCommit::isRecordName(info.fileName()))
            names.append(info.fileName());
    }
    return names;
}

// The work files of the directory and its sub-directories named, and broken locks left behind.
QStringList leftoverPaths(const QString& dir, const QStringList& subDirs)
{
    QStringList paths;
    const QDir top(dir);
    for (const QString& name : top.entryList({QLatin1String(StaleLockMark) + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System))
        paths.append(top.filePath(name));
    QStringList dirs = subDirs;
    dirs.prepend(QString());
    for (const QString& relative : std::as_const(dirs)) {
        const QDir subDir(join(dir, relative));
        const QStringList names = subDir.entryList({QLatin1String(".*") + QLatin1String(WorkMark) + QLatin1Char('*')},
                                                   QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : names) {
            if (DirectoryCommit::isWorkFileName(name))
                paths.append(subDir.filePath(name));
        }
    }
    return paths;
}

void removeWorkFiles(const QString& dir, const QStringList& subDirs)
{
    for (const QString& path : leftoverPaths(dir, subDirs))
        ::unlink(PosixIo::encodePath(path).constData());
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

QString DirectoryCommit::recordPath() const
{
    return m_dir + QLatin1Char('/') + QLatin1String(RecordName) + QLatin1Char('-') + m_id;
}

bool DirectoryCommit::isRecordName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.orvane\\.commit(-[0-9a-f]{16})?$"));
    return pattern.match(name).hasMatch();
}

bool DirectoryCommit::hasRecord(const QString& dirPath)
{
    return !recordNames(dirPath).isEmpty();
}

bool DirectoryCommit::hasLeftovers(const QString& dirPath, const QStringList& subDirs)
{
    return hasRecord(dirPath) || !leftoverPaths(dirPath, subDirs).isEmpty();
}

bool DirectoryCommit::isWorkFileName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.orvane-new-[0-9a-f]{16}$"));
    return pattern.match(name).hasMatch();
}

bool DirectoryCommit::recover(const QString& dirPath, const QStringList& subDirs, QString* error)
{
    const QString dir = QDir::cleanPath(QFileInfo(dirPath).absoluteFilePath());
    for (const QString& name : recordNames(dir)) {
        const QString path = join(dir, name);
        QString cause;
        QFile file(path);
        Record record;
        if (!file.open(QIODevice::ReadOnly)) {
            cause = QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(path, file.errorString());
        } else {
            // A record cut short by a crash is no record; a finished commit's record goes.
            const bool done = !parseRecord(file.readAll(), &record) || finishRecorded(dir, record, &cause);
            if (done && ::unlink(PosixIo::encodePath(path).constData()) != 0 && errno != ENOENT)
                cause = PosixIo::failure(QStringLiteral("удалить файл"), path, errno);
        }
        if (!cause.isEmpty()) {
            *error = QStringLiteral("Сохранение в \"%1\" не завершено, а эта программа завершить его не может; "
                                    "каталог не читается и не записывается, пока его не завершит программа, "
                                    "которой доступны его файлы. %2")
                         .arg(dir, cause);
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
        const int fd = PosixIo::writeNewFile(recordPath(), text, {uid_t(-1), m_dirGroup, m_newFileMode}, error);
        if (fd < 0) {
            for (const PosixIo::OpenFile& file : std::as_const(toSync))
                ::close(file.fd);
            return false;
        }
        toSync.append({fd, recordPath()});
    }
    // The work files, the record and the directory entries of both become durable together:
    // a record whose files did not all reach the disk is dropped by recover().
    for (const QString& relative : std::as_const(dirs)) {
        const int fd = PosixIo::openDirectory(absolute(relative), error);
        if (fd < 0) {
            for (const PosixIo::OpenFile& file : std::as_const(toSync))
                ::close(file.fd);
            ::unlink(PosixIo::encodePath(recordPath()).constData());
            return false;
        }
        toSync.append({fd, absolute(relative)});
    }
    if (!PosixIo::syncFiles(toSync, error) || (m_guard && !m_guard(error))) {
        if (needsRecord)
            ::unlink(PosixIo::encodePath(recordPath()).constData());
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
    if (needsRecord && ::unlink(PosixIo::encodePath(recordPath()).constData()) != 0) {
        *error = PosixIo::failure(QStringLiteral("удалить файл"), recordPath(), errno);
        return false;
    }
    return true;
}

} // namespace CoConfig
