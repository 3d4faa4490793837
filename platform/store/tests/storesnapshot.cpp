#include "storesnapshot.h"

#include "directorycommit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace StoreTest {

Snapshot snapshot(const QString& dirPath)
{
    Snapshot files;
    const QDir root(dirPath);
    QDirIterator it(dirPath, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(root.relativeFilePath(path), file.readAll());
    }
    return files;
}

QStringList leftovers(const QString& dirPath)
{
    QStringList found;
    const QDir root(dirPath);
    QDirIterator it(dirPath, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (CoConfig::DirectoryCommit::isWorkFileName(it.fileName()) || CoConfig::DirectoryCommit::isRecordName(it.fileName())
            || it.fileName().startsWith(QLatin1String(".orvane.write-lock")))
            found.append(root.relativeFilePath(path));
    }
    return found;
}

} // namespace StoreTest
