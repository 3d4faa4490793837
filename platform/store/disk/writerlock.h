#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace CoConfig {

// The writers' lock that holds across machines: a file created with O_EXCL, which every network
// file system makes atomic, naming its holder's host, process, process start and a token. Its
// holder rewrites it every quarter of the lease while it holds it. Another writer breaks it only
// when it is provably stale: its process is gone on this host, or it was not rewritten for a
// lease on another (watched by this process's own clock, so that clocks of the workstations
// need not agree).
class WriterLock
{
public:
    enum Outcome { Locked, Busy, Failed };

    WriterLock() = default;
    ~WriterLock();
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

    // "<dir>/.orvane.write-lock".
    static QString pathFor(const QString& dirPath);
    // ORVANE_LOCK_LEASE_MS, or 4000 ms.
    static int leaseMs();

    // One attempt: takes the lock, breaking a stale one; Busy while a live holder has it.
    Outcome tryTake(const QString& path, QString* error);
    // Whether the lock file still names this holder (a holder stopped past its lease loses it).
    bool isOurs() const;
    bool isHeld() const { return m_fd >= 0; }
    void release();

    // Whether the lock file names a holder that may still be writing, as a reader asks before
    // it reads; watches a holder of another host as tryTake() does.
    bool heldByLiveWriter(const QString& path);

private:
    enum Holder { None, Alive, Stale };
    Holder holderOf(const QString& path);
    QByteArray content() const;
    void refresh();

    QString m_path;
    QByteArray m_token;
    quint64 m_beat = 0;
    int m_fd = -1;
    std::thread m_refresher;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;

    // Another holder's lock as last seen, and for how long it has stayed so.
    QByteArray m_seen;
    qint64 m_seenModified = 0;
    QElapsedTimer m_seenFor;
};

} // namespace CoConfig
