#include "configrepository.h"

#include "globalconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace History {

namespace {

QString canonical(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return QDir::cleanPath(resolved.isEmpty() ? QFileInfo(path).absoluteFilePath() : resolved);
}

bool isGroupShared(const QString& dir)
{
    struct stat st;
    return ::stat(QFile::encodeName(dir).constData(), &st) == 0 && (st.st_mode & S_IWGRP);
}

// What an engineer's git status should not show: the store's lock, commit and work files.
const char* const ExcludeLines = "# the store's lock, commit and work files\n"
                                 ".orvane.*\n"
                                 ".*.orvane-new-*\n"
                                 "*.unreadable-*\n";

} // namespace

ConfigRepository ConfigRepository::open(const QString& dir, bool create)
{
    ConfigRepository result;
    result.m_dir = canonical(dir);
    if (!Common::GlobalConfig::HistoryEnabled()) {
        result.m_state = Off;
        result.m_reason = QStringLiteral("История изменений отключена в настройках");
        return result;
    }
    initGit(); // its first call takes milliseconds: not made when history is off
    result.m_groupShared = isGroupShared(result.m_dir);
    const QByteArray path = QFile::encodeName(result.m_dir);

    git_repository* found = nullptr;
    if (git_repository_open_ext(&found, path.constData(), 0, nullptr) == 0) {
        GitRepository repository(found);
        const char* workdir = git_repository_workdir(found);
        const QString top = workdir ? canonical(QFile::decodeName(workdir)) : QString();
        if (top == result.m_dir) {
            result.m_repository = std::move(repository);
            result.m_state = Ready;
            return result;
        }
        result.m_state = InsideWorkTree;
        result.m_reason = QStringLiteral("Каталог конфигурации находится внутри рабочего каталога git \"%1\": "
                                         "история изменений не ведётся")
                              .arg(top.isEmpty() ? QFile::decodeName(git_repository_path(found)) : top);
        return result;
    }
    if (!create) {
        result.m_state = Missing;
        result.m_reason = QStringLiteral("У каталога конфигурации \"%1\" ещё нет истории изменений").arg(result.m_dir);
        return result;
    }

    GroupUmask umask(result.m_groupShared);
    git_repository_init_options options;
    git_repository_init_options_init(&options, GIT_REPOSITORY_INIT_OPTIONS_VERSION);
    options.flags = GIT_REPOSITORY_INIT_NO_REINIT | GIT_REPOSITORY_INIT_MKPATH;
    options.mode = result.m_groupShared ? GIT_REPOSITORY_INIT_SHARED_GROUP : GIT_REPOSITORY_INIT_SHARED_UMASK;
    options.initial_head = "main";
    options.description = "The history of a configuration of the complex, one commit per save";
    git_repository* made = nullptr;
    if (git_repository_init_ext(&made, path.constData(), &options) != 0) {
        result.m_reason = gitError(QStringLiteral("Не удалось создать историю изменений в \"%1\"").arg(result.m_dir));
        return result;
    }
    result.m_repository.reset(made);
    QFile exclude(QDir(QFile::decodeName(git_repository_path(made))).filePath(QStringLiteral("info/exclude")));
    if (exclude.open(QIODevice::Append))
        exclude.write(ExcludeLines);
    result.m_state = Ready;
    return result;
}

GroupUmask::GroupUmask(bool groupShared)
{
    if (!groupShared)
        return;
    m_old = ::umask(0);
    ::umask(m_old & ~mode_t(S_IRWXG));
    m_set = true;
}

GroupUmask::~GroupUmask()
{
    if (m_set)
        ::umask(m_old);
}

} // namespace History
