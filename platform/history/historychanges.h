#pragma once

#include "recordchanges.h"

#include <git2.h>

#include <QList>
#include <QStringList>

namespace History {

// Where a blob's bytes may be had without reading them from the repository (the files a
// commit was just made of): false when they cannot.
class QuickContent
{
public:
    virtual ~QuickContent() = default;
    virtual bool read(const QString& path, const git_oid& blob, QByteArray* bytes) const = 0;
};

// The record files' changes between two trees of the history (either may be null: empty);
// only files whose contents differ are read.
QList<FileChanges> changesBetween(git_repository* repository, const git_tree* before, const git_tree* after,
                                  const QStringList& recordFiles, Detail detail, QString* error,
                                  const QuickContent* quick = nullptr);

// The bytes of a file as a tree holds it (empty when it does not), quickly where they can be.
bool contentOf(git_repository* repository, const git_tree* tree, const QString& path, const QuickContent* quick,
               QByteArray* bytes, QString* error);

// The blob id of a path in a tree; false when the tree has no such file.
bool blobOf(const git_tree* tree, const QString& path, git_oid* id);

// The files of `paths` that differ between the two trees.
QStringList filesBetween(const git_tree* before, const git_tree* after, const QStringList& paths);

} // namespace History
