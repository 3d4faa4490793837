#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QUdpSocket>

// Serves one catalogue to every client that connects, and answers search queries.
class DemDecServer : public QObject
{
    Q_OBJECT

public:
    // A session from which nothing arrives for idleTimeoutMs is dropped.
    DemDecServer(const QByteArray& catalogueXml, const QString& name, int idleTimeoutMs, QObject* parent = nullptr);

    // A port of 0 picks a free one; a search port of -1 is the TCP port.
    bool listen(const QHostAddress& address, quint16 port, int searchPort, QString* error);
    quint16 port() const { return m_tcp.serverPort(); }
    quint16 searchPort() const { return m_udp.localPort(); }

private:
    void acceptConnections();
    void answerSearches();

    QTcpServer m_tcp;
    QUdpSocket m_udp;
    QByteArray m_catalogueFrame;
    QString m_name;
    int m_idleTimeoutMs;
    int m_sessions = 0;
};
