#pragma once

#include <QByteArray>
#include <QString>

// What a client and a demodulation/decoding server say to each other.
//
// TCP, in frames (FrameReader): the client sends Hello; the server answers with its Catalogue
// (the catalogue's XML) or a Refusal (a text), then keeps the connection open while the client
// sends a KeepAlive (no answer) at least every IdleTimeoutMs.
// UDP search: a client sends a query with a random token to the search port; each server that
// hears it answers the sender with the same token, its TCP port and its name.
namespace QNetData::Protocol {

enum MessageType : quint8 {
    Hello = 1,
    Catalogue = 2,
    Refusal = 3,
    KeepAlive = 4,
};

constexpr quint16 Version = 1;
constexpr int IdleTimeoutMs = 60000;
constexpr int KeepAliveIntervalMs = IdleTimeoutMs / 3;
constexpr int MaxDatagramSize = 512;

QByteArray hello();
bool isHello(const QByteArray& payload);

QByteArray searchQuery(quint32 token);
bool readSearchQuery(const QByteArray& datagram, quint32* token);
QByteArray searchAnswer(quint32 token, quint16 port, const QString& name);
// False unless the datagram is an answer carrying this token and a port.
bool readSearchAnswer(const QByteArray& datagram, quint32 token, quint16* port, QString* name);

} // namespace QNetData::Protocol
