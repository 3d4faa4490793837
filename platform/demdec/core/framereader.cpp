#include "framereader.h"

#include <QtEndian>

namespace QNetData {

namespace {
constexpr int HeaderSize = 4;
}

FrameReader::FrameReader(int limit)
    : m_limit(limit)
{
}

void FrameReader::append(const QByteArray& bytes)
{
    if (m_broken)
        return;
    m_buffer.append(bytes);
    checkPending();
}

bool FrameReader::takeFrame(quint8* type, QByteArray* payload)
{
    const qint64 length = pendingLength();
    if (m_broken || length < 0 || m_buffer.size() - m_offset - HeaderSize < length)
        return false;
    const char* frame = m_buffer.constData() + m_offset + HeaderSize;
    *type = quint8(frame[0]);
    *payload = QByteArray(frame + 1, qsizetype(length - 1));
    m_offset += HeaderSize + length;
    // Drop consumed bytes once they outweigh what is left, so the buffer stays small.
    if (m_offset == m_buffer.size()) {
        m_buffer.clear();
        m_offset = 0;
    } else if (m_offset > m_buffer.size() / 2) {
        m_buffer.remove(0, m_offset);
        m_offset = 0;
    }
    checkPending();
    return true;
}

void FrameReader::clear()
{
    m_buffer.clear();
    m_offset = 0;
    m_broken = false;
}

QByteArray FrameReader::encode(quint8 type, const QByteArray& payload)
{
    QByteArray frame(HeaderSize, Qt::Uninitialized);
    qToBigEndian(quint32(payload.size() + 1), frame.data());
    frame.append(char(type));
    frame.append(payload);
    return frame;
}

qint64 FrameReader::pendingLength() const
{
    if (m_buffer.size() - m_offset < HeaderSize)
        return -1;
    return qFromBigEndian<quint32>(m_buffer.constData() + m_offset);
}

void FrameReader::checkPending()
{
    const qint64 length = pendingLength();
    if (length == 0 || length > m_limit) {
        m_broken = true;
        m_buffer.clear();
        m_offset = 0;
    }
}

} // namespace QNetData
