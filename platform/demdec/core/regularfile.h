#pragma once

#include <QByteArray>
#include <QString>

namespace DemDecData {

// Reads a whole file given by name from outside: only a regular file (a FIFO or a device would
// block or never end) of at most maxSize bytes, checked before the first byte is read.
// False with *error, a reason for people, otherwise.
bool readRegularFile(const QString& path, qint64 maxSize, QByteArray* bytes, QString* error);

} // namespace DemDecData
