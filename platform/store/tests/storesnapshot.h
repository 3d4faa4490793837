#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Every file under a directory, by relative path, with its bytes: to prove files unchanged.
namespace StoreTest {

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& dirPath);
// The entries beside the directory that a writer leaves while it works (staging copies).
QStringList leftoversBeside(const QString& dirPath);

} // namespace StoreTest
