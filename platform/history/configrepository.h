#pragma once

#include "gitptr.h"

#include <QString>

#include <sys/types.h>

namespace History {

// The git repository of a configuration directory: "<dir>/.git", the directory its work tree.
// A directory inside another git work tree has none (its history is that work tree's business);
// on a group-writable directory the repository is shared by the group.
class ConfigRepository
{
public:
    enum State {
        Ready,          // open
        Off,            // the settings turn history off
        InsideWorkTree, // the directory lies in another repository's work tree
        Missing,        // no repository yet (and none asked for)
        Failed          // cannot be opened or made: reason()
    };

    // Opens the directory's repository; `create` makes it when there is none.
    static ConfigRepository open(const QString& dir, bool create);

    ConfigRepository(ConfigRepository&&) = default;
    ConfigRepository& operator=(ConfigRepository&&) = default;

    State state() const { return m_state; }
    bool isReady() const { return m_state == Ready; }
    // Why it is not ready, in words for the user.
    QString reason() const { return m_reason; }
    git_repository* repository() const { return m_repository.get(); }
    QString directory() const { return m_dir; }
    bool groupShared() const { return m_groupShared; }

    // The branch the history is kept on.
    static const char* branchRef() { return "refs/heads/main"; }

private:
    ConfigRepository() = default;

    State m_state = Failed;
    QString m_reason;
    QString m_dir;
    bool m_groupShared = false;
    GitRepository m_repository;
};

// Lets the group write what is made while it lives, on a group-shared directory, whatever the
// process's umask (the directory's setgid bit passes the group on).
class GroupUmask
{
public:
    explicit GroupUmask(bool groupShared);
    ~GroupUmask();
    GroupUmask(const GroupUmask&) = delete;
    GroupUmask& operator=(const GroupUmask&) = delete;

private:
    bool m_set = false;
    mode_t m_old = 0;
};

} // namespace History
