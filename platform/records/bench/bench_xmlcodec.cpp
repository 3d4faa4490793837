// Writes and reads back a document of many records, as the store does with its files,
// and prints the time of each step. Usage: orvane-bench-codec [record count]
#include "configreader.h"
#include "configwriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstdio>

namespace {

CoConfig::Computer computer(int i)
{
    CoConfig::Computer c;
    c.uid.value = i;
    c.rack.value = i / 40;
    c.name = QString::fromUtf8("АРМ оператора %1").arg(i);
    c.ipAddress = QStringLiteral("10.%1.%2.%3").arg(i >> 16 & 255).arg(i >> 8 & 255).arg(i & 255);
    c.flags = {CoConfig::ComputerFlag::Workstation, CoConfig::ComputerFlag::DataServer};
    c.registrations.insert(QStringLiteral("user%1").arg(i), i);
    c.registrations.insert(QStringLiteral("admin"), 0);
    return c;
}

CoConfig::Channel channel(int i)
{
    CoConfig::Channel c;
    c.uid.value = i;
    c.name = QString::fromUtf8("Канал %1").arg(i);
    c.cassetteType.value = i % 7;
    c.module = i % 5;
    c.fixed = i % 2;
    c.scale = 3;
    c.receiver.value = i / 8;
    c.cassette = i % 8;
    c.channelServer.value = i / 64;
    c.serverIndex = i % 64;
    c.antennaControl.value = i / 16;
    return c;
}

template <typename T>
QList<T> makeRecords(int count, T (*make)(int))
{
    QList<T> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i)
        records.append(make(i));
    return records;
}

template <typename T>
void measure(const char* title, const QList<T>& records)
{
    const QString element = QLatin1String(Xml::elementName<T>());
    QElapsedTimer timer;

    timer.start();
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Records"));
    for (const T& record : records) {
        writer.writeStartElement(element);
        Xml::ConfigWriter::write(writer, record);
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    const qint64 writeMs = timer.elapsed();

    timer.start();
    QList<T> read;
    read.reserve(records.size());
    QXmlStreamReader reader(bytes);
    reader.readNextStartElement();
    while (reader.readNextStartElement()) {
        T record;
        Xml::ConfigReader::read(reader, record);
        read.append(record);
    }
    const qint64 readMs = timer.elapsed();

    // The parser's own share: the same document scanned without the codec.
    timer.start();
    QXmlStreamReader scan(bytes);
    qsizetype attributes = 0;
    while (!scan.atEnd()) {
        if (scan.readNext() == QXmlStreamReader::StartElement)
            attributes += scan.attributes().size();
    }
    const qint64 scanMs = timer.elapsed();

    const bool same = !reader.hasError() && read == records;
    std::printf("%-10s %7lld records %6.1f MB  write %5lld ms  read %5lld ms  (scan alone %5lld ms, %lld attributes)  %s\n",
                title, static_cast<long long>(records.size()), bytes.size() / 1e6, static_cast<long long>(writeMs),
                static_cast<long long>(readMs), static_cast<long long>(scanMs), static_cast<long long>(attributes),
                same ? "read back equal" : "READ BACK DIFFERENT");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    measure("Computer", makeRecords(count, computer));
    measure("Channel", makeRecords(count, channel));
    return 0;
}
