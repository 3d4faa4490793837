#pragma once

#include "blobwriter.h"
#include "configrepository.h"
#include "filestamps.h"
#include "historyentry.h"

#include <QString>
#include <QStringList>

#include <QHash>

#include <memory>
#include <vector>

namespace History {

// The files of a configuration that its history keeps: record files, whose changes the messages
// tell record by record, and others kept as they are (the store's uid marks).
struct TrackedFiles
{
    QStringList recordFiles;
    QStringList otherFiles;

    QStringList all() const { return recordFiles + otherFiles; }
};

// Records the writes of the store in the directory's history; the store holds the directory's
// write lock throughout. Nothing it does fails the write: a commit that cannot be made (or is
// killed) leaves the files to the next write, which records whatever changed since the last
// commit first, as an outside change.
class HistoryRecorder
{
public:
    // Opens the directory's repository, unless history is off or the directory lies in another
    // work tree; one to be made (at the first write) is made by catchUp(), under the lock.
    HistoryRecorder(const QString& dir, const TrackedFiles& files);
    ~HistoryRecorder();
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    bool isOn() const { return m_repository.isReady() && m_index; }

    // As soon as the store has serialised files, before it takes the lock: their blobs are
    // written meanwhile (objects are the same whoever writes them, so no lock is needed).
    void writeBlobs(const QHash<QString, QByteArray>& files);
    // Under the lock, before the store's commit: the files as they are, when they differ from
    // the last commit.
    void catchUp();
    // The bytes the store is about to write to these files: their blobs are written, and their
    // records compared with the last commit's, while the store writes and syncs the files; both
    // are taken for them once the files are so.
    void prepare(const QHash<QString, QByteArray>& files);
    // Once the store's commit is durable: the files as that write left them, then the push to
    // the remote (started, not waited for) when one is set.
    void record(ChangeKind kind, const QString& restores = QString());

    // The last failure, for the log; empty when everything was recorded.
    QString error() const { return m_error; }
    // The commit the last call made; empty when there was nothing to record.
    QString lastCommit() const { return m_lastCommit; }

private:
    class SnapshotContent;
    struct Comparison; // of the prepared record files with the last commit's

    void attach();
    bool commitFiles(const HistoryEntry& entry);
    // The tracked files changed since they were last read (the index loses those removed).
    QList<BlobWriter::File> filesToRead();
    bool addToIndex(const QList<BlobWriter::File>& files);
    void saveIndex();
    void keepSnapshots(const QStringList& changed);
    void removeStaleLocks();

    ConfigRepository m_repository;
    QString m_dir;
    TrackedFiles m_files;
    GitIndex m_index;
    FileStamps m_stamps;   // of the work tree's files as last added
    FileStamps m_previous; // as the last commit found them, for its snapshots
    bool m_indexChanged = false;
    std::unique_ptr<GroupUmask> m_umask; // while it lives: blobs are written while the store writes, too
    std::vector<std::unique_ptr<BlobWriter>> m_prepared; // gone first
    QHash<QString, QByteArray> m_preparedBytes;
    std::unique_ptr<Comparison> m_comparison;
    bool m_indexWritable = true;
    QString m_error;
    QString m_lastCommit;
};

} // namespace History
