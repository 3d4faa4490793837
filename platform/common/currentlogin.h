#pragma once

#include <QString>

namespace Common {

// The login name of the user the process runs as (its effective user).
// Sets *ok to false, and returns an empty string, when the system knows no such user.
QString currentLogin(bool* ok = nullptr);

} // namespace Common
