#pragma once

#include "catalogue.h"
#include "framereader.h"
#include "protocol.h"
#include "qerror.h"
#include "qserverstatus.h"
#include "searchtarget.h"

#include <QList>
#include <QObject>
#include <QTimer>

class QTcpSocket;
class QUdpSocket;

// The client of a demodulation/decoding server: connects over TCP, receives the server's
// catalogue of demodulators and decoders, and finds servers with a UDP search.
class Cravent : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultConnectTimeoutMs = 3000;

    explicit Cravent(QObject* parent = nullptr);
    ~Cravent() override;

    // Drops any connection and starts a new one; OnConnected tells the outcome.
    void Connect(const QString& address, unsigned short port);
    void Connect(const DemDecData::QServerStatus& server);
    void Disconnect();
    // True unless connected and holding the server's catalogue.
    bool IsOFFLine() const;

    // Queries the search port of every address in the settings ("DemDec/SearchAddresses") and
    // collects answers for timeout ms, or until each address asked answered itself (a broadcast
    // address never does); then OnSearch_AnswerRecieved. A new search ends the previous one
    // without an answer.
    void FindServers(unsigned int port, unsigned int timeout);
    bool isSearching() const { return m_searchTimer.isActive(); }
    // No search lasts longer than this, whatever its timeout.
    void setMaxSearchTime(int milliseconds) { m_maxSearchMs = milliseconds; }

    // The last catalogue received; it stays after the connection goes.
    const DemDecData::Catalogue& catalogue() const { return m_catalogue; }
    // The server of the current or last connection.
    DemDecData::QServerStatus server() const { return m_server; }

    void setConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }
    // How often a connected client tells the server it is still there.
    void setKeepAliveInterval(int milliseconds) { m_keepAliveMs = milliseconds; }

Q_SIGNALS:
    void OnConnected(QNetData::QError error);
    // A working connection went away (not sent for Disconnect()).
    void OnDisconnected(QNetData::QError reason);
    void OnSearch_AnswerRecieved(QList<DemDecData::QServerStatus> list);

private:
    enum class State { Offline, Connecting, Online };

    void dropSocket();
    void readFrames();
    void socketFailed();
    // Ends the connection; OnConnected while connecting, OnDisconnected once online.
    void fail(const QNetData::QError& error);

    void stopSearch();
    void collectAnswers(QUdpSocket* socket);
    void finishSearch();

    State m_state = State::Offline;
    QTcpSocket* m_socket = nullptr;
    QTimer m_connectTimer;
    int m_connectTimeoutMs = DefaultConnectTimeoutMs;
    QTimer m_keepAlive;
    int m_keepAliveMs = QNetData::Protocol::KeepAliveIntervalMs;
    quint64 m_attempt = 0;
    QNetData::FrameReader m_reader;
    DemDecData::Catalogue m_catalogue;
    DemDecData::QServerStatus m_server;

    QList<QUdpSocket*> m_searchSockets;
    QTimer m_searchTimer;
    int m_maxSearchMs = 60000; // longer is a mistake of the caller, not a wish to wait
    quint32 m_searchToken = 0;
    QList<DemDecData::SearchTarget> m_unanswered; // asked, and no answer from that address yet
    QList<DemDecData::QServerStatus> m_found;
};
