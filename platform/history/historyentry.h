#pragma once

#include <git2.h>

#include <QDateTime>
#include <QString>

namespace History {

// Why a commit of the history was made.
enum class ChangeKind {
    Save,    // a write of the store
    Outside, // files changed by hand or by another program since the last commit
    Restore  // a write that brought back an earlier version
};

// One commit of the history as the editor and the console show it. The message's first line is
// the editor's summary; trailers below it name the rest:
//   Orvane-Change: save | outside | restore
//   Orvane-Program: <program>
//   Orvane-Workstation: <Arm/Uid>          (when the workstation has one)
//   Orvane-Host: <host name>
//   Orvane-Restores: <commit id>           (a restore)
// The author is the login, with "<login>@<host>" as the address.
struct HistoryEntry
{
    QString id;
    QDateTime time;
    QString login;
    QString host;
    QString workstation;
    QString program;
    ChangeKind kind = ChangeKind::Save;
    QString restores;
    QString summary;

    QString shortId() const { return id.left(10); }
    // The commit message: the summary line, then the trailers.
    QString message() const;
    static HistoryEntry fromCommit(const git_commit* commit);
    // The entry of a change this process is about to record (login, host, program, workstation).
    static HistoryEntry ofThisProcess(ChangeKind kind);
};

QString changeKindKey(ChangeKind kind);

} // namespace History
