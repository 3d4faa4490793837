#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Every file under a directory, by relative path, with its bytes: to prove files unchanged.
namespace StoreTest {

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& dirPath);
// What a writer leaves while it works: its commit record and work files.
QStringList leftovers(const QString& dirPath);

} // namespace StoreTest
