#pragma once

#include "posixio.h"

#include <QList>

#include <functional>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace CoConfig {

// Replaces files of a directory all-or-nothing while the directory itself stays what it is (its
// inode, owner, group and mode, and every file nobody replaces).
//
// Each new file is written beside the one it replaces under a hidden work name, keeping that
// file's mode, group and (where the writer may) owner; a file new to the directory takes the
// directory's group and its siblings' permission bits. One small commit record listing them
// (with sizes and digests) is made durable together with them; then each is renamed into place
// and the record removed. Each commit has a record and work files of its own. The next writer,
// or the next reader before it reads, finishes a recorded commit that was interrupted, or drops
// one that was not (recover()); a commit that this process cannot finish is left as it is.
// Only creating, writing, syncing and renaming files within one directory is needed, so a
// mount point, a network share or a directory with a read-only parent serves.
// The caller holds the directory's exclusive lock throughout.
class DirectoryCommit
{
public:
    explicit DirectoryCommit(const QString& dirPath);
    ~DirectoryCommit(); // removes the work files of a commit not made
    DirectoryCommit(const DirectoryCommit&) = delete;
    DirectoryCommit& operator=(const DirectoryCommit&) = delete;

    // Whether a name is a record of a commit under way: ".orvane.commit-<id>" (or, from earlier
    // versions, ".orvane.commit").
    static bool isRecordName(const QString& name);
    static bool hasRecord(const QString& dirPath);
    // Whether recover() has anything to do: a record, work files or a broken lock left behind.
    static bool hasLeftovers(const QString& dirPath, const QStringList& subDirs);
    // Whether a name is one of the commit's hidden work files.
    static bool isWorkFileName(const QString& name);
    // Finishes or drops interrupted commits, then removes work files of writers that died
    // from the directory and the sub-directories named (relative); only under the exclusive lock.
    // False, with the reason naming the file, when a recorded commit cannot be finished here
    // (a file this user may not read or rename): the commit stays for a program that can.
    static bool recover(const QString& dirPath, const QStringList& subDirs, QString* error);

    // Creates the directory when it is missing and learns its owner, group and mode.
    // `relativePaths`: the files the commit may write, whose modes a new file follows.
    bool begin(const QStringList& relativePaths, QString* error);
    bool fileExists(const QString& relativePath) const;
    // Renames the old file to another name in the same directory as the commit's first step.
    void keepOldFileAs(const QString& relativePath, const QString& asideName);
    // Writes a file of the commit; unchanged content leaves the old file as it is (unless it
    // is kept aside).
    bool writeFile(const QString& relativePath, const QByteArray& bytes, QString* error);
    // Asked once the commit is durable, before its first rename: false (with the reason) takes
    // the commit back, as when the writer no longer holds the directory.
    void setGuard(std::function<bool(QString*)> guard) { m_guard = std::move(guard); }
    bool commit(QString* error);

private:
    struct Entry
    {
        QString path; // relative
        QString work; // relative
        qint64 size = 0;
        QByteArray digest;
        QString aside; // relative; empty when the old file is simply replaced
    };

    bool ensureDirectory(const QString& relativeDir, QString* error);
    QString absolute(const QString& relativePath) const;

    QString recordPath() const;

    QString m_dir;
    QString m_id;
    std::function<bool(QString*)> m_guard;
    uid_t m_dirOwner = 0;
    gid_t m_dirGroup = 0;
    mode_t m_dirMode = 0755;
    mode_t m_newFileMode = 0644;
    QList<Entry> m_entries;
    QList<QString> m_asides; // relative paths to keep aside, as asked
    QList<QString> m_asideNames;
    QList<PosixIo::OpenFile> m_unsynced; // work files, synced at commit
    QStringList m_madeDirs;              // relative
    bool m_recorded = false;             // from here on the work files belong to the record
    bool m_done = false;
};

} // namespace CoConfig
