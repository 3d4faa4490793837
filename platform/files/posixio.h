#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/types.h>

// Small POSIX helpers for writing files whole, each giving its reason on failure.
namespace PosixIo {

QByteArray encodePath(const QString& path);
QString errnoText(int error);

// "Cannot <action> "<path>": <strerror>"
QString failure(const QString& action, const QString& path, int error);

// Who owns a new file and its permission bits; (uid_t)-1 leaves the owner to the writer.
struct FileOwnership
{
    uid_t owner = uid_t(-1);
    gid_t group = gid_t(-1);
    mode_t mode = 0644;
};

// Writes every byte to the descriptor; false with the cause (ENOSPC for a write cut short
// that gives none).
bool writeAll(int fd, const char* data, qint64 size, int* cause);

// Creates the file (which must not exist) with that ownership as far as the writer may give it,
// whatever its umask, and writes every byte; the descriptor stays open for syncFiles(), or -1
// on failure, when nothing is left behind.
int writeNewFile(const QString& path, const QByteArray& bytes, const FileOwnership& ownership, QString* error);
// Whether the file holds exactly these bytes (false when it cannot be read).
bool fileEquals(const QString& path, const QByteArray& bytes);

struct OpenFile
{
    int fd = -1;
    QString path;
};

// Opens a directory for syncFiles(); -1 on failure.
int openDirectory(const QString& path, QString* error);
// fsyncs and closes every descriptor, several at once: the file system joins concurrent
// flushes into one journal commit, where one after another each waits for its own.
bool syncFiles(const QList<OpenFile>& files, QString* error);
bool syncDirectory(const QString& path, QString* error);

// A hidden name beside the file for writing its replacement: ".<name>.orvane-new-<id>"; the
// path may be relative.
QString workFileName(const QString& path, const QString& id);
// A fresh id for work file names: 16 hexadecimal digits.
QString newWorkId();

// Replaces one file whole: the new content is written beside it under a work name with the old
// file's owner (where the writer may give it), group and mode, reaches the disk, and takes the
// old file's place with one rename. A symbolic link is followed: its target is replaced. False
// with the reason when that cannot be done (a folder this user may not write); the old file
// then stays as it was.
bool replaceFile(const QString& path, const QByteArray& bytes, QString* error);

} // namespace PosixIo
