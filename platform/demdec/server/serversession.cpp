#include "serversession.h"

#include "protocol.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
// Clients send only short messages; anything bigger is a broken peer.
constexpr int MaxRequestSize = 1024;
constexpr int HelloTimeoutMs = 10000;
}

ServerSession::ServerSession(QTcpSocket* socket, const QByteArray& catalogueFrame, QObject* parent)
    : QObject(parent)
    , m_socket(socket)
    , m_catalogueFrame(catalogueFrame)
    , m_reader(MaxRequestSize)
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &ServerSession::readFrames);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    QTimer::singleShot(HelloTimeoutMs, this, [this] {
        if (!m_greeted)
            drop();
    });
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
            m_greeted = true;
            m_socket->write(m_catalogueFrame);
        } else {
            const QByteArray reason = QStringLiteral("неизвестное сообщение или версия протокола").toUtf8();
            m_socket->write(QNetData::FrameReader::encode(QNetData::Protocol::Refusal, reason));
            m_socket->disconnectFromHost();
            return;
        }
    }
    if (m_reader.isBroken())
        drop();
}

void ServerSession::drop()
{
    m_socket->abort();
    deleteLater();
}
