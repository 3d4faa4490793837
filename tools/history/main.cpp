// The history of a configuration directory on the console:
//   orvane-history [--json] [DIRECTORY] [log | show REVISION | restore REVISION | push]
// Exit status: 0 done, 1 the restore or the push was not done (the reason on standard error),
// 2 the directory or its history cannot be read, or the command line is wrong.
#include "changewords.h"
#include "complexconfig.h"
#include "globalconfig.h"
#include "historyfiles.h"
#include "historylog.h"
#include "historyoutput.h"
#include "historypush.h"
#include "historyrestore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <unistd.h>

namespace {

enum ExitStatus { Done = 0, NotDone = 1, CannotRead = 2 };

// A push that hangs (a remote that does not answer) ends here.
constexpr unsigned PushTimeoutSeconds = 60;

const QStringList Commands = {QStringLiteral("log"), QStringLiteral("show"), QStringLiteral("restore"),
                              QStringLiteral("push")};

int fail(const QString& reason, int status = CannotRead)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": " << reason << Qt::endl;
    return status;
}

void printJson(const QJsonObject& object)
{
    QTextStream(stdout) << QJsonDocument(object).toJson(QJsonDocument::Indented);
}

int log(const QString& dir, bool json)
{
    QList<History::HistoryEntry> entries;
    QString error;
    if (!History::HistoryLog::entries(dir, &entries, &error))
        return fail(error);
    if (json) {
        QJsonArray list;
        for (const History::HistoryEntry& entry : std::as_const(entries))
            list.append(entryJson(entry));
        printJson({{QStringLiteral("directory"), dir}, {QStringLiteral("entries"), list}});
        return Done;
    }
    QTextStream out(stdout);
    for (const History::HistoryEntry& entry : std::as_const(entries))
        out << entryLine(entry) << '\n';
    return Done;
}

int show(const QString& dir, const QString& revision, bool json)
{
    History::HistoryEntry entry;
    QList<History::FileChanges> changes;
    QString error;
    if (!History::HistoryLog::changesOf(dir, revision, CoConfig::configHistoryFiles().recordFiles, &entry, &changes,
                                        &error))
        return fail(error);
    if (json) {
        QJsonArray files;
        for (const History::FileChanges& file : std::as_const(changes))
            files.append(fileChangesJson(file));
        printJson({{QStringLiteral("directory"), dir}, {QStringLiteral("entry"), entryJson(entry)},
                   {QStringLiteral("files"), files}});
        return Done;
    }
    QTextStream out(stdout);
    out << entryLine(entry) << '\n';
    for (const History::FileChanges& file : std::as_const(changes)) {
        if (!file.error.isEmpty())
            out << file.path << ": " << file.error << '\n';
        for (const History::RecordChange& record : file.records)
            out << "  " << History::changeLine(file.path, record) << '\n';
    }
    return Done;
}

int restore(const QString& dir, const QString& revision, bool json)
{
    History::HistoryEntry restored;
    QString made;
    QString error;
    if (!CoConfig::restoreFromHistory(dir, revision, &restored, &made, &error))
        return fail(error, error.startsWith(QStringLiteral("В истории нет")) ? CannotRead : NotDone);
    if (json) {
        printJson({{QStringLiteral("directory"), dir}, {QStringLiteral("restored"), entryJson(restored)},
                   {QStringLiteral("commit"), made}});
    } else if (made.isEmpty()) {
        QTextStream(stdout) << "Конфигурация уже такая, как в версии " << restored.shortId() << '\n';
    } else {
        QTextStream(stdout) << "Возвращена версия " << restored.shortId() << ": запись " << made.left(10) << '\n';
    }
    return Done;
}

int push(const QString& dir)
{
    ::alarm(PushTimeoutSeconds);
    QString error;
    return History::pushNow(dir, &error) ? Done : fail(error, NotDone);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-history"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "История изменений конфигурации комплекса: список сохранений (log), изменения одного сохранения по записям "
        "(show), возврат конфигурации к версии как новое сохранение (restore), отправка истории в хранилище (push).\n"
        "Код возврата: 0 выполнено, 1 возврат или отправка не выполнены, 2 каталог или история не прочитаны."));
    parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Вывести результат в формате JSON."));
    parser.addOption(jsonOption);
    parser.addPositionalArgument(QStringLiteral("directory"),
                                 QStringLiteral("Каталог конфигурации (по умолчанию каталог рабочего места)."),
                                 QStringLiteral("[КАТАЛОГ]"));
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("log, show ВЕРСИЯ, restore ВЕРСИЯ или push."),
                                 QStringLiteral("[КОМАНДА [ВЕРСИЯ]]"));
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QTextStream(stdout) << parser.helpText();
        return Done;
    }
    if (parser.isSet(versionOption))
        parser.showVersion();

    QStringList arguments = parser.positionalArguments();
    QString dir;
    if (!arguments.isEmpty() && !Commands.contains(arguments.first()))
        dir = arguments.takeFirst();
    if (dir.isEmpty())
        dir = Common::GlobalConfig::ConfigDir(nullptr, CoConfig::ComplexConfig::defaultConfigDir());
    const QString command = arguments.isEmpty() ? QStringLiteral("log") : arguments.takeFirst();
    const bool needsRevision = command == QLatin1String("show") || command == QLatin1String("restore");
    if (!Commands.contains(command) || arguments.size() != (needsRevision ? 1 : 0))
        return fail(QStringLiteral("неверная команда; справка: --help"));
    if (!QFileInfo(dir).isDir())
        return fail(QStringLiteral("нет каталога конфигурации \"%1\"").arg(dir));

    const bool json = parser.isSet(jsonOption);
    if (command == QLatin1String("show"))
        return show(dir, arguments.first(), json);
    if (command == QLatin1String("restore"))
        return restore(dir, arguments.first(), json);
    if (command == QLatin1String("push"))
        return push(dir);
    return log(dir, json);
}
