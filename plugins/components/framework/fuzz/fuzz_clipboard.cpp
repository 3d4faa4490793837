// Clipboard bytes of any content pasted into a component table: the input is the record
// element's name (which table), a line break, then the clipboard's bytes. Each record read is
// also copied again and must read back the same.

#include "complexgenerator.h"
#include "componentclipboard.h"
#include "configreader.h"
#include "configwriter.h"
#include "fuzztarget.h"

#include <QXmlStreamWriter>

#include <cstdlib>

using namespace CoConfig;

namespace {

template <typename T>
QByteArray documentOf(const T& record)
{
    return ComponentClipboard::writeDocument(
        Xml::elementName<T>(), [&record](QXmlStreamWriter& writer) { Xml::ConfigWriter::write(writer, record); });
}

template <typename T>
bool readOne(const QByteArray& document, T* record)
{
    return ComponentClipboard::readDocument(document, Xml::elementName<T>(),
                                            [record](QXmlStreamReader& reader) { Xml::ConfigReader::read(reader, *record); });
}

// Pastes the bytes as records of T; true when T is the table the name picks.
template <typename T>
bool paste(const QByteArray& name, const QByteArray& bytes)
{
    if (name != Xml::elementName<T>())
        return false;
    ComponentClipboard::unpack(bytes, [](const QByteArray& document) {
        T record;
        if (!readOne(document, &record))
            return;
        T again;
        if (!readOne(documentOf(record), &again) || documentOf(again) != documentOf(record))
            std::abort(); // a copy of what was pasted would not paste the same
    });
    return true;
}

template <typename Map>
void seed(const QString& folder, const Map& records)
{
    QList<QByteArray> documents;
    for (const auto& record : records)
        documents.append(documentOf(record));
    if (!documents.isEmpty())
        Fuzz::writeSeed(folder, QByteArray(Xml::elementName<typename Map::mapped_type>()) + '\n'
                                    + ComponentClipboard::pack(documents));
}

} // namespace

void orvaneFuzzSeeds(const QString& folder)
{
    const ComplexData data = StoreTest::generateComplex(StoreTest::ComplexSizes(), 0);
    seed(folder, data.racks);
    seed(folder, data.computers);
    seed(folder, data.power.ups);
    seed(folder, data.power.pdus);
    seed(folder, data.power.openSensors);
    seed(folder, data.power.powerSockets);
    seed(folder, data.receivers.receivers);
    seed(folder, data.receivers.channelServers);
    seed(folder, data.receivers.antennaServers);
    seed(folder, data.receivers.antennaPools);
    seed(folder, data.receivers.antennaControls);
    seed(folder, data.receivers.channels);
    seed(folder, data.receivers.channelParams);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray name;
    QByteArray bytes;
    Fuzz::splitName(data, size, &name, &bytes);
    paste<Rack>(name, bytes) || paste<Computer>(name, bytes) || paste<Ups>(name, bytes) || paste<Pdu>(name, bytes)
        || paste<OpenSensor>(name, bytes) || paste<PowerSocket>(name, bytes) || paste<Receiver>(name, bytes)
        || paste<ChannelServer>(name, bytes) || paste<AntennaServer>(name, bytes) || paste<AntennaPool>(name, bytes)
        || paste<AntennaControl>(name, bytes) || paste<Channel>(name, bytes) || paste<ChannelParam>(name, bytes);
    return 0;
}
