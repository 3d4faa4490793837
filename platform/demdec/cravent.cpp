#include "cravent.h"

#include "globalconfig.h"
#include "protocol.h"
#include "searchtarget.h"

#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QUdpSocket>

#include <algorithm>

namespace {

QHostAddress plainAddress(const QHostAddress& address)
{
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(ipv4) : address;
}

} // namespace

Cravent::Cravent(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<QNetData::QError>();
    qRegisterMetaType<DemDecData::QServerStatus>();
    qRegisterMetaType<QList<DemDecData::QServerStatus>>();

    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        fail(QNetData::QError(QNetData::QError::Timeout,
                              tr("Сервер %1:%2 не ответил за %3 мс")
                                  .arg(m_server.address()).arg(m_server.port()).arg(m_connectTimeoutMs)));
    });
    connect(&m_keepAlive, &QTimer::timeout, this, [this] {
        m_socket->write(QNetData::FrameReader::encode(QNetData::Protocol::KeepAlive, QByteArray()));
    });
    m_searchTimer.setSingleShot(true);
    connect(&m_searchTimer, &QTimer::timeout, this, &Cravent::finishSearch);
}

Cravent::~Cravent()
{
    dropSocket();
    stopSearch();
}

void Cravent::Connect(const QString& address, unsigned short port)
{
    dropSocket();
    m_reader.clear();
    m_server = DemDecData::QServerStatus(address.trimmed(), port);
    m_state = State::Connecting;
    const quint64 attempt = ++m_attempt;

    if (m_server.address().isEmpty() || port == 0) {
        // Reported from the event loop, as every other outcome is.
        QTimer::singleShot(0, this, [this, attempt] {
            if (attempt == m_attempt && m_state == State::Connecting)
                fail(QNetData::QError(QNetData::QError::NoAddress, tr("Не задан адрес или порт сервера ДД")));
        });
        return;
    }

    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_socket->write(QNetData::FrameReader::encode(QNetData::Protocol::Hello, QNetData::Protocol::hello()));
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &Cravent::readFrames);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &Cravent::socketFailed);
    connect(m_socket, &QTcpSocket::disconnected, this, &Cravent::socketFailed);
    m_connectTimer.start(m_connectTimeoutMs);
    m_socket->connectToHost(m_server.address(), port);
}

void Cravent::Connect(const DemDecData::QServerStatus& server)
{
    Connect(server.address(), server.port());
}

void Cravent::Disconnect()
{
    ++m_attempt;
    dropSocket();
    m_state = State::Offline;
}

bool Cravent::IsOFFLine() const
{
    return m_state != State::Online;
}

void Cravent::dropSocket()
{
    m_connectTimer.stop();
    m_keepAlive.stop();
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void Cravent::readFrames()
{
    m_reader.append(m_socket->readAll());
    quint8 type = 0;
    QByteArray payload;
    while (m_reader.takeFrame(&type, &payload)) {
        if (type == QNetData::Protocol::Catalogue && m_state == State::Connecting) {
            DemDecData::Catalogue catalogue;
            Xml::ReadError error;
            if (!DemDecData::Catalogue::fromXml(payload, &catalogue, &error)) {
                fail(QNetData::QError(QNetData::QError::ProtocolError,
                                      tr("Каталог сервера ДД не читается: %1").arg(error.toString())));
                return;
            }
            m_catalogue = catalogue;
            m_state = State::Online;
            m_connectTimer.stop();
            m_keepAlive.start(m_keepAliveMs);
            emit OnConnected(QNetData::QError());
            return;
        }
        if (type == QNetData::Protocol::Refusal) {
            fail(QNetData::QError(QNetData::QError::Refused,
                                  tr("Сервер ДД отказал: %1").arg(QString::fromUtf8(payload.left(1024)))));
            return;
        }
        fail(QNetData::QError(QNetData::QError::ProtocolError, tr("Неожиданное сообщение сервера ДД (тип %1)").arg(type)));
        return;
    }
    if (m_reader.isBroken())
        fail(QNetData::QError(QNetData::QError::ProtocolError, tr("Сервер ДД прислал сообщение недопустимой длины")));
}

void Cravent::socketFailed()
{
    const QString reason = m_socket->error() == QAbstractSocket::UnknownSocketError ? tr("соединение закрыто")
                                                                                     : m_socket->errorString();
    if (m_state == State::Online)
        fail(QNetData::QError(QNetData::QError::ConnectionLost, tr("Связь с сервером ДД потеряна: %1").arg(reason)));
    else
        fail(QNetData::QError(QNetData::QError::ConnectionFailed,
                              tr("Нет связи с сервером ДД %1:%2: %3")
                                  .arg(m_server.address()).arg(m_server.port()).arg(reason)));
}

void Cravent::fail(const QNetData::QError& error)
{
    const State was = m_state;
    dropSocket();
    m_reader.clear();
    m_state = State::Offline;
    if (was == State::Connecting)
        emit OnConnected(error);
    else if (was == State::Online)
        emit OnDisconnected(error);
}

void Cravent::FindServers(unsigned int port, unsigned int timeout)
{
    stopSearch();
    m_found.clear();
    m_searchToken = QRandomGenerator::global()->generate();
    const QByteArray query = QNetData::Protocol::searchQuery(m_searchToken);
    const quint16 defaultPort = quint16(std::min(port, 65535u));

    QUdpSocket* sockets[2] = {nullptr, nullptr}; // IPv4, IPv6: broadcasts need a plain IPv4 socket
    m_unanswered = DemDecData::SearchTarget::parse(Common::GlobalConfig::SearchAddressesDDServer(), defaultPort);
    for (const DemDecData::SearchTarget& target : std::as_const(m_unanswered)) {
        const bool v6 = target.address.protocol() == QAbstractSocket::IPv6Protocol;
        QUdpSocket*& socket = sockets[v6 ? 1 : 0];
        if (!socket) {
            socket = new QUdpSocket(this);
            if (!socket->bind(v6 ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4, 0)) {
                qWarning("Cravent: cannot open a socket for the search: %s", qPrintable(socket->errorString()));
                delete socket;
                socket = nullptr;
                continue;
            }
            connect(socket, &QUdpSocket::readyRead, this, [this, socket] { collectAnswers(socket); });
            m_searchSockets.append(socket);
        }
        socket->writeDatagram(query, target.address, target.port);
    }
    m_searchTimer.start(int(std::min(timeout, unsigned(std::max(m_maxSearchMs, 0)))));
}

void Cravent::stopSearch()
{
    m_searchTimer.stop();
    for (QUdpSocket* socket : std::as_const(m_searchSockets)) {
        socket->disconnect(this);
        socket->deleteLater();
    }
    m_searchSockets.clear();
    m_unanswered.clear();
}

void Cravent::collectAnswers(QUdpSocket* socket)
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram(QNetData::Protocol::MaxDatagramSize + 1);
        quint16 port = 0;
        QString name;
        if (!datagram.isValid()
            || !QNetData::Protocol::readSearchAnswer(datagram.data(), m_searchToken, &port, &name))
            continue;
        const QHostAddress sender = plainAddress(datagram.senderAddress());
        m_unanswered.removeAll(DemDecData::SearchTarget{sender, quint16(datagram.senderPort())});
        const DemDecData::QServerStatus found(sender.toString(), port, name);
        const bool known = std::any_of(m_found.cbegin(), m_found.cend(), [&](const DemDecData::QServerStatus& server) {
            return server.address() == found.address() && server.port() == found.port();
        });
        if (!known)
            m_found.append(found);
    }
    // Every address asked answered from itself: no broadcast among them, nobody else to hear.
    if (m_unanswered.isEmpty())
        finishSearch();
}

void Cravent::finishSearch()
{
    const QList<DemDecData::QServerStatus> found = m_found;
    stopSearch();
    m_found.clear();
    emit OnSearch_AnswerRecieved(found);
}
