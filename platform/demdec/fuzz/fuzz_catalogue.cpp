// A server's catalogue of any content. What reads must write and read back equal.

#include "catalogue.h"
#include "fuzztarget.h"

#include <cstdlib>

using DemDecData::Catalogue;

void orvaneFuzzSeeds(const QString& folder)
{
    Fuzz::writeSeed(folder, Fuzz::readFile(QStringLiteral(ORVANE_SOURCE_DIR "/sample/demdec/catalogue.xml")));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Catalogue catalogue;
    Xml::ReadError error;
    if (!Catalogue::fromXml(bytes, &catalogue, &error))
        return 0;
    Catalogue again;
    if (!Catalogue::fromXml(catalogue.toXml(), &again, &error) || !(again == catalogue))
        std::abort();
    return 0;
}
