#include "historyrecorder.h"

#include "changewords.h"
#include "historychanges.h"
#include "historypush.h"

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

bool sameStat(const git_index_entry& entry, const struct stat& st)
{
    static const bool nanoseconds = git_libgit2_features() & GIT_FEATURE_NSEC;
    return entry.mtime.seconds == qint32(st.st_mtim.tv_sec)
        && (!nanoseconds || entry.mtime.nanoseconds == quint32(st.st_mtim.tv_nsec))
        && entry.file_size == quint32(st.st_size) && entry.ino == quint32(st.st_ino)
        && entry.dev == quint32(st.st_dev);
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
    if (git_index_read(index, 0) != 0) {
        git_index_clear(index); // unreadable: every file is read anew
    }
    const QString dir = m_repository.directory() + QLatin1Char('/');
    for (const QString& path : m_files.all()) {
        const QByteArray name = path.toUtf8();
        const git_index_entry* entry = git_index_get_bypath(index, name.constData(), 0);
        struct stat st;
        if (::lstat(QFile::encodeName(dir + path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
            if (entry && git_index_remove_bypath(index, name.constData()) != 0)
                return false;
            continue;
        }
        if (entry && sameStat(*entry, st))
            continue;
        if (git_index_add_bypath(index, name.constData()) != 0) {
            m_error = gitError(QStringLiteral("Не удалось записать \"%1\" в историю").arg(path));
            return false;
        }
    }
    return true;
}

bool HistoryRecorder::commitFiles(const HistoryEntry& base)
{
    m_lastCommit.clear();
    git_repository* repository = m_repository.repository();
    GroupUmask umask(m_repository.groupShared());
    removeStaleLocks();
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
            if (m_indexWritable)
                git_index_write(m_index.get());
            return false; // nothing new
        }
    } else if (base.kind == ChangeKind::Outside) {
        return false; // the first commit is the write's own
    }

    QString error;
    const QList<FileChanges> changes =
        changesBetween(repository, parentTree.get(), newTree.get(), m_files.recordFiles, &error);
    HistoryEntry entry = base;
    entry.summary = summaryLine(changes);
    if (entry.summary.isEmpty())
        entry.summary = fallbackSummary(entry.kind, parent ? filesBetween(parentTree.get(), newTree.get(), m_files.all())
                                                          : QStringList(),
                                        m_files.recordFiles);
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
    if (m_indexWritable && git_index_write(m_index.get()) != 0)
        m_error = gitError(QStringLiteral("Не удалось записать индекс истории"));
    return true;
}

} // namespace History
