#pragma once

#include <QMetaType>
#include <QString>

namespace QNetData {

// The outcome of a network operation of the client: no error, or a code and a text for people.
class QError
{
public:
    enum Code {
        NoError = 0,
        NoAddress,         // no server address or port given
        ConnectionFailed,  // refused, unreachable, host unknown
        Timeout,           // no answer in time
        ProtocolError,     // the peer sent something that is no valid message
        Refused,           // the server said no
        ConnectionLost,    // a working connection went away
    };

    QError() = default;
    QError(Code code, const QString& text);

    Code code() const { return m_code; }
    QString text() const { return m_text; }
    bool isError() const { return m_code != NoError; }

private:
    Code m_code = NoError;
    QString m_text;
};

} // namespace QNetData

Q_DECLARE_METATYPE(QNetData::QError)
