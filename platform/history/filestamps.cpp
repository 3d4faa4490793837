#include "filestamps.h"

#include <QFile>
#include <cstdio>

namespace History {

FileStamps::Stamp FileStamps::stampOf(const struct stat& st, const git_oid& blob)
{
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, blob};
}

void FileStamps::load(const QString& path)
{
    m_stamps.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // "<blob> <device> <inode> <size> <mtime ns> <file>" a line.
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const QList<QByteArray> fields = line.split(' ');
        Stamp stamp;
        if (fields.size() != 6 || git_oid_fromstr(&stamp.blob, fields[0].constData()) != 0)
            continue;
        stamp.device = fields[1].toULongLong();
        stamp.inode = fields[2].toULongLong();
        stamp.size = fields[3].toLongLong();
        stamp.modifiedNs = fields[4].toLongLong();
        m_stamps.insert(QString::fromUtf8(fields[5]), stamp);
    }
}

bool FileStamps::save(const QString& path)
{
    if (!m_changed)
        return true;
    const QString work = path + QStringLiteral(".new");
    QFile file(work);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (auto it = m_stamps.cbegin(); it != m_stamps.cend(); ++it) {
        char blob[GIT_OID_HEXSZ + 1];
        git_oid_tostr(blob, sizeof blob, &it->blob);
        file.write(QByteArray(blob) + ' ' + QByteArray::number(it->device) + ' ' + QByteArray::number(it->inode) + ' '
                   + QByteArray::number(it->size) + ' ' + QByteArray::number(it->modifiedNs) + ' ' + it.key().toUtf8()
                   + '\n');
    }
    file.close();
    m_changed = false;
    return file.error() == QFile::NoError && ::rename(QFile::encodeName(work).constData(), QFile::encodeName(path).constData()) == 0;
}

bool FileStamps::matches(const QString& file, const struct stat& st, const git_oid& blob) const
{
    const auto found = m_stamps.constFind(file);
    if (found == m_stamps.cend())
        return false;
    const Stamp now = stampOf(st, blob);
    return found->device == now.device && found->inode == now.inode && found->size == now.size
        && found->modifiedNs == now.modifiedNs && git_oid_equal(&found->blob, &blob);
}

void FileStamps::set(const QString& file, const struct stat& st, const git_oid& blob)
{
    m_stamps.insert(file, stampOf(st, blob));
    m_changed = true;
}

bool FileStamps::read(const QString& file, const QString& absolutePath, const git_oid& blob, QByteArray* bytes,
                      std::unique_ptr<PosixIo::PrivateBytes>* holder) const
{
    struct stat st;
    const QByteArray name = QFile::encodeName(absolutePath);
    if (::lstat(name.constData(), &st) != 0 || !matches(file, st, blob))
        return false;
    QFile source(absolutePath);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    struct stat opened;
    if (holder && ::fstat(source.handle(), &opened) == 0 && opened.st_size == st.st_size) {
        auto mapped = std::make_unique<PosixIo::PrivateBytes>(source.handle(), qint64(st.st_size));
        if (mapped->isValid()) {
            *bytes = QByteArray::fromRawData(mapped->data(), mapped->size());
            *holder = std::move(mapped);
            return true;
        }
    }
    *bytes = source.readAll();
    return bytes->size() == st.st_size;
}

} // namespace History
