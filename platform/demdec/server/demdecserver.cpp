#include "demdecserver.h"

#include "framereader.h"
#include "protocol.h"
#include "serversession.h"

#include <QNetworkDatagram>
#include <QTcpSocket>

namespace {
constexpr int MaxSessions = 64;
}

DemDecServer::DemDecServer(const QByteArray& catalogueXml, const QString& name, int idleTimeoutMs, QObject* parent)
    : QObject(parent)
    , m_catalogueFrame(QNetData::FrameReader::encode(QNetData::Protocol::Catalogue, catalogueXml))
    , m_name(name)
    , m_idleTimeoutMs(idleTimeoutMs)
{
    connect(&m_tcp, &QTcpServer::newConnection, this, &DemDecServer::acceptConnections);
    connect(&m_udp, &QUdpSocket::readyRead, this, &DemDecServer::answerSearches);
}

bool DemDecServer::listen(const QHostAddress& address, quint16 port, int searchPort, QString* error)
{
    m_tcp.setMaxPendingConnections(MaxSessions);
    m_tcp.setListenBacklogSize(MaxSessions);
    if (!m_tcp.listen(address, port)) {
        *error = QStringLiteral("TCP %1:%2: %3").arg(address.toString()).arg(port).arg(m_tcp.errorString());
        return false;
    }
    if (searchPort < 0)
        searchPort = m_tcp.serverPort();
    if (!m_udp.bind(address, quint16(searchPort))) {
        *error = QStringLiteral("UDP %1:%2: %3").arg(address.toString()).arg(searchPort).arg(m_udp.errorString());
        m_tcp.close();
        return false;
    }
    return true;
}

void DemDecServer::acceptConnections()
{
    while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
        if (m_sessions >= MaxSessions) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* session = new ServerSession(socket, m_catalogueFrame, m_idleTimeoutMs, this);
        ++m_sessions;
        connect(session, &QObject::destroyed, this, [this] { --m_sessions; });
    }
}

void DemDecServer::answerSearches()
{
    while (m_udp.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_udp.receiveDatagram(QNetData::Protocol::MaxDatagramSize);
        quint32 token = 0;
        if (datagram.isValid() && QNetData::Protocol::readSearchQuery(datagram.data(), &token))
            m_udp.writeDatagram(datagram.makeReply(QNetData::Protocol::searchAnswer(token, port(), m_name)));
    }
}
