#include "currentlogin.h"

#include <pwd.h>
#include <unistd.h>

namespace Common {

QString currentLogin(bool* ok)
{
    // getpwuid's buffer is static; the name is copied out at once.
    const passwd* entry = ::getpwuid(::geteuid());
    const bool found = entry && entry->pw_name;
    if (ok)
        *ok = found;
    return found ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace Common
