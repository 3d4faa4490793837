#pragma once

#include <git2.h>

#include <QString>

#include <memory>

namespace History {

// libgit2 objects owned the C++ way: each freed by its own function.
template <typename T, void (*Free)(T*)>
struct GitFree
{
    void operator()(T* object) const { Free(object); }
};
template <typename T, void (*Free)(T*)>
using GitPtr = std::unique_ptr<T, GitFree<T, Free>>;

using GitRepository = GitPtr<git_repository, git_repository_free>;
using GitIndex = GitPtr<git_index, git_index_free>;
using GitTree = GitPtr<git_tree, git_tree_free>;
using GitCommit = GitPtr<git_commit, git_commit_free>;
using GitBlob = GitPtr<git_blob, git_blob_free>;
using GitSignature = GitPtr<git_signature, git_signature_free>;
using GitReference = GitPtr<git_reference, git_reference_free>;
using GitRemote = GitPtr<git_remote, git_remote_free>;
using GitRevwalk = GitPtr<git_revwalk, git_revwalk_free>;
using GitObject = GitPtr<git_object, git_object_free>;
using GitDiff = GitPtr<git_diff, git_diff_free>;

// Initialises libgit2 once for the process (and lets a group share a repository that another
// member made).
void initGit();

// "<what>: <libgit2's last error>".
QString gitError(const QString& what);

QString oidText(const git_oid& oid);

} // namespace History
