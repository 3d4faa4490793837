#pragma once

#include "privatebytes.h"

#include <git2.h>

#include <QHash>
#include <QString>

#include <memory>

#include <sys/stat.h>

namespace History {

// What each file of the work tree was when the history last read it, and the blob it gave:
// a file whose stamp is unchanged is not read again. (The index's own stat data cannot tell:
// git smudges entries written in the same second as their files, as every save's are.)
// Kept in "<git dir>/orvane-stamps"; lost or stale stamps only cost a read.
class FileStamps
{
public:
    void load(const QString& path);
    // Written anew (without a sync: a lost file only costs reads) when a stamp changed.
    bool save(const QString& path);

    bool matches(const QString& file, const struct stat& st, const git_oid& blob) const;
    void set(const QString& file, const struct stat& st, const git_oid& blob);
    void remove(const QString& file) { m_changed |= m_stamps.remove(file); }
    // The bytes of the file at `absolutePath` (the file itself or a link to what it was) when it
    // is still as stamped with that blob. Given a holder, they are copied into private memory at
    // once (see PosixIo::PrivateBytes) that *bytes only views: valid while the holder is.
    bool read(const QString& file, const QString& absolutePath, const git_oid& blob, QByteArray* bytes,
              std::unique_ptr<PosixIo::PrivateBytes>* holder = nullptr) const;

private:
    struct Stamp
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        git_oid blob{};
    };
    static Stamp stampOf(const struct stat& st, const git_oid& blob);

    QHash<QString, Stamp> m_stamps;
    bool m_changed = false;
};

} // namespace History
