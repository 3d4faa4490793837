#pragma once

#include <QDateTime>
#include <QString>

namespace History {

class ConfigRepository;

// The history off the machine: after each recorded commit it is pushed to the remote that the
// settings name (History/Remote, ORVANE_HISTORY_REMOTE), by a child process ("orvane-history
// DIR push") so that the save does not wait; one that fails is tried again at the next write.

struct PushStatus
{
    bool known = false; // a push was tried
    bool ok = false;
    QDateTime time;
    QString commit;  // what was pushed, when ok
    QString message; // why it failed
};

// The outcome of the last push, kept in the repository ("<dir>/.git/orvane-push").
PushStatus pushStatus(const QString& dir);
// Whether a remote is set and the last push failed or did not reach the current commit.
bool pushPending(const ConfigRepository& repository);
// Starts the child that pushes, when a remote is set; returns at once.
void startPush(const QString& dir);
// Pushes the history to the remote, again while new commits arrive (a few rounds at most); the
// outcome goes to pushStatus(). One pusher a directory: another that finds one at work leaves it.
bool pushNow(const QString& dir, QString* error);

} // namespace History
