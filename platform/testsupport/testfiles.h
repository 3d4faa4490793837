#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Whole-file reads and writes for tests.
namespace TestFiles {

// The file's bytes, or empty when it cannot be read.
QByteArray readFile(const QString& path);
// Replaces the file's contents, creating its folder first; false when any byte was not written.
bool writeFile(const QString& path, const QByteArray& bytes);
// Copies a folder with everything in it (hidden entries too); false when anything was not copied.
bool copyFolder(const QString& from, const QString& to);
// Every regular file under the folder, hidden ones too.
QStringList filesUnder(const QString& folder);

} // namespace TestFiles
