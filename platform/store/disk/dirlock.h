#pragma once

#include "writerlock.h"

#include <QString>

namespace CoConfig {

// The lock that serialises programs over one configuration directory: flock on a hidden file
// inside it, so a lock held by a process that dies is released by the kernel. Writers hold it
// exclusively; readers share it so that they never see half of a commit. flock may not reach
// other machines (a share without byte-range locks, a lock service that failed), so a writer
// also holds the directory's WriterLock.
class DirLock
{
public:
    enum Mode { Shared, Exclusive };

    DirLock() = default;
    ~DirLock();
    DirLock(const DirLock&) = delete;
    DirLock& operator=(const DirLock&) = delete;

    // "<dir>/.orvane.lock".
    static QString lockPathFor(const QString& dirPath);

    enum Outcome { Locked, TimedOut, Failed };

    // Waits up to timeoutMs for the lock; the reason in *error unless Locked.
    Outcome acquire(const QString& lockPath, Mode mode, int timeoutMs, QString* error);
    // Takes the lock only if it is free at once.
    bool tryAcquire(const QString& lockPath, Mode mode);
    void release();
    bool isHeld() const { return m_fd >= 0; }
    // Whether a writer still holds the directory: its WriterLock was not broken as stale.
    bool stillHeld() const { return m_mode == Shared ? isHeld() : m_writer.isOurs(); }

private:
    int open(const QString& lockPath, Mode mode, QString* error);

    int m_fd = -1;
    Mode m_mode = Shared;
    WriterLock m_writer;
};

} // namespace CoConfig
