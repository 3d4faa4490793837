#include "historyrecorder.h"

#include "blobwriter.h"
#include "changewords.h"
#include "historychanges.h"
#include "historypush.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace History {

namespace {

Q_LOGGING_CATEGORY(historyLog, "orvane.history")

// An index lock younger than this may be an engineer's git at work; an older one, or any lock of
// the history's own refs (written only under the store's write lock), is a killed writer's.
constexpr qint64 IndexLockAgeMs = 10000;

QString gitPath(git_repository* repository, const char* name)
{
    return QFile::decodeName(git_repository_path(repository)) + QLatin1String(name);
}

git_index_entry entryFor(const BlobWriter::File& file, const QByteArray& path)
{
    git_index_entry entry{};
    entry.path = path.constData();
    entry.mode = (file.st.st_mode & S_IXUSR) ? GIT_FILEMODE_BLOB_EXECUTABLE : GIT_FILEMODE_BLOB;
    entry.id = file.id;
    entry.file_size = quint32(file.st.st_size);
    entry.mtime = {qint32(file.st.st_mtim.tv_sec), quint32(file.st.st_mtim.tv_nsec)};
    entry.ctime = {qint32(file.st.st_ctim.tv_sec), quint32(file.st.st_ctim.tv_nsec)};
    entry.dev = quint32(file.st.st_dev);
    entry.ino = quint32(file.st.st_ino);
    entry.uid = file.st.st_uid;
    entry.gid = file.st.st_gid;
    return entry;
}

// What a commit whose files changed no record says.
QString fallbackSummary(const QStringList& changedFiles, const QStringList& recordFiles)
{
    QStringList records;
    for (const QString& path : changedFiles) {
        if (recordFiles.contains(path))
            records << path;
    }
    return records.isEmpty() ? QStringLiteral("Записи не изменены")
                             : QStringLiteral("Изменены файлы: %1").arg(records.join(QLatin1String(", ")));
}

} // namespace

struct HistoryRecorder::Comparison
{
    git_oid parentTree{}; // the tree the files were compared with
    QList<FileChanges> changes;
    QStringList compared;
    std::thread thread;

    ~Comparison() { wait(); }
    void wait()
    {
        if (thread.joinable())
            thread.join();
    }
};

HistoryRecorder::HistoryRecorder(const QString& dir, const TrackedFiles& files)
    : m_repository(ConfigRepository::open(dir, false)), m_dir(dir), m_files(files)
{
    attach();
}

void HistoryRecorder::attach()
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
    m_umask = std::make_unique<GroupUmask>(m_repository.groupShared());
    BlobWriter::useQuickObjects(m_repository.repository());
    m_stamps.load(gitPath(m_repository.repository(), "orvane-stamps"));
}

HistoryRecorder::~HistoryRecorder()
{
    if (!m_error.isEmpty())
        qCWarning(historyLog, "%s", qPrintable(m_error));
}

void HistoryRecorder::writeBlobs(const QHash<QString, QByteArray>& files)
{
    if (!isOn() || files.isEmpty())
        return;
    QList<BlobWriter::File> blobs;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        blobs.append(BlobWriter::File{it.key(), {}, *it, {}, {}, {}});
        m_preparedBytes.insert(it.key(), *it);
    }
    m_prepared.push_back(std::make_unique<BlobWriter>(gitPath(m_repository.repository(), "objects"), blobs));
}

void HistoryRecorder::catchUp()
{
    // The directory had no repository (or none yet) when it was opened before the lock.
    if (m_repository.state() == ConfigRepository::Missing || m_repository.state() == ConfigRepository::Failed) {
        m_error.clear();
        m_repository = ConfigRepository::open(m_dir, true);
        attach();
    }
    if (isOn())
        commitFiles(HistoryEntry::ofThisProcess(ChangeKind::Outside));
}

void HistoryRecorder::prepare(const QHash<QString, QByteArray>& files)
{
    if (!isOn() || files.isEmpty())
        return;
    QHash<QString, QByteArray> blobs;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const auto given = m_preparedBytes.constFind(it.key());
        if (given == m_preparedBytes.cend() || given->constData() != it->constData() || given->size() != it->size())
            blobs.insert(it.key(), *it);
    }
    writeBlobs(blobs);

    // The record files are compared with the last commit's, whose versions the snapshots keep.
    git_repository* repository = m_repository.repository();
    git_oid headId;
    git_commit* head = nullptr;
    git_tree* tree = nullptr;
    if (git_reference_name_to_id(&headId, repository, "HEAD") != 0 || git_commit_lookup(&head, repository, &headId) != 0
        || git_commit_tree(&tree, head) != 0) {
        git_commit_free(head);
        return; // the first commit, or one that record() reports
    }
    const GitCommit parent(head);
    const GitTree parentTree(tree);
    struct Job
    {
        QString path;
        bool existed;
        git_oid blob;
        QByteArray now;
    };
    std::vector<Job> jobs;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (!m_files.recordFiles.contains(it.key()))
            continue;
        Job job{it.key(), false, {}, *it};
        job.existed = blobOf(tree, job.path, &job.blob);
        jobs.push_back(std::move(job));
    }
    m_comparison = std::make_unique<Comparison>();
    git_oid_cpy(&m_comparison->parentTree, git_tree_id(tree));
    m_comparison->thread = std::thread([comparison = m_comparison.get(), jobs = std::move(jobs), stamps = m_stamps,
                                        snapshots = gitPath(repository, "orvane-last/")] {
        for (const Job& job : jobs) {
            QByteArray old;
            std::unique_ptr<PosixIo::PrivateBytes> mapped; // holds old's bytes
            if (job.existed && !stamps.read(job.path, snapshots + job.path, job.blob, &old, &mapped))
                continue; // read from its blob later
            comparison->changes.append(compareRecordFiles(job.path, old, job.now, Detail::Counts));
            comparison->compared.append(job.path);
        }
    });
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

QList<BlobWriter::File> HistoryRecorder::filesToRead()
{
    git_index* index = m_index.get();
    if (git_index_read(index, 0) != 0)
        git_index_clear(index); // unreadable: every file is read anew
    QList<BlobWriter::File> files;
    const QString dir = m_repository.directory() + QLatin1Char('/');
    for (const QString& path : m_files.all()) {
        const QByteArray name = path.toUtf8();
        const git_index_entry* entry = git_index_get_bypath(index, name.constData(), 0);
        BlobWriter::File file{path, dir + path, {}, {}, {}, {}};
        if (::lstat(QFile::encodeName(file.absolute).constData(), &file.st) != 0 || !S_ISREG(file.st.st_mode)) {
            m_stamps.remove(path);
            if (entry) {
                git_index_remove_bypath(index, name.constData());
                m_indexChanged = true;
            }
            continue;
        }
        if (!entry || !m_stamps.matches(path, file.st, entry->id))
            files.append(file);
    }
    return files;
}

bool HistoryRecorder::addToIndex(const QList<BlobWriter::File>& files)
{
    for (const BlobWriter::File& file : files) {
        const QByteArray path = file.path.toUtf8();
        const git_index_entry entry = entryFor(file, path);
        if (!file.error.isEmpty() || git_index_add(m_index.get(), &entry) != 0) {
            m_error = file.error.isEmpty() ? gitError(QStringLiteral("Не удалось записать \"%1\" в историю").arg(file.path))
                                           : file.error;
            return false;
        }
        m_stamps.set(file.path, file.st, file.id);
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
    removeStaleLocks();
    m_previous = m_stamps;
    QList<BlobWriter::File> toRead = filesToRead();
    // What the store wrote as prepared is taken as it is; the other changed files' blobs are
    // written meanwhile, and the records are compared with the files.
    QList<BlobWriter::File> ready;
    if (!m_prepared.empty() && base.kind != ChangeKind::Outside) {
        for (BlobWriter::File& file : toRead) {
            const auto written = m_preparedBytes.constFind(file.path);
            if (written == m_preparedBytes.cend() || written->size() != file.st.st_size)
                continue;
            file.bytes = *written;
            ready.append(file);
            file.path.clear();
        }
        toRead.removeIf([](const BlobWriter::File& file) { return file.path.isEmpty(); });
    }
    BlobWriter writer(gitPath(repository, "objects"), toRead);

    GitCommit parent;
    GitTree parentTree;
    git_oid headId;
    if (git_reference_name_to_id(&headId, repository, "HEAD") == 0) {
        git_commit* found = nullptr;
        git_tree* tree = nullptr;
        if (git_commit_lookup(&found, repository, &headId) != 0 || git_commit_tree(&tree, found) != 0) {
            git_commit_free(found);
            m_error = gitError(QStringLiteral("Не удалось прочитать последнюю запись истории"));
            return false;
        }
        parent.reset(found);
        parentTree.reset(tree);
    } else if (base.kind == ChangeKind::Outside) {
        return false; // the first commit is the write's own
    }
    const SnapshotContent quick(*this);
    QString error;
    QList<FileChanges> changes;
    QStringList compared;
    if (m_comparison && parent && base.kind != ChangeKind::Outside) {
        m_comparison->wait();
        if (git_oid_equal(&m_comparison->parentTree, git_tree_id(parentTree.get()))) {
            changes = m_comparison->changes;
            compared = m_comparison->compared;
        }
    }
    for (const BlobWriter::File& file : ready + toRead) {
        // The first commit holds everything there is: its message says no more.
        if (!parent || !m_files.recordFiles.contains(file.path) || compared.contains(file.path))
            continue;
        QByteArray old;
        QFile now(file.absolute);
        if (!contentOf(repository, parentTree.get(), file.path, &quick, &old, &error)
            || (file.bytes.isNull() && !now.open(QIODevice::ReadOnly)))
            break;
        changes.append(compareRecordFiles(file.path, old, file.bytes.isNull() ? now.readAll() : file.bytes, Detail::Counts));
        compared.append(file.path);
    }

    // The newest blob of a file written more than once (the writers are in the order given).
    for (BlobWriter::File& file : ready) {
        for (const std::unique_ptr<BlobWriter>& writer : m_prepared) {
            const QList<BlobWriter::File>& prepared = writer->finish();
            const auto written = std::find_if(prepared.cbegin(), prepared.cend(),
                                              [&file](const BlobWriter::File& blob) { return blob.path == file.path; });
            if (written != prepared.cend()) {
                file.id = written->id;
                file.error = written->error;
            }
        }
    }
    if (!addToIndex(ready) || !addToIndex(writer.finish()))
        return false;
    git_oid treeId;
    git_tree* tree = nullptr;
    if (git_index_write_tree(&treeId, m_index.get()) != 0 || git_tree_lookup(&tree, repository, &treeId) != 0) {
        m_error = gitError(QStringLiteral("Не удалось записать дерево истории"));
        return false;
    }
    GitTree newTree(tree);
    if (parent && git_oid_equal(git_tree_id(parentTree.get()), &treeId)) {
        saveIndex();
        return false; // nothing new
    }
    // Files that differ from the last commit without having changed since they were last read
    // (a commit that was lost after its files were added) are compared from their blobs.
    const QStringList changedFiles = filesBetween(parentTree.get(), newTree.get(), m_files.all());
    QStringList others;
    for (const QString& path : changedFiles) {
        if (!compared.contains(path) && m_files.recordFiles.contains(path))
            others.append(path);
    }
    if (parent)
        changes += changesBetween(repository, parentTree.get(), newTree.get(), others, Detail::Counts, &error, &quick);
    // In the files' order, as the editor's tabs go.
    std::sort(changes.begin(), changes.end(), [this](const FileChanges& a, const FileChanges& b) {
        return m_files.recordFiles.indexOf(a.path) < m_files.recordFiles.indexOf(b.path);
    });

    HistoryEntry entry = base;
    entry.summary = summaryLine(changes);
    if (entry.summary.isEmpty())
        entry.summary = fallbackSummary(changedFiles, m_files.recordFiles);
    if (!parent)
        entry.summary = QStringLiteral("Начало истории");
    else if (entry.kind == ChangeKind::Outside)
        entry.summary = QStringLiteral("Изменения вне программ комплекса: ") + entry.summary;
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
