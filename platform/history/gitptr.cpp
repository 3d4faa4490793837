#include "gitptr.h"

namespace History {

void initGit()
{
    static const bool done = [] {
        git_libgit2_init();
        // A group-shared directory's repository belongs to whoever made it first.
        git_libgit2_opts(GIT_OPT_SET_OWNER_VALIDATION, 0);
        // Trees and commits name objects that their writer has just written: they are not
        // looked up again (a file each) before every write.
        git_libgit2_opts(GIT_OPT_ENABLE_STRICT_OBJECT_CREATION, 0);
        // Objects read are not hashed again, as git itself does not (git fsck does): the
        // journal reads whole versions of the files, and zlib's checksum still guards them.
        git_libgit2_opts(GIT_OPT_ENABLE_STRICT_HASH_VERIFICATION, 0);
        return true;
    }();
    (void)done;
}

QString gitError(const QString& what)
{
    const git_error* error = git_error_last();
    return error && error->message ? QStringLiteral("%1: %2").arg(what, QString::fromUtf8(error->message)) : what;
}

QString oidText(const git_oid& oid)
{
    char text[GIT_OID_HEXSZ + 1];
    git_oid_tostr(text, sizeof text, &oid);
    return QString::fromLatin1(text);
}

} // namespace History
