// The store reading one kind's file of any content: the input is the file's path in the
// configuration directory, a line break, then the file's bytes.

#include "complexconfig.h"
#include "fuzztarget.h"
#include "kindfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using CoConfig::KindFile;

void orvaneFuzzSeeds(const QString& folder)
{
    const QDir sample(QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex"));
    for (const KindFile* kind : KindFile::all()) {
        if (QFile::exists(sample.filePath(kind->path())))
            Fuzz::writeSeed(folder, kind->path().toUtf8() + '\n' + Fuzz::readFile(sample.filePath(kind->path())));
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir temp;
    QByteArray name;
    QByteArray bytes;
    Fuzz::splitName(data, size, &name, &bytes);
    const QList<const KindFile*>& kinds = KindFile::all();
    const KindFile* kind = kinds.at(int(size_t(name.size()) % size_t(kinds.size())));
    for (const KindFile* candidate : kinds) {
        if (candidate->path().toUtf8() == name)
            kind = candidate;
    }

    QDir dir(temp.filePath(QStringLiteral("complex")));
    dir.removeRecursively();
    const QString path = dir.filePath(kind->path());
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 0;
    file.close();

    CoConfig::ComplexConfig store(dir.path(), CoConfig::ObjectAll, 0);
    (void)store.errorString();
    return 0;
}
