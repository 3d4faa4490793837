// What a demodulation/decoding server or client receives: a TCP stream of frames, cut into
// pieces of any size (the first byte sets the size), and search datagrams.

#include "catalogue.h"
#include "framereader.h"
#include "fuzztarget.h"
#include "protocol.h"

namespace Protocol = QNetData::Protocol;
using QNetData::FrameReader;

void orvaneFuzzSeeds(const QString& folder)
{
    const QByteArray catalogue = Fuzz::readFile(QStringLiteral(ORVANE_SOURCE_DIR "/sample/demdec/catalogue.xml"));
    const QByteArray stream = FrameReader::encode(Protocol::Hello, Protocol::hello())
                              + FrameReader::encode(Protocol::Catalogue, catalogue)
                              + FrameReader::encode(Protocol::KeepAlive, QByteArray())
                              + FrameReader::encode(Protocol::Refusal, QByteArrayLiteral("busy"));
    for (const char piece : {char(1), char(7), char(64)})
        Fuzz::writeSeed(folder, QByteArray(1, piece) + stream);
    Fuzz::writeSeed(folder, QByteArray(1, 0) + Protocol::searchQuery(42));
    Fuzz::writeSeed(folder, QByteArray(1, 0) + Protocol::searchAnswer(42, 11310, QStringLiteral("Сервер ДД")));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    quint32 token = 0;
    quint16 port = 0;
    QString name;
    Protocol::readSearchQuery(input, &token);
    Protocol::readSearchAnswer(input, 42, &port, &name);

    FrameReader reader(64 * 1024);
    const qsizetype piece = qMax(1, int(data[0]));
    for (qsizetype at = 0; at < input.size() && !reader.isBroken(); at += piece) {
        reader.append(input.mid(at, piece));
        quint8 type = 0;
        QByteArray payload;
        while (reader.takeFrame(&type, &payload)) {
            if (type == Protocol::Hello) {
                Protocol::isHello(payload);
            } else if (type == Protocol::Catalogue) {
                DemDecData::Catalogue catalogue;
                Xml::ReadError error;
                DemDecData::Catalogue::fromXml(payload, &catalogue, &error);
            }
        }
    }
    return 0;
}
