#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// For tests of file modes: root ignores them, so a child that must meet them runs as an
// unprivileged user.
namespace Unprivileged {

// The command to put before a program so that it runs without privileges: empty when this
// process has none, setpriv to the user "nobody" when it is root; nothing when neither works.
std::optional<QStringList> command();

// Lets every user search this folder (a test's temporary directory), so that the unprivileged
// child reaches what is in it; false when it or a folder above it stays closed to others.
bool openToEveryone(const QString& folder);

} // namespace Unprivileged
