#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QProcess;

namespace CoConfig {
class ComplexConfig;
}

// A complex in a temporary directory, settings files for its workstations, and runs of the
// real Sulvane over them.
class ComplexFixture
{
public:
    struct Run
    {
        bool finished = false;
        int exitCode = -1;
        QString output;     // standard output
        QString errors;     // standard error, for failure messages
        QStringList lines() const;
    };

    ComplexFixture();

    bool isValid() const { return m_root.isValid(); }
    QString configDir() const;

    // Workstations with these uids, all members of one union, plus an operator registered on
    // the first under another login, written by the store itself. False (with a warning) when
    // the store cannot write it.
    bool createComplex(const QList<int>& armUids);

    // A settings file naming this workstation; without a uid the file has no "Arm/Uid".
    QString writeSettings(const QString& fileName, const QString& armUid = QString()) const;

    // Runs the program with these settings. With a command, runs the command instead, followed
    // by the program's path (a wrapper such as setpriv or unshare).
    Run run(const QString& settingsFile, const QStringList& command = QStringList()) const;
    // The same in two steps, for runs at once.
    std::unique_ptr<QProcess> start(const QString& settingsFile, const QStringList& command = QStringList()) const;
    static Run finish(QProcess& process);
    // How long the program waits for the store's lock (its own default when not set).
    void setLockTimeout(int milliseconds) { m_lockTimeoutMs = milliseconds; }
    // A variable of the program's environment (ORVANE_CONFIG_DIR: the complex through another path).
    void setEnvironment(const QString& name, const QString& value) { m_environment.insert(name, value); }

    // A fresh store over the complex, as a program would open it.
    std::unique_ptr<CoConfig::ComplexConfig> openStore() const;

    // Every file of the complex with its contents, to prove that nothing was written.
    QMap<QString, QByteArray> files() const;
    // The first file (by name) of a sub-directory of the complex, or empty.
    QString firstFileIn(const QString& subDir) const;

    static QString programPath();
    static const QString existingLogin; // the login registered by createComplex
    static constexpr int existingOperatorUid = 7;

private:
    QTemporaryDir m_root;
    int m_lockTimeoutMs = -1;
    QMap<QString, QString> m_environment;
};
