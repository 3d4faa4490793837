#include "historyrecorder.h"

#include "changewords.h"
#include "historychanges.h"
#include "historypush.h"

#include <git2/sys/repository.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace History {

namespace {

Q_LOGGING_CATEGORY(historyLog, "orvane.history")

// An index lock younger than this may be an engineer's git at work; an older one, or any lock of
// the history's own refs (written only under the store's write lock), is a killed writer's.
constexpr qint64 IndexLockAgeMs = 10000;

// Blobs written at the least compression: a save waits for them, and git gc packs them later.
constexpr int ObjectCompression = 1;

QString gitPath(git_repository* repository, const char* name)
{
    return QFile::decodeName(git_repository_path(repository)) + QLatin1String(name);
}

void useQuickObjects(git_repository* repository)
{
    const QByteArray objects = QFile::encodeName(gitPath(repository, "objects"));
    git_odb* odb = nullptr;
    git_odb_backend* loose = nullptr;
    git_odb_backend* packed = nullptr;
    if (git_odb_new(&odb) != 0)
        return;
    if (git_odb_backend_loose(&loose, objects.constData(), ObjectCompression, 0, 0, 0) == 0
        && git_odb_add_backend(odb, loose, 1) == 0 && git_odb_backend_pack(&packed, objects.constData()) == 0
        && git_odb_add_backend(odb, packed, 2) == 0)
        git_repository_set_odb(repository, odb);
    git_odb_free(odb);
}

QString fallbackSummary(ChangeKind kind, const QStringList& changedFiles, const QStringList& recordFiles)
{
    QStringList records;
    for (const QString& path : changedFiles) {
        if (recordFiles.contains(path))
            records << path;
    }
    if (!records.isEmpty())
        return QStringLiteral("Изменены файлы: %1").arg(records.join(QLatin1String(", ")));
    return kind == ChangeKind::Save && changedFiles.isEmpty() ? QStringLiteral("Первая запись истории")
                                                               : QStringLiteral("Записи не изменены");
}

} // namespace

HistoryRecorder::HistoryRecorder(const QString& dir, const TrackedFiles& files)
    : m_repository(ConfigRepository::open(dir, true)), m_files(files)
{
    if (!m_repository.isReady()) {
        if (m_repository.state() == ConfigRepository::Failed)
            m_error = m_repository.reason();
        return;
    }
    git_index* index = nullptr;
    if (git_repository_index(&index, m_repository.repository()) != 0) {
        m_error = gitError(QStringLiteral("Не удалось открыть индекс истории"));
        return;
    }
    m_index.reset(index);
    useQuickObjects(m_repository.repository());
    m_stamps.load(gitPath(m_repository.repository(), "orvane-stamps"));
}

HistoryRecorder::~HistoryRecorder()
{
    if (!m_error.isEmpty())
        qCWarning(historyLog, "%s", qPrintable(m_error));
}

void HistoryRecorder::catchUp()
{
    if (isOn())
        commitFiles(HistoryEntry::ofThisProcess(ChangeKind::Outside));
}

void HistoryRecorder::record(ChangeKind kind, const QString& restores)
{
    if (!isOn())
        return;
    HistoryEntry entry = HistoryEntry::ofThisProcess(kind);
    entry.restores = restores;
    const bool committed = commitFiles(entry);
    if (committed || pushPending(m_repository))
        startPush(m_repository.directory());
}

void HistoryRecorder::removeStaleLocks()
{
    const QDir git(QFile::decodeName(git_repository_path(m_repository.repository())));
    for (const QString& lock : {QStringLiteral("HEAD.lock"), QStringLiteral("refs/heads/main.lock"),
                                QStringLiteral("logs/HEAD.lock"), QStringLiteral("logs/refs/heads/main.lock"),
                                QStringLiteral("packed-refs.lock")})
        QFile::remove(git.filePath(lock));
    const QFileInfo indexLock(git.filePath(QStringLiteral("index.lock")));
    m_indexWritable = true;
    if (indexLock.exists()) {
        if (indexLock.lastModified().msecsTo(QDateTime::currentDateTime()) > IndexLockAgeMs)
            QFile::remove(indexLock.filePath());
        else
            m_indexWritable = false; // the commit is made from the index in memory
    }
}

bool HistoryRecorder::updateIndex()
{
    git_index* index = m_index.get();
    if (git_index_read(index, 0) != 0)
        git_index_clear(index); // unreadable: every file is read anew
    const QString dir = m_repository.directory() + QLatin1Char('/');
    for (const QString& path : m_files.all()) {
        const QByteArray name = path.toUtf8();
        const git_index_entry* entry = git_index_get_bypath(index, name.constData(), 0);
        struct stat st;
        if (::lstat(QFile::encodeName(dir + path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
            m_stamps.remove(path);
            if (entry && git_index_remove_bypath(index, name.constData()) != 0)
                return false;
            m_indexChanged |= entry != nullptr;
            continue;
        }
        if (entry && m_stamps.matches(path, st, entry->id))
            continue;
        if (git_index_add_bypath(index, name.constData()) != 0 || !(entry = git_index_get_bypath(index, name.constData(), 0))) {
            m_error = gitError(QStringLiteral("Не удалось записать \"%1\" в историю").arg(path));
            return false;
        }
        m_stamps.set(path, st, entry->id);
        m_indexChanged = true;
    }
    return true;
}

void HistoryRecorder::saveIndex()
{
    if (m_indexChanged && m_indexWritable && git_index_write(m_index.get()) != 0)
        m_error = gitError(QStringLiteral("Не удалось записать индекс истории"));
    m_indexChanged = false;
    m_stamps.save(gitPath(m_repository.repository(), "orvane-stamps"));
}

void HistoryRecorder::keepSnapshots(const QStringList& changed)
{
    const QString dir = m_repository.directory() + QLatin1Char('/');
    const QString snapshots = gitPath(m_repository.repository(), "orvane-last/");
    for (const QString& path : changed) {
        const QByteArray link = QFile::encodeName(snapshots + path);
        ::unlink(link.constData());
        // A file system without hard links has no snapshots: the blobs are read instead.
        if (QDir().mkpath(QFileInfo(snapshots + path).path()))
            ::link(QFile::encodeName(dir + path).constData(), link.constData());
    }
}

// The new version of a file is the file itself; the one before it the snapshot that the last
// commit linked to the file it was made of, while that is still as the commit found it.
class HistoryRecorder::SnapshotContent : public QuickContent
{
public:
    explicit SnapshotContent(const HistoryRecorder& recorder)
        : m_recorder(recorder), m_dir(recorder.m_repository.directory() + QLatin1Char('/')),
          m_snapshots(gitPath(recorder.m_repository.repository(), "orvane-last/"))
    {
    }
    bool read(const QString& path, const git_oid& blob, QByteArray* bytes) const override
    {
        return m_recorder.m_stamps.read(path, m_dir + path, blob, bytes)
            || m_recorder.m_previous.read(path, m_snapshots + path, blob, bytes);
    }

private:
    const HistoryRecorder& m_recorder;
    const QString m_dir;
    const QString m_snapshots;
};

bool HistoryRecorder::commitFiles(const HistoryEntry& base)
{
    m_lastCommit.clear();
    git_repository* repository = m_repository.repository();
    GroupUmask umask(m_repository.groupShared());
    removeStaleLocks();
    m_previous = m_stamps;
    if (!updateIndex())
        return false;
    git_oid treeId;
    if (git_index_write_tree(&treeId, m_index.get()) != 0) {
        m_error = gitError(QStringLiteral("Не удалось записать дерево истории"));
        return false;
    }
    git_tree* tree = nullptr;
    if (git_tree_lookup(&tree, repository, &treeId) != 0) {
        m_error = gitError(QStringLiteral("Не удалось прочитать дерево истории"));
        return false;
    }
    GitTree newTree(tree);

    GitCommit parent;
    GitTree parentTree;
    git_oid headId;
    if (git_reference_name_to_id(&headId, repository, "HEAD") == 0) {
        git_commit* found = nullptr;
        if (git_commit_lookup(&found, repository, &headId) != 0 || git_commit_tree(&tree, found) != 0) {
            git_commit_free(found);
            m_error = gitError(QStringLiteral("Не удалось прочитать последнюю запись истории"));
            return false;
        }
        parent.reset(found);
        parentTree.reset(tree);
        if (git_oid_equal(git_tree_id(tree), &treeId)) {
            saveIndex();
            return false; // nothing new
        }
    } else if (base.kind == ChangeKind::Outside) {
        return false; // the first commit is the write's own
    }

    const QStringList changedFiles = filesBetween(parentTree.get(), newTree.get(), m_files.all());
    const SnapshotContent quick(*this);
    QString error;
    const QList<FileChanges> changes = changesBetween(repository, parentTree.get(), newTree.get(), m_files.recordFiles,
                                                      Detail::Counts, &error, &quick);
    HistoryEntry entry = base;
    entry.summary = summaryLine(changes);
    if (entry.summary.isEmpty())
        entry.summary = fallbackSummary(entry.kind, parent ? changedFiles : QStringList(), m_files.recordFiles);
    if (entry.kind == ChangeKind::Outside)
        entry.summary = QStringLiteral("Изменения вне программ комплекса: ") + entry.summary;
    else if (!parent)
        entry.summary = QStringLiteral("Начало истории: ") + entry.summary;
    else if (entry.kind == ChangeKind::Restore)
        entry.summary = QStringLiteral("Возврат к версии %1: %2").arg(entry.restores.left(10), entry.summary);

    git_signature* signature = nullptr;
    const QString email = entry.login + QLatin1Char('@') + entry.host;
    if (git_signature_now(&signature, entry.login.toUtf8().constData(), email.toUtf8().constData()) != 0) {
        m_error = gitError(QStringLiteral("Не удалось назвать автора записи истории"));
        return false;
    }
    GitSignature author(signature);
    const git_commit* parents[] = {parent.get()};
    git_oid commitId;
    if (git_commit_create(&commitId, repository, "HEAD", signature, signature, nullptr,
                          entry.message().toUtf8().constData(), newTree.get(), parent ? 1 : 0, parents)
        != 0) {
        m_error = gitError(QStringLiteral("Не удалось записать изменение в историю"));
        return false;
    }
    m_lastCommit = oidText(commitId);
    saveIndex();
    keepSnapshots(changedFiles);
    return true;
}

} // namespace History
