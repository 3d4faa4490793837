#include "fuzztarget.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt's text codecs and file system need an application object.
    static std::unique_ptr<QCoreApplication> application(new QCoreApplication(*argc, *argv));
    const QString seeds = qEnvironmentVariable("ORVANE_FUZZ_SEEDS");
    if (!seeds.isEmpty()) {
        if (!QDir().mkpath(seeds)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(seeds));
            std::exit(1);
        }
        orvaneFuzzSeeds(seeds);
        std::exit(QDir(seeds).isEmpty() ? 1 : 0);
    }
    return 0;
}

namespace Fuzz {

void writeSeed(const QString& folder, const QByteArray& bytes)
{
    const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

void splitName(const uint8_t* data, size_t size, QByteArray* name, QByteArray* bytes)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype end = input.indexOf('\n');
    *name = end < 0 ? input : input.left(end);
    *bytes = end < 0 ? QByteArray() : input.mid(end + 1);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

} // namespace Fuzz
