#pragma once

#include "posixio.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace CoConfig {

// Replaces a directory as a whole. A complete copy is built beside it (entries left alone are
// hard-linked, new files written and synced, every directory synced), then swapped in with one
// atomic rename, so that a crash at any instant leaves either the old directory or the new one.
// The caller holds the directory's exclusive lock throughout.
class DirectoryTransaction
{
public:
    explicit DirectoryTransaction(const QString& dirPath);
    ~DirectoryTransaction(); // removes a copy that was not committed
    DirectoryTransaction(const DirectoryTransaction&) = delete;
    DirectoryTransaction& operator=(const DirectoryTransaction&) = delete;

    // Removes copies left by writers that died; only under the exclusive lock.
    static void removeLeftovers(const QString& dirPath);

    // Creates the copy with every existing entry except the relative paths in `replaced`.
    bool begin(const QSet<QString>& replaced, QString* error);
    bool oldFileExists(const QString& relativePath) const;
    // Puts the old directory's file into the copy under another name.
    bool keepOldFileAs(const QString& relativePath, const QString& newRelativePath, QString* error);
    // Writes a new file into the copy; a file equal to the old one is linked instead.
    bool writeFile(const QString& relativePath, const QByteArray& bytes, QString* error);
    bool commit(QString* error);

private:
    bool makeDirectory(const QString& relativeDir, unsigned mode, QString* error);
    bool ensureParent(const QString& relativePath, QString* error);
    bool copyTree(const QString& relativeDir, const QSet<QString>& replaced, QString* error);
    bool linkOrCopy(const QString& from, const QString& to, QString* error);

    QString m_dir;
    QString m_parent;
    QString m_staging;
    bool m_oldExists = false;
    bool m_begun = false;
    bool m_committed = false;
    QSet<QString> m_madeDirs;          // relative; "" is the copy's root
    QList<PosixIo::OpenFile> m_unsynced; // files written into the copy, synced at commit
};

} // namespace CoConfig
