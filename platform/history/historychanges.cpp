#include "historychanges.h"

#include "gitptr.h"

namespace History {

namespace {

using GitTreeEntry = GitPtr<git_tree_entry, git_tree_entry_free>;

// The blob id of a path in a tree; false when the tree has no such file.
bool blobOf(const git_tree* tree, const QString& path, git_oid* id)
{
    if (!tree)
        return false;
    git_tree_entry* found = nullptr;
    if (git_tree_entry_bypath(&found, tree, path.toUtf8().constData()) != 0)
        return false;
    GitTreeEntry entry(found);
    if (git_tree_entry_type(found) != GIT_OBJECT_BLOB)
        return false;
    git_oid_cpy(id, git_tree_entry_id(found));
    return true;
}


} // namespace

bool contentOf(git_repository* repository, const git_tree* tree, const QString& path, const QuickContent* quick,
               QByteArray* bytes, QString* error)
{
    git_oid id;
    bytes->clear();
    if (!blobOf(tree, path, &id) || (quick && quick->read(path, id, bytes)))
        return true;
    git_blob* found = nullptr;
    if (git_blob_lookup(&found, repository, &id) != 0) {
        *error = gitError(QStringLiteral("Не удалось прочитать \"%1\" из истории").arg(path));
        return false;
    }
    GitBlob blob(found);
    *bytes = QByteArray(static_cast<const char*>(git_blob_rawcontent(found)), qsizetype(git_blob_rawsize(found)));
    return true;
}

QStringList filesBetween(const git_tree* before, const git_tree* after, const QStringList& paths)
{
    QStringList changed;
    for (const QString& path : paths) {
        git_oid old;
        git_oid now;
        const bool hadOld = blobOf(before, path, &old);
        const bool hasNew = blobOf(after, path, &now);
        if (hadOld != hasNew || (hadOld && !git_oid_equal(&old, &now)))
            changed.append(path);
    }
    return changed;
}

QList<FileChanges> changesBetween(git_repository* repository, const git_tree* before, const git_tree* after,
                                  const QStringList& recordFiles, Detail detail, QString* error,
                                  const QuickContent* quick)
{
    QList<FileChanges> result;
    for (const QString& path : filesBetween(before, after, recordFiles)) {
        QByteArray old;
        QByteArray now;
        if (!contentOf(repository, before, path, quick, &old, error)
            || !contentOf(repository, after, path, quick, &now, error))
            return {};
        result.append(compareRecordFiles(path, old, now, detail));
    }
    return result;
}

} // namespace History
