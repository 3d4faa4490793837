#include "blobwriter.h"

#include "freedmemory.h"
#include "gitptr.h"
#include "posixio.h"

#include <git2/sys/odb_backend.h>
#include <git2/sys/repository.h>

#include <libdeflate.h>
#include <openssl/evp.h>

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace History {

namespace {

constexpr int ObjectCompression = 1; // of the repository's own objects

using GitOdb = GitPtr<git_odb, git_odb_free>;

// An object database of the directory whose loose objects are written at that compression.
GitOdb quickOdb(const QString& objectsDir)
{
    const QByteArray objects = QFile::encodeName(objectsDir);
    git_odb* odb = nullptr;
    git_odb_backend* loose = nullptr;
    git_odb_backend* packed = nullptr;
    if (git_odb_new(&odb) != 0)
        return nullptr;
    GitOdb result(odb);
    if (git_odb_backend_loose(&loose, objects.constData(), ObjectCompression, 0, 0, 0) != 0
        || git_odb_add_backend(odb, loose, 1) != 0 || git_odb_backend_pack(&packed, objects.constData()) != 0
        || git_odb_add_backend(odb, packed, 2) != 0)
        return nullptr;
    return result;
}

} // namespace

BlobWriter::BlobWriter(const QString& objectsDir, QList<File> files)
    : m_objectsDir(objectsDir), m_files(std::move(files))
{
    if (!m_files.isEmpty())
        m_thread = std::thread(&BlobWriter::run, this);
}

BlobWriter::~BlobWriter()
{
    finish();
}

const QList<BlobWriter::File>& BlobWriter::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_files;
}

void BlobWriter::useQuickObjects(git_repository* repository)
{
    const GitOdb odb = quickOdb(QFile::decodeName(git_repository_path(repository)) + QStringLiteral("objects"));
    if (odb)
        git_repository_set_odb(repository, odb.get());
}

namespace {

using Compressor = std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)>;
using Digest = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

// A loose object's zlib stream without a copy of the content: the object's header in a stored
// (uncompressed) block, which ends on a byte, then the content deflated on its own (deflate
// blocks may follow any block), then the checksum of both.
QByteArray zlibStream(const QByteArray& header, const char* content, size_t size)
{
    const Compressor compressor(libdeflate_alloc_compressor(1), &libdeflate_free_compressor);
    if (!compressor)
        return {};
    const size_t headerSize = size_t(header.size());
    const size_t lead = 2 + 5 + headerSize;
    QByteArray stream(qsizetype(lead + libdeflate_deflate_compress_bound(compressor.get(), size) + 4), Qt::Uninitialized);
    uchar* out = reinterpret_cast<uchar*>(stream.data());
    const uchar head[] = {0x78, 0x01, // deflate, 32K window, the fastest level
                          0x00,       // a stored block, not the last
                          uchar(headerSize), uchar(headerSize >> 8), uchar(~headerSize), uchar(~headerSize >> 8)};
    std::memcpy(out, head, sizeof head);
    std::memcpy(out + sizeof head, header.constData(), headerSize);
    const size_t packed = libdeflate_deflate_compress(compressor.get(), content, size, out + lead, size_t(stream.size()) - lead - 4);
    if (packed == 0)
        return {};
    quint32 adler = libdeflate_adler32(1, header.constData(), headerSize);
    adler = libdeflate_adler32(adler, content, size);
    uchar* tail = out + lead + packed;
    for (int i = 0; i < 4; ++i)
        tail[i] = uchar(adler >> (24 - 8 * i));
    stream.truncate(qsizetype(lead + packed + 4));
    return stream;
}

} // namespace

// A loose object as git writes it (its id the SHA-1 of "blob <size>\0" and the content, its
// file a zlib stream of the same), hashed and compressed here: several times faster than
// libgit2's own writer, which a save of a large file would wait for.
bool BlobWriter::writeLoose(const char* content, qsizetype size, File* file) const
{
    const QByteArray header = "blob " + QByteArray::number(size) + '\0';
    unsigned char sha[EVP_MAX_MD_SIZE];
    unsigned int shaSize = 0;
    const Digest digest(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!digest || EVP_DigestInit_ex(digest.get(), EVP_sha1(), nullptr) != 1
        || EVP_DigestUpdate(digest.get(), header.constData(), size_t(header.size())) != 1
        || EVP_DigestUpdate(digest.get(), content, size_t(size)) != 1
        || EVP_DigestFinal_ex(digest.get(), sha, &shaSize) != 1 || shaSize != GIT_OID_RAWSZ) {
        file->error = QStringLiteral("Не удалось вычислить имя \"%1\" в истории").arg(file->path);
        return false;
    }
    git_oid_fromraw(&file->id, sha);
    const QString hex = oidText(file->id);
    const QString folder = m_objectsDir + QLatin1Char('/') + hex.left(2);
    const QByteArray target = QFile::encodeName(folder + QLatin1Char('/') + hex.mid(2));
    if (::access(target.constData(), F_OK) == 0)
        return true; // the same content, written before

    const auto failed = [file](const QString& action, const QString& path, int cause) {
        file->error = PosixIo::failure(action, path, cause);
        return false;
    };
    const QByteArray stream = zlibStream(header, content, size_t(size));
    if (stream.isEmpty())
        return failed(QStringLiteral("сжать файл"), file->path, ENOMEM);
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST)
        return failed(QStringLiteral("создать каталог"), folder, errno);
    // As git writes them: read-only, within the writer's umask (the group's where it is shared).
    const QString temp = folder + QStringLiteral("/tmp_obj_") + PosixIo::newWorkId();
    const QByteArray tempName = QFile::encodeName(temp);
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0444);
    if (fd < 0)
        return failed(QStringLiteral("создать файл"), temp, errno);
    int cause = 0;
    const bool written = PosixIo::writeAll(fd, stream.constData(), stream.size(), &cause);
    if (::close(fd) != 0 && written)
        cause = errno;
    if (!written || cause != 0 || ::rename(tempName.constData(), target.constData()) != 0) {
        if (cause == 0)
            cause = errno;
        ::unlink(tempName.constData());
        return failed(QStringLiteral("записать файл"), temp, cause);
    }
    return true;
}

void BlobWriter::run()
{
    for (File& file : m_files) {
        QByteArray bytes = file.bytes;
        if (bytes.isNull()) {
            QFile source(file.absolute);
            if (source.open(QIODevice::ReadOnly))
                bytes = source.readAll();
            if (source.error() != QFileDevice::NoError) {
                file.error = QStringLiteral("Не удалось прочитать \"%1\": %2").arg(file.absolute, source.errorString());
                continue;
            }
        }
        writeLoose(bytes.constData(), bytes.size(), &file);
    }
    FreedMemory::giveBack(); // of whole files and their streams
}

} // namespace History
