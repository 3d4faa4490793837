// Measures what a hostile or merely large peer costs the demodulation/decoding parts:
// - the client's reading of a catalogue of 1,000 to 40,000 entries (the check of its ids);
// - the server's memory while a client sends Hello after Hello and reads nothing.
//   orvane-bench-demdec
#include "catalogue.h"
#include "framereader.h"
#include "protocol.h"
#include "serverprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray catalogueXml(int entries)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<demdec_catalogue>\n";
    for (int i = 0; i < entries; ++i)
        xml += "    <demdec_task id=\"" + QByteArray::number(100000 + i)
               + "\" aaa=\"8000\" bbb=\"0\" ccc=\"0\" name=\"Демодулятор " + QByteArray::number(i)
               + "\" group=\"Демодуляторы\" subgroup=\"Аналоговые\" caps=\"audio\"/>\n";
    return xml + "</demdec_catalogue>\n";
}

void catalogueCheck(int entries)
{
    const QByteArray xml = catalogueXml(entries);
    DemDecData::Catalogue catalogue;
    Xml::ReadError error;
    QElapsedTimer timer;
    timer.start();
    const bool read = DemDecData::Catalogue::fromXml(xml, &catalogue, &error);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("catalogue of %6d entries (%5.1f MB): %9.1f ms  %s\n", entries, double(xml.size()) / 1e6, ms,
                read ? "read" : qPrintable(QStringLiteral("refused: ") + error.toString()));
}

// The server's resident memory (VmRSS) and its peak (VmHWM), in MB.
QString serverMemory(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("gone");
    QStringList parts;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:") || line.startsWith("VmHWM:"))
            parts << QString::fromLatin1(line.simplified());
    }
    return parts.join(QStringLiteral(", "));
}

bool floodServer(int hellos)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("catalogue.xml"));
    QFile file(path);
    const QByteArray xml = catalogueXml(5000);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size())
        return false;
    file.close();
    ServerProcess server;
    if (!server.start(path)) {
        std::fprintf(stderr, "server: %s\n", qPrintable(server.error()));
        return false;
    }
    std::printf("server with a catalogue of %.1f MB: %s\n", double(xml.size()) / 1e6,
                qPrintable(serverMemory(server.processId())));

    QTcpSocket client;
    client.setReadBufferSize(1); // takes one byte, then reads nothing more
    client.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    if (!client.waitForConnected(5000))
        return false;
    const QByteArray hello = QNetData::FrameReader::encode(QNetData::Protocol::Hello, QNetData::Protocol::hello());
    client.write(hello.repeated(hellos));
    client.flush();
    // Time for the server to take the Hellos and queue what it answers.
    QDeadlineTimer settle(2000);
    while (!settle.hasExpired())
        client.waitForReadyRead(int(settle.remainingTime()));
    const QString memory = serverMemory(server.processId());
    // Reading now shows whether the server kept the connection.
    client.setReadBufferSize(0);
    QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired() && client.state() == QAbstractSocket::ConnectedState) {
        client.readAll();
        client.waitForReadyRead(int(deadline.remainingTime()));
    }
    std::printf("after %d Hellos from a client that reads nothing: %s; the connection was %s\n", hellos,
                qPrintable(memory), client.state() == QAbstractSocket::ConnectedState ? "kept" : "dropped");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (int entries : {1000, 10000, 40000})
        catalogueCheck(entries);
    return floodServer(1000000) ? 0 : 1;
}
