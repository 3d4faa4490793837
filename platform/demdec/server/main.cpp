// orvane-demdec-server: serves a catalogue of demodulators and decoders to Orvane's .ddt editor.
#include "catalogue.h"
#include "demdecserver.h"
#include "protocol.h"
#include "regularfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-demdec-server"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Demodulation/decoding server for the .ddt editor."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption catalogueOption("catalogue", "Catalogue file (XML).", "file");
    const QCommandLineOption addressOption("address", "Address to listen on.", "address", "127.0.0.1");
    const QCommandLineOption portOption("port", "TCP port (0: any free one).", "port", "11310");
    const QCommandLineOption searchPortOption("search-port", "UDP port for searches (default: the TCP port).", "port");
    const QCommandLineOption nameOption("name", "Name given in search answers.", "name", "Сервер ДД");
    const QCommandLineOption idleOption("idle-timeout", "Drop a client silent for this long (ms).", "ms",
                                        QString::number(QNetData::Protocol::IdleTimeoutMs));
    parser.addOptions({catalogueOption, addressOption, portOption, searchPortOption, nameOption, idleOption});
    parser.process(app);

    QTextStream err(stderr);
    const auto readPort = [&](const QCommandLineOption& option, quint16* port) {
        bool ok = false;
        const uint value = parser.value(option).toUInt(&ok);
        *port = quint16(value);
        if (!ok || value > 65535)
            err << "invalid port: " << parser.value(option) << Qt::endl;
        return ok && value <= 65535;
    };

    if (!parser.isSet(catalogueOption)) {
        err << "--catalogue is required" << Qt::endl;
        return 2;
    }
    const QString path = parser.value(catalogueOption);
    QByteArray xml;
    QString readError;
    if (!DemDecData::readRegularFile(path, DemDecData::Catalogue::MaxBytes, &xml, &readError)) {
        err << path << ": " << readError << Qt::endl;
        return 1;
    }
    DemDecData::Catalogue catalogue;
    Xml::ReadError parseError;
    if (!DemDecData::Catalogue::fromXml(xml, &catalogue, &parseError)) {
        err << path << ": " << parseError.toString() << Qt::endl;
        return 1;
    }
    // Written in full, a catalogue may grow beyond what one frame carries.
    const QByteArray sent = catalogue.toXml();
    if (sent.size() > DemDecData::Catalogue::MaxBytes) {
        err << path << ": the catalogue takes " << sent.size() << " bytes, more than one message carries ("
            << DemDecData::Catalogue::MaxBytes << ")" << Qt::endl;
        return 1;
    }
    bool idleOk = false;
    const int idleTimeout = parser.value(idleOption).toInt(&idleOk);
    if (!idleOk || idleTimeout <= 0) {
        err << "invalid idle timeout: " << parser.value(idleOption) << Qt::endl;
        return 2;
    }

    const QHostAddress address(parser.value(addressOption));
    quint16 port = 0;
    quint16 searchPort = 0;
    if (address.isNull()) {
        err << "invalid address: " << parser.value(addressOption) << Qt::endl;
        return 2;
    }
    if (!readPort(portOption, &port))
        return 2;
    if (parser.isSet(searchPortOption) && !readPort(searchPortOption, &searchPort))
        return 2;

    DemDecServer server(sent, parser.value(nameOption), idleTimeout);
    QString error;
    if (!server.listen(address, port, parser.isSet(searchPortOption) ? searchPort : -1, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << "listening " << address.toString() << ' ' << server.port() << ' '
                        << server.searchPort() << Qt::endl;
    return app.exec();
}
