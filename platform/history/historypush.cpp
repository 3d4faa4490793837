#include "historypush.h"

#include "configrepository.h"
#include "globalconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace History {

namespace {

constexpr int PushRounds = 5;

QString gitDirOf(const ConfigRepository& repository)
{
    return QFile::decodeName(git_repository_path(repository.repository()));
}

QString headId(git_repository* repository)
{
    git_oid id;
    return git_reference_name_to_id(&id, repository, "HEAD") == 0 ? oidText(id) : QString();
}

void writeStatus(const ConfigRepository& repository, bool ok, const QString& commit, const QString& message)
{
    GroupUmask umask(repository.groupShared());
    QSaveFile file(QDir(gitDirOf(repository)).filePath(QStringLiteral("orvane-push")));
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QString text = QStringLiteral("%1\n%2\n%3\n%4\n")
                             .arg(ok ? QStringLiteral("ok") : QStringLiteral("failed"),
                                  QDateTime::currentDateTime().toString(Qt::ISODate), commit,
                                  QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    file.write(text.toUtf8());
    file.commit();
}

int onReference(const char* refname, const char* status, void* payload)
{
    if (status)
        *static_cast<QString*>(payload) = QStringLiteral("%1: %2").arg(QString::fromUtf8(refname), QString::fromUtf8(status));
    return 0;
}

bool pushOnce(const ConfigRepository& repository, const QString& url, QString* error)
{
    git_remote* made = nullptr;
    if (git_remote_create_anonymous(&made, repository.repository(), url.toUtf8().constData()) != 0) {
        *error = gitError(QStringLiteral("Неверный адрес хранилища истории \"%1\"").arg(url));
        return false;
    }
    GitRemote remote(made);
    QString refused;
    git_push_options options;
    git_push_options_init(&options, GIT_PUSH_OPTIONS_VERSION);
    options.callbacks.push_update_reference = onReference;
    options.callbacks.payload = &refused;
    char spec[] = "refs/heads/main:refs/heads/main";
    char* specs[] = {spec};
    const git_strarray refspecs{specs, 1};
    if (git_remote_push(made, &refspecs, &options) != 0) {
        *error = gitError(QStringLiteral("Не удалось отправить историю в \"%1\"").arg(url));
        return false;
    }
    if (!refused.isEmpty()) {
        *error = QStringLiteral("Хранилище истории \"%1\" не приняло изменения: %2").arg(url, refused);
        return false;
    }
    return true;
}

} // namespace

PushStatus pushStatus(const QString& dir)
{
    PushStatus status;
    const ConfigRepository repository = ConfigRepository::open(dir, false);
    if (!repository.isReady())
        return status;
    QFile file(QDir(gitDirOf(repository)).filePath(QStringLiteral("orvane-push")));
    if (!file.open(QIODevice::ReadOnly))
        return status;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.size() < 4)
        return status;
    status.known = true;
    status.ok = lines[0] == QLatin1String("ok");
    status.time = QDateTime::fromString(lines[1], Qt::ISODate);
    status.commit = lines[2];
    status.message = lines[3];
    return status;
}

bool pushPending(const ConfigRepository& repository)
{
    if (Common::GlobalConfig::HistoryRemote().isEmpty() || !repository.isReady())
        return false;
    const PushStatus status = pushStatus(repository.directory());
    return !status.ok || status.commit != headId(repository.repository());
}

void startPush(const QString& dir)
{
    if (Common::GlobalConfig::HistoryRemote().isEmpty())
        return;
    // The console program beside this one (as installed and in the build's folder of programs).
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QDir here = QFileInfo(self).dir();
    QString program;
    for (const QString& candidate : {here.filePath(QStringLiteral("orvane-history")),
                                     here.filePath(QStringLiteral("../bin/orvane-history"))}) {
        if (QFileInfo(candidate).isExecutable()) {
            program = candidate;
            break;
        }
    }
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(QStringLiteral("orvane-history"));
    if (!program.isEmpty())
        QProcess::startDetached(program, {dir, QStringLiteral("push")});
}

bool pushNow(const QString& dir, QString* error)
{
    const QString url = Common::GlobalConfig::HistoryRemote();
    const ConfigRepository repository = ConfigRepository::open(dir, false);
    if (url.isEmpty() || !repository.isReady()) {
        *error = url.isEmpty() ? QStringLiteral("Хранилище истории не задано (History/Remote)") : repository.reason();
        return false;
    }
    const QByteArray lockPath = QFile::encodeName(QDir(gitDirOf(repository)).filePath(QStringLiteral("orvane-push.lock")));
    int lock = -1;
    {
        GroupUmask umask(repository.groupShared());
        lock = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    }
    if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return true; // the pusher at work goes on while commits arrive
    }
    bool ok = false;
    for (int round = 0; round < PushRounds; ++round) {
        const QString head = headId(repository.repository());
        ok = pushOnce(repository, url, error);
        writeStatus(repository, ok, ok ? head : QString(), ok ? QString() : *error);
        if (!ok || headId(repository.repository()) == head)
            break;
    }
    if (lock >= 0)
        ::close(lock);
    return ok;
}

} // namespace History
