#pragma once

#include <git2.h>

#include <QList>
#include <QString>

#include <sys/stat.h>
#include <thread>

namespace History {

// Writes the blobs of files into a repository's objects on a thread of its own (at the least
// compression: a save waits for them, and git gc packs them later), while the commit's other
// work goes on.
class BlobWriter
{
public:
    struct File
    {
        QString path;     // in the work tree
        QString absolute; // where it is read from, unless its bytes are given
        QByteArray bytes;
        struct stat st{}; // as the file was found before it was read
        git_oid id{};
        QString error;    // empty once written
    };

    BlobWriter(const QString& objectsDir, QList<File> files);
    ~BlobWriter();
    BlobWriter(const BlobWriter&) = delete;
    BlobWriter& operator=(const BlobWriter&) = delete;

    // Waits for the thread.
    const QList<File>& finish();

    // A compression of the repository's own objects at the same level, for its commits and trees.
    static void useQuickObjects(git_repository* repository);

private:
    void run();
    bool writeLoose(const char* content, qsizetype size, File* file) const;

    QString m_objectsDir;
    QList<File> m_files;
    std::thread m_thread;
};

} // namespace History
