#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Unprivileged {

std::optional<QStringList> command()
{
    if (::geteuid() != 0)
        return QStringList();
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody || nobody->pw_uid == 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return std::nullopt;
    return QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(nobody->pw_uid),
                       QStringLiteral("--regid=%1").arg(nobody->pw_gid), QStringLiteral("--clear-groups")};
}

bool openToEveryone(const QString& folder)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0
        || ::chmod(QFile::encodeName(path).constData(), (st.st_mode & 07777) | 0001) != 0)
        return false;
    for (QString dir = QFileInfo(path).path(); dir != QDir::rootPath(); dir = QFileInfo(dir).path()) {
        if (::stat(QFile::encodeName(dir).constData(), &st) != 0 || (st.st_mode & 0001) == 0)
            return false;
    }
    return true;
}

} // namespace Unprivileged
