// A .ddt file of any content. What reads must write, and what it writes must read back and
// write the same bytes again.

#include "ddtformat.h"
#include "ddtnode.h"
#include "fuzztarget.h"

#include <QDirIterator>

#include <cstdlib>

using DemDecData::DdtFormat;

void orvaneFuzzSeeds(const QString& folder)
{
    QDirIterator files(QStringLiteral(ORVANE_SOURCE_DIR "/sample/ddt"), {QStringLiteral("*.ddt")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        Fuzz::writeSeed(folder, Fuzz::readFile(files.next()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (qint64(size) > DdtFormat::MaxFileSize)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Xml::ReadError error;
    const std::unique_ptr<DemDecData::DdtNode> root = DdtFormat::read(bytes, 64, &error);
    if (!root)
        return 0;
    const QByteArray written = DdtFormat::write(*root);
    const std::unique_ptr<DemDecData::DdtNode> again = DdtFormat::read(written, 64, &error);
    if (!again || DdtFormat::write(*again) != written)
        std::abort(); // the editor would write a file it cannot reopen, or changes it at each save
    return 0;
}
