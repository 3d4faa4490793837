#pragma once

#include "framereader.h"

#include <QObject>

class QTcpSocket;

// One client connection: answers Hello with the catalogue, drops broken or silent peers.
class ServerSession : public QObject
{
    Q_OBJECT

public:
    ServerSession(QTcpSocket* socket, const QByteArray& catalogueFrame, QObject* parent);

private:
    void readFrames();
    void drop();

    QTcpSocket* m_socket;
    QByteArray m_catalogueFrame;
    QNetData::FrameReader m_reader;
    bool m_greeted = false;
};
