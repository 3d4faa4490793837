#pragma once

#include "framereader.h"

#include <QObject>
#include <QTimer>

class QTcpSocket;

// One client connection: answers Hello with the catalogue; drops a peer that does not greet
// within the greeting deadline (keep-alives do not extend it), breaks the protocol, stays
// silent longer than the idle timeout after its Hello, or asks for more than it reads.
class ServerSession : public QObject
{
    Q_OBJECT

public:
    ServerSession(QTcpSocket* socket, const QByteArray& catalogueFrame, int idleTimeoutMs, QObject* parent);

private:
    void readFrames();
    void drop();

    QTcpSocket* m_socket;
    QByteArray m_catalogueFrame;
    QNetData::FrameReader m_reader;
    QTimer m_idle;
    int m_idleTimeoutMs;
    bool m_greeted = false;
};
