#include "historylog.h"

#include "configrepository.h"
#include "gitptr.h"
#include "historychanges.h"

namespace History {

namespace {

bool isReady(const ConfigRepository& repository, QString* error)
{
    if (!repository.isReady())
        *error = repository.reason();
    return repository.isReady();
}

GitCommit commitOf(git_repository* repository, const QString& revision, QString* error)
{
    git_object* found = nullptr;
    if (git_revparse_single(&found, repository, revision.toUtf8().constData()) != 0) {
        *error = QStringLiteral("В истории нет версии \"%1\"").arg(revision);
        return nullptr;
    }
    GitObject object(found);
    git_object* peeled = nullptr;
    if (git_object_peel(&peeled, found, GIT_OBJECT_COMMIT) != 0) {
        *error = QStringLiteral("\"%1\" не называет сохранение").arg(revision);
        return nullptr;
    }
    return GitCommit(reinterpret_cast<git_commit*>(peeled));
}

// The commit a revision names in the directory's repository.
GitCommit commitIn(const ConfigRepository& repository, const QString& revision, QString* error)
{
    return isReady(repository, error) ? commitOf(repository.repository(), revision, error) : nullptr;
}

GitTree treeOf(const git_commit* commit)
{
    git_tree* tree = nullptr;
    return GitTree(commit && git_commit_tree(&tree, commit) == 0 ? tree : nullptr);
}

} // namespace

QString HistoryLog::headOf(const QString& dir)
{
    const ConfigRepository repository = ConfigRepository::open(dir, false);
    git_oid id;
    return repository.isReady() && git_reference_name_to_id(&id, repository.repository(), "HEAD") == 0 ? oidText(id)
                                                                                                      : QString();
}

bool HistoryLog::entries(const QString& dir, QList<HistoryEntry>* entries, QString* error, int limit)
{
    entries->clear();
    const ConfigRepository repository = ConfigRepository::open(dir, false);
    if (!isReady(repository, error))
        return false;
    git_revwalk* made = nullptr;
    if (git_revwalk_new(&made, repository.repository()) != 0) {
        *error = gitError(QStringLiteral("Не удалось прочитать историю"));
        return false;
    }
    GitRevwalk walk(made);
    git_revwalk_sorting(made, GIT_SORT_TOPOLOGICAL | GIT_SORT_TIME);
    if (git_revwalk_push_head(made) != 0)
        return true; // no save recorded yet
    git_oid id;
    while ((limit < 0 || entries->size() < limit) && git_revwalk_next(&id, made) == 0) {
        git_commit* found = nullptr;
        if (git_commit_lookup(&found, repository.repository(), &id) != 0) {
            *error = gitError(QStringLiteral("Не удалось прочитать запись истории %1").arg(oidText(id)));
            return false;
        }
        GitCommit commit(found);
        entries->append(HistoryEntry::fromCommit(found));
    }
    return true;
}

bool HistoryLog::changesOf(const QString& dir, const QString& revision, const QStringList& recordFiles,
                           HistoryEntry* entry, QList<FileChanges>* changes, QString* error)
{
    const ConfigRepository repository = ConfigRepository::open(dir, false);
    const GitCommit commit = commitIn(repository, revision, error);
    if (!commit)
        return false;
    *entry = HistoryEntry::fromCommit(commit.get());
    git_commit* parent = nullptr;
    if (git_commit_parentcount(commit.get()) > 0 && git_commit_parent(&parent, commit.get(), 0) != 0) {
        *error = gitError(QStringLiteral("Не удалось прочитать предыдущую запись истории"));
        return false;
    }
    const GitCommit before(parent);
    const GitTree beforeTree = treeOf(before.get());
    const GitTree afterTree = treeOf(commit.get());
    error->clear();
    *changes = changesBetween(repository.repository(), beforeTree.get(), afterTree.get(), recordFiles, Detail::Fields, error);
    return error->isEmpty();
}

bool HistoryLog::filesAt(const QString& dir, const QString& revision, const QStringList& paths, HistoryEntry* entry,
                         QHash<QString, QByteArray>* files, QString* error)
{
    const ConfigRepository repository = ConfigRepository::open(dir, false);
    const GitCommit commit = commitIn(repository, revision, error);
    if (!commit)
        return false;
    *entry = HistoryEntry::fromCommit(commit.get());
    const GitTree tree = treeOf(commit.get());
    files->clear();
    for (const QString& path : paths) {
        git_object* found = nullptr;
        if (git_object_lookup_bypath(&found, reinterpret_cast<git_object*>(tree.get()), path.toUtf8().constData(),
                                     GIT_OBJECT_BLOB)
            != 0)
            continue;
        GitObject blob(found);
        const git_blob* content = reinterpret_cast<git_blob*>(found);
        files->insert(path, QByteArray(static_cast<const char*>(git_blob_rawcontent(content)),
                                       qsizetype(git_blob_rawsize(content))));
    }
    return true;
}

} // namespace History
