// Linked into every test program (see orvane_add_test): before main runs, the program's settings,
// Qt's own settings and the standard paths point into a fresh temporary folder that goes at exit,
// so that no test reads or writes the engineer's settings, and no two runs share any state.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

class TestIsolation
{
public:
    TestIsolation()
    {
        if (!m_dir.isValid()) {
            qCritical("cannot make a temporary folder for the test's settings: %s", qPrintable(m_dir.errorString()));
            std::abort(); // a test must not fall back on the real settings
        }
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ORVANE_SETTINGS", QFile::encodeName(m_dir.filePath(QStringLiteral("orvane.ini"))));
        // The configuration's history (a .git in each directory written) only where a test asks.
        qputenv("ORVANE_HISTORY", "0");
        // Qt keeps its own state (the file dialog's history, ...) in QSettings; child processes
        // that the tests start find their configuration here too.
        const QString config = m_dir.filePath(QStringLiteral("config"));
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, config);
            QSettings::setPath(format, QSettings::SystemScope, config);
        }
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        const QString runtime = m_dir.filePath(QStringLiteral("runtime"));
        if (QDir().mkdir(runtime) && QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }

private:
    QTemporaryDir m_dir;
};

const TestIsolation isolation;

} // namespace
