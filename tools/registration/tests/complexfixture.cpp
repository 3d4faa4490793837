#include "complexfixture.h"

#include "complexconfig.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <unistd.h>

const QString ComplexFixture::existingLogin = QStringLiteral("дежурный");

QStringList ComplexFixture::Run::lines() const
{
    return output.split(QLatin1Char('\n'));
}

ComplexFixture::ComplexFixture()
{
    QDir(m_root.path()).mkdir(QStringLiteral("complex"));
}

QString ComplexFixture::configDir() const
{
    return m_root.filePath(QStringLiteral("complex"));
}

bool ComplexFixture::createComplex(const QList<int>& armUids)
{
    auto store = openStore();
    CoConfig::ArmUnion armUnion;
    armUnion.uid = 1;
    armUnion.name = QStringLiteral("Пост 1");
    for (int uid : armUids) {
        CoConfig::Computer arm;
        arm.uid = CoConfig::ComponentUid<1>(uid);
        arm.name = QStringLiteral("АРМ %1").arg(uid);
        store->computers().insert(arm.uid, arm);
        armUnion.armUids << uid;
    }
    store->addArmUnion(armUnion);

    Common::Operator existing;
    existing.uid = existingOperatorUid;
    existing.surname = QStringLiteral("Иванов");
    existing.name = QStringLiteral("Пётр");
    store->addOperator(existing);
    if (!armUids.isEmpty())
        store->computers()[CoConfig::ComponentUid<1>(armUids.first())].registrations.insert(existingLogin,
                                                                                          existingOperatorUid);
    if (store->write(CoConfig::ObjectAll))
        return true;
    qWarning("cannot write the complex: %s", qPrintable(store->errorString()));
    return false;
}

QString ComplexFixture::writeSettings(const QString& fileName, const QString& armUid) const
{
    const QString path = m_root.filePath(fileName);
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Config/Directory"), configDir());
    if (!armUid.isNull())
        settings.setValue(QStringLiteral("Arm/Uid"), armUid);
    settings.sync();
    return path;
}

ComplexFixture::Run ComplexFixture::run(const QString& settingsFile, const QStringList& command) const
{
    return finish(*start(settingsFile, command));
}

std::unique_ptr<QProcess> ComplexFixture::start(const QString& settingsFile, const QStringList& command) const
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANE_SETTINGS"), settingsFile);
    environment.insert(QStringLiteral("ORVANE_CONFIG_DIR"), configDir());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (m_lockTimeoutMs >= 0)
        environment.insert(QStringLiteral("ORVANE_LOCK_TIMEOUT_MS"), QString::number(m_lockTimeoutMs));
    for (auto it = m_environment.cbegin(); it != m_environment.cend(); ++it)
        environment.insert(it.key(), it.value());
    process->setProcessEnvironment(environment);
    if (command.isEmpty())
        process->start(programPath(), QStringList());
    else
        process->start(command.first(), command.mid(1) << programPath());
    return process;
}

ComplexFixture::Run ComplexFixture::finish(QProcess& process)
{
    Run result;
    // The program waits a bounded time for the store's lock; this bounds the test as well.
    result.finished = process.waitForFinished(90000);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}

std::unique_ptr<CoConfig::ComplexConfig> ComplexFixture::openStore() const
{
    qputenv("ORVANE_CONFIG_DIR", configDir().toLocal8Bit());
    return std::make_unique<CoConfig::ComplexConfig>(1, 64);
}

QMap<QString, QByteArray> ComplexFixture::files() const
{
    QMap<QString, QByteArray> contents;
    const QDir root(configDir());
    QDirIterator it(configDir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        contents.insert(root.relativeFilePath(file.fileName()),
                        file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
    return contents;
}

QString ComplexFixture::firstFileIn(const QString& subDir) const
{
    const QDir dir(QDir(configDir()).filePath(subDir));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    return names.isEmpty() ? QString() : dir.filePath(names.first());
}

QString ComplexFixture::programPath()
{
    return QStringLiteral(ORVANE_BIN_DIR "/Sulvane");
}

