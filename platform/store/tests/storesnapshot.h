#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Every file under a directory, by relative path, with its bytes: to prove files unchanged.
namespace StoreTest {

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& dirPath);
// What a writer leaves while it works: its commit record and work files inside the directory,
// and the copies earlier versions built beside it.
QStringList leftovers(const QString& dirPath);

} // namespace StoreTest
