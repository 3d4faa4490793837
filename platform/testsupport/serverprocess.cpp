#include "serverprocess.h"

#include <QDeadlineTimer>
#include <QTcpServer>

#include <csignal>
#include <sys/prctl.h>

namespace {
constexpr int StartTimeoutMs = 10000;
}

ServerProcess::~ServerProcess()
{
    stop();
}

bool ServerProcess::start(const QString& catalogue, const QString& name, const QStringList& options)
{
    stop();
    QStringList arguments{"--catalogue", catalogue, "--address", "127.0.0.1", "--port", "0", "--search-port", "0"};
    if (!name.isEmpty())
        arguments << "--name" << name;
    arguments << options;
    // A test that crashes or is killed must not leave its server behind.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start(program(), arguments);
    if (!m_process.waitForStarted(StartTimeoutMs)) {
        m_error = m_process.errorString();
        return false;
    }
    // The server prints "listening <address> <port> <search port>" once it listens.
    QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (m_process.canReadLine()) {
            const QStringList words = QString::fromUtf8(m_process.readLine()).split(' ', Qt::SkipEmptyParts);
            if (words.size() == 4 && words.at(0) == "listening") {
                m_port = quint16(words.at(2).trimmed().toUInt());
                m_searchPort = quint16(words.at(3).trimmed().toUInt());
                return m_port != 0 && m_searchPort != 0;
            }
        }
    }
    m_error = QString::fromUtf8(m_process.readAllStandardError());
    stop();
    return false;
}

void ServerProcess::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(StartTimeoutMs);
    }
    m_port = 0;
    m_searchPort = 0;
}

QString ServerProcess::program()
{
    return QStringLiteral(ORVANE_BIN_DIR "/orvane-demdec-server");
}

QString ServerProcess::sampleCatalogue()
{
    return QStringLiteral(ORVANE_SOURCE_DIR "/sample/demdec/catalogue.xml");
}

quint16 ServerProcess::unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
