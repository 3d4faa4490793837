#include "blobwriter.h"

#include "gitptr.h"

#include <git2/sys/odb_backend.h>
#include <git2/sys/repository.h>

#include <libdeflate.h>
#include <openssl/evp.h>

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace History {

namespace {

constexpr int ObjectCompression = 1;

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

// "blob <size>\0" and then the content: a loose object before its compression.
QByteArray objectOf(const QByteArray& header, qsizetype size)
{
    QByteArray object(header.size() + size, Qt::Uninitialized);
    std::memcpy(object.data(), header.constData(), size_t(header.size()));
    return object;
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= size_t(done);
    }
    return true;
}

} // namespace

// A loose object as git writes it (its id the SHA-1 of the object, its file the object deflated
// with a zlib header), hashed and compressed here: several times faster than libgit2's own
// writer, which a save of a large file would wait for.
bool BlobWriter::writeLoose(const QByteArray& object, File* file) const
{
    unsigned char sha[EVP_MAX_MD_SIZE];
    unsigned int shaSize = 0;
    const Digest digest(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!digest || EVP_DigestInit_ex(digest.get(), EVP_sha1(), nullptr) != 1
        || EVP_DigestUpdate(digest.get(), object.constData(), size_t(object.size())) != 1
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

    const Compressor compressor(libdeflate_alloc_compressor(ObjectCompression), &libdeflate_free_compressor);
    QByteArray packed(compressor ? qsizetype(libdeflate_zlib_compress_bound(compressor.get(), size_t(object.size()))) : 0,
                      Qt::Uninitialized);
    const size_t packedSize = compressor ? libdeflate_zlib_compress(compressor.get(), object.constData(),
                                                                    size_t(object.size()), packed.data(), size_t(packed.size()))
                                         : 0;
    const auto failed = [file](const QString& what, int cause) {
        file->error = QStringLiteral("Не удалось записать \"%1\" в историю: %2: %3")
                          .arg(file->path, what, QString::fromLocal8Bit(std::strerror(cause)));
        return false;
    };
    if (packedSize == 0)
        return failed(QStringLiteral("сжатие"), ENOMEM);
    const QByteArray dir = QFile::encodeName(folder);
    if (::mkdir(dir.constData(), 0777) != 0 && errno != EEXIST)
        return failed(folder, errno);
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 10; ++attempt) {
        temp = dir + "/tmp_obj_" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0444);
        if (fd < 0 && errno != EEXIST)
            return failed(QFile::decodeName(temp), errno);
    }
    if (fd < 0)
        return failed(QFile::decodeName(temp), EEXIST);
    const bool written = writeAll(fd, packed.constData(), packedSize);
    const int cause = errno;
    if (::close(fd) != 0 || !written || ::rename(temp.constData(), target.constData()) != 0) {
        const int error = written ? errno : cause;
        ::unlink(temp.constData());
        return failed(QFile::decodeName(target), error);
    }
    return true;
}

void BlobWriter::run()
{
    for (File& file : m_files) {
        QFile source(file.absolute);
        if (file.bytes.isNull() && !source.open(QIODevice::ReadOnly)) {
            file.error = QStringLiteral("Не удалось прочитать \"%1\": %2").arg(file.absolute, source.errorString());
            continue;
        }
        const qsizetype size = file.bytes.isNull() ? qsizetype(source.size()) : file.bytes.size();
        const QByteArray header = "blob " + QByteArray::number(size) + '\0';
        QByteArray object = objectOf(header, size);
        if (file.bytes.isNull()) {
            if (source.read(object.data() + header.size(), size) != size) {
                file.error = QStringLiteral("Не удалось прочитать \"%1\": %2").arg(file.absolute, source.errorString());
                continue;
            }
        } else {
            std::memcpy(object.data() + header.size(), file.bytes.constData(), size_t(size));
        }
        writeLoose(object, &file);
    }
}

} // namespace History
