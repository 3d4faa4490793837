#include "serversession.h"

#include "protocol.h"

#include <QTcpSocket>

#include <algorithm>

namespace {
// Clients send only short messages; anything bigger is a broken peer.
constexpr int MaxRequestSize = 1024;
constexpr int HelloTimeoutMs = 10000;
// Answers waiting for a peer that does not read; one more and the peer goes.
constexpr int MaxQueuedAnswers = 2;
} // namespace

ServerSession::ServerSession(QTcpSocket* socket, const QByteArray& catalogueFrame, int idleTimeoutMs, QObject* parent)
    : QObject(parent)
    , m_socket(socket)
    , m_catalogueFrame(catalogueFrame)
    , m_reader(MaxRequestSize)
    , m_idleTimeoutMs(idleTimeoutMs)
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &ServerSession::readFrames);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, &ServerSession::drop);
    m_idle.start(std::min(HelloTimeoutMs, m_idleTimeoutMs));
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        deleteLater();
}

void ServerSession::readFrames()
{
    m_reader.append(m_socket->readAll());
    quint8 type = 0;
    QByteArray payload;
    while (m_reader.takeFrame(&type, &payload)) {
        if (type == QNetData::Protocol::Hello && QNetData::Protocol::isHello(payload)) {
            if (m_socket->bytesToWrite() >= MaxQueuedAnswers * m_catalogueFrame.size()) {
                drop();
                return;
            }
            m_socket->write(m_catalogueFrame);
            m_greeted = true;
        } else if (type != QNetData::Protocol::KeepAlive || !payload.isEmpty()) {
            const QByteArray reason = QStringLiteral("неизвестное сообщение или версия протокола").toUtf8();
            m_socket->write(QNetData::FrameReader::encode(QNetData::Protocol::Refusal, reason));
            m_socket->disconnectFromHost();
            return;
        }
        // Until its Hello a peer has only the greeting deadline, whatever else it sends.
        if (m_greeted)
            m_idle.start(m_idleTimeoutMs);
    }
    if (m_reader.isBroken())
        drop();
}

void ServerSession::drop()
{
    m_idle.stop();
    m_socket->abort();
    deleteLater();
}
