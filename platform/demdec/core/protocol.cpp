#include "protocol.h"

#include <QtEndian>

namespace QNetData::Protocol {

namespace {

constexpr char HelloMagic[] = "ORVDD";
constexpr char QueryMagic[] = "ODDQ";
constexpr char AnswerMagic[] = "ODDA";
constexpr int MagicSize = 4;
constexpr int QuerySize = MagicSize + 2 + 4;
constexpr int AnswerHeaderSize = QuerySize + 2;

QByteArray datagramHeader(const char* magic, quint32 token)
{
    QByteArray bytes(magic, MagicSize);
    char numbers[6];
    qToBigEndian(Version, numbers);
    qToBigEndian(token, numbers + 2);
    bytes.append(numbers, sizeof numbers);
    return bytes;
}

bool hasHeader(const QByteArray& datagram, const char* magic, quint32 token)
{
    return datagram.size() >= QuerySize && datagram.startsWith(QByteArray(magic, MagicSize))
        && qFromBigEndian<quint16>(datagram.constData() + MagicSize) == Version
        && qFromBigEndian<quint32>(datagram.constData() + MagicSize + 2) == token;
}

} // namespace

QByteArray hello()
{
    QByteArray bytes(HelloMagic);
    char version[2];
    qToBigEndian(Version, version);
    return bytes.append(version, sizeof version);
}

bool isHello(const QByteArray& payload)
{
    return payload == hello();
}

QByteArray searchQuery(quint32 token)
{
    return datagramHeader(QueryMagic, token);
}

bool readSearchQuery(const QByteArray& datagram, quint32* token)
{
    if (datagram.size() != QuerySize)
        return false;
    *token = qFromBigEndian<quint32>(datagram.constData() + MagicSize + 2);
    return hasHeader(datagram, QueryMagic, *token);
}

QByteArray searchAnswer(quint32 token, quint16 port, const QString& name)
{
    QByteArray bytes = datagramHeader(AnswerMagic, token);
    char portBytes[2];
    qToBigEndian(port, portBytes);
    bytes.append(portBytes, sizeof portBytes);
    return bytes.append(name.toUtf8().left(MaxDatagramSize - AnswerHeaderSize));
}

bool readSearchAnswer(const QByteArray& datagram, quint32 token, quint16* port, QString* name)
{
    if (datagram.size() < AnswerHeaderSize || datagram.size() > MaxDatagramSize
        || !hasHeader(datagram, AnswerMagic, token))
        return false;
    *port = qFromBigEndian<quint16>(datagram.constData() + QuerySize);
    *name = QString::fromUtf8(datagram.mid(AnswerHeaderSize));
    return *port != 0;
}

} // namespace QNetData::Protocol
