#include "historychanges.h"

#include "gitptr.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

namespace History {

namespace {

using GitTreeEntry = GitPtr<git_tree_entry, git_tree_entry_free>;

} // namespace

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
    // The repository is read on this thread alone; the files are compared on every core,
    // the largest first.
    const QStringList paths = filesBetween(before, after, recordFiles);
    QList<QByteArray> old(paths.size());
    QList<QByteArray> now(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!contentOf(repository, before, paths[i], quick, &old[i], error)
            || !contentOf(repository, after, paths[i], quick, &now[i], error))
            return {};
    }
    std::vector<qsizetype> order(size_t(paths.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return old[a].size() + now[a].size() > old[b].size() + now[b].size();
    });
    QList<FileChanges> result(paths.size());
    QByteArray* oldBytes = old.data(); // no list is touched by the threads, only their items
    QByteArray* newBytes = now.data();
    FileChanges* results = result.data();
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t at; (at = next++) < order.size();) {
            const qsizetype i = order[at];
            results[i] = compareRecordFiles(paths[i], oldBytes[i], newBytes[i], detail);
            oldBytes[i] = QByteArray();
            newBytes[i] = QByteArray();
        }
    };
    std::vector<std::thread> helpers;
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    for (size_t n = 1; n < std::min(cores, order.size()); ++n)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return result;
}

} // namespace History
