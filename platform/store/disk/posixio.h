#pragma once

#include <QByteArray>
#include <QString>

// Small POSIX helpers for the store's writes, each giving its reason on failure.
namespace CoConfig::PosixIo {

QByteArray encodePath(const QString& path);
QString errnoText(int error);

// "Cannot <action> "<path>": <strerror>"
QString failure(const QString& action, const QString& path, int error);

// Creates the file (which must not exist), writes every byte, fsyncs and closes it.
bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error);
// Whether the file holds exactly these bytes (false when it cannot be read).
bool fileEquals(const QString& path, const QByteArray& bytes);

bool syncDirectory(const QString& path, QString* error);
// Removes a directory tree without following symbolic links; best effort.
void removeTree(const QString& path);

} // namespace CoConfig::PosixIo
