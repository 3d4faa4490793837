#include "historyentry.h"

#include "currentlogin.h"
#include "gitptr.h"
#include "globalconfig.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QTimeZone>

#include <cerrno>
#include <unistd.h>

namespace History {

namespace {

const char* const ChangeTrailer = "Orvane-Change";
const char* const ProgramTrailer = "Orvane-Program";
const char* const WorkstationTrailer = "Orvane-Workstation";
const char* const HostTrailer = "Orvane-Host";
const char* const RestoresTrailer = "Orvane-Restores";

QString programName()
{
    const QString name = QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
    return name.isEmpty() ? QString::fromLocal8Bit(program_invocation_short_name) : name;
}

} // namespace

QString changeKindKey(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Outside: return QStringLiteral("outside");
    case ChangeKind::Restore: return QStringLiteral("restore");
    case ChangeKind::Save: break;
    }
    return QStringLiteral("save");
}

QString HistoryEntry::message() const
{
    QString text = summary + QStringLiteral("\n\n");
    const auto trailer = [&text](const char* key, const QString& value) {
        if (!value.isEmpty())
            text += QStringLiteral("%1: %2\n").arg(QLatin1String(key), value);
    };
    trailer(ChangeTrailer, changeKindKey(kind));
    trailer(ProgramTrailer, program);
    trailer(WorkstationTrailer, workstation);
    trailer(HostTrailer, host);
    trailer(RestoresTrailer, restores);
    return text;
}

HistoryEntry HistoryEntry::fromCommit(const git_commit* commit)
{
    HistoryEntry entry;
    entry.id = oidText(*git_commit_id(commit));
    const git_signature* author = git_commit_author(commit);
    entry.login = QString::fromUtf8(author->name);
    entry.time = QDateTime::fromSecsSinceEpoch(author->when.time, QTimeZone(author->when.offset * 60));
    entry.summary = QString::fromUtf8(git_commit_summary(const_cast<git_commit*>(commit))).trimmed();
    git_message_trailer_array trailers{};
    if (git_message_trailers(&trailers, git_commit_message(commit)) == 0) {
        for (size_t i = 0; i < trailers.count; ++i) {
            const QLatin1String key(trailers.trailers[i].key);
            const QString value = QString::fromUtf8(trailers.trailers[i].value).trimmed();
            if (key == QLatin1String(ChangeTrailer))
                entry.kind = value == QLatin1String("outside")   ? ChangeKind::Outside
                             : value == QLatin1String("restore") ? ChangeKind::Restore
                                                                 : ChangeKind::Save;
            else if (key == QLatin1String(ProgramTrailer))
                entry.program = value;
            else if (key == QLatin1String(WorkstationTrailer))
                entry.workstation = value;
            else if (key == QLatin1String(HostTrailer))
                entry.host = value;
            else if (key == QLatin1String(RestoresTrailer))
                entry.restores = value;
        }
        git_message_trailer_array_free(&trailers);
    }
    return entry;
}

HistoryEntry HistoryEntry::ofThisProcess(ChangeKind kind)
{
    HistoryEntry entry;
    entry.kind = kind;
    entry.login = Common::currentLogin();
    if (entry.login.isEmpty())
        entry.login = QStringLiteral("uid%1").arg(::geteuid());
    entry.host = QSysInfo::machineHostName();
    entry.program = programName();
    bool ok = false;
    const int arm = Common::GlobalConfig::ArmUID(&ok, -1);
    if (ok)
        entry.workstation = QString::number(arm);
    entry.time = QDateTime::currentDateTime();
    return entry;
}

} // namespace History
