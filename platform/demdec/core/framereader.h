#pragma once

#include <QByteArray>

namespace QNetData {

// Splits a TCP byte stream into frames: a 4-byte big-endian length, then that many bytes, the
// first of which is the message type. A frame longer than the limit, or without a type byte,
// breaks the stream for good: the peer is broken or hostile and the connection must go.
class FrameReader
{
public:
    static constexpr int DefaultLimit = 4 * 1024 * 1024;

    explicit FrameReader(int limit = DefaultLimit);

    void append(const QByteArray& bytes);
    // Takes the next complete frame; false when none is complete or the stream is broken.
    bool takeFrame(quint8* type, QByteArray* payload);
    bool isBroken() const { return m_broken; }
    void clear();

    static QByteArray encode(quint8 type, const QByteArray& payload);

private:
    // Length announced by the frame at the read position; -1 while the header is incomplete.
    qint64 pendingLength() const;
    void checkPending();

    QByteArray m_buffer;
    qsizetype m_offset = 0;
    int m_limit;
    bool m_broken = false;
};

} // namespace QNetData
