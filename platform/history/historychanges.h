#pragma once

#include "recordchanges.h"

#include <git2.h>

#include <QList>
#include <QStringList>

namespace History {

// The record files' changes between two trees of the history (either may be null: empty);
// only files whose contents differ are read.
QList<FileChanges> changesBetween(git_repository* repository, const git_tree* before, const git_tree* after,
                                  const QStringList& recordFiles, QString* error);

// The files of `paths` that differ between the two trees.
QStringList filesBetween(const git_tree* before, const git_tree* after, const QStringList& paths);

} // namespace History
