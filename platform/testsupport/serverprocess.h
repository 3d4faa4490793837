#pragma once

#include <QProcess>
#include <QString>

// The demodulation/decoding server program run for a test: on loopback, on ports the system
// picks, killed at the end. Tests that use it depend on the orvane-demdec-server target.
class ServerProcess
{
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the server and waits (bounded) until it listens; false with error() otherwise.
    // Options go to the program as they are (e.g. "--idle-timeout", "100").
    bool start(const QString& catalogue = sampleCatalogue(), const QString& name = QString(),
               const QStringList& options = {});
    void stop();

    quint16 port() const { return m_port; }
    quint16 searchPort() const { return m_searchPort; }
    qint64 processId() const { return m_process.processId(); }
    QString error() const { return m_error; }

    static QString program();
    static QString sampleCatalogue();
    // A loopback TCP port that nothing listened on a moment ago.
    static quint16 unusedPort();

private:
    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_searchPort = 0;
    QString m_error;
};
