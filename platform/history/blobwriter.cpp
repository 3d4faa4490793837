#include "blobwriter.h"

#include "gitptr.h"

#include <git2/sys/odb_backend.h>
#include <git2/sys/repository.h>

#include <QFile>

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

void BlobWriter::run()
{
    const GitOdb odb = quickOdb(m_objectsDir);
    for (File& file : m_files) {
        if (!odb) {
            file.error = gitError(QStringLiteral("Не удалось открыть объекты истории"));
            continue;
        }
        QByteArray bytes = file.bytes;
        QFile source(file.absolute);
        if (file.bytes.isNull() && !source.open(QIODevice::ReadOnly)) {
            file.error = QStringLiteral("Не удалось прочитать \"%1\": %2").arg(file.absolute, source.errorString());
            continue;
        }
        if (file.bytes.isNull())
            bytes = source.readAll();
        if (git_odb_write(&file.id, odb.get(), bytes.constData(), size_t(bytes.size()), GIT_OBJECT_BLOB) != 0)
            file.error = gitError(QStringLiteral("Не удалось записать \"%1\" в историю").arg(file.path));
    }
}

} // namespace History
