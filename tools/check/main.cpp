// Checks a configuration directory for broken references and clashes:
//   orvane-check [--json] [DIRECTORY]
// Exit status: 0 no problems, 1 problems (one line each on standard output), 2 the directory
// cannot be read or the command line is wrong (the reason on standard error).
#include "complexconfig.h"
#include "globalconfig.h"
#include "referencechecker.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace {

enum ExitStatus { Clean = 0, ProblemsFound = 1, CannotRead = 2 };

int fail(const QString& reason)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": " << reason << Qt::endl;
    return CannotRead;
}

void printJson(const QString& dir, const QList<ConfigCheck::ConfigProblem>& problems)
{
    QJsonArray list;
    for (const ConfigCheck::ConfigProblem& problem : problems)
        list.append(problem.toJson());
    const QJsonObject document{{QStringLiteral("directory"), dir}, {QStringLiteral("problems"), list}};
    QTextStream(stdout) << QJsonDocument(document).toJson(QJsonDocument::Indented);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-check"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Проверяет конфигурацию комплекса: ссылки на несуществующие записи, антенны двух объединений АРМ, "
        "повторы индексов на серверах каналов и IP адресов, неверные IP адреса, пустые названия.\n"
        "Код возврата: 0 ошибок нет, 1 найдены ошибки (по строке на каждую), 2 каталог не прочитан."));
    parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Вывести ошибки в формате JSON."));
    parser.addOption(jsonOption);
    parser.addPositionalArgument(QStringLiteral("directory"),
                                 QStringLiteral("Каталог конфигурации (по умолчанию каталог рабочего места: "
                                                "ORVANE_CONFIG_DIR или Config/Directory его настроек)."),
                                 QStringLiteral("[КАТАЛОГ]"));
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QTextStream(stdout) << parser.helpText();
        return Clean;
    }
    if (parser.isSet(versionOption))
        parser.showVersion();
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() > 1)
        return fail(QStringLiteral("можно указать только один каталог"));

    const QString dir = arguments.isEmpty()
        ? Common::GlobalConfig::ConfigDir(nullptr, CoConfig::ComplexConfig::defaultConfigDir())
        : arguments.first();
    // The store reads a missing directory as an empty complex; a mistyped path must not pass.
    if (!QFileInfo::exists(dir))
        return fail(QStringLiteral("нет каталога конфигурации \"%1\"").arg(dir));
    const CoConfig::ComplexConfig store(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    if (store.readStatus() != 0)
        return fail(store.errorString());
    if (!store.checkConfigDir())
        return fail(QStringLiteral("нет доступа к каталогу конфигурации \"%1\"").arg(store.configDirPath()));

    const QList<ConfigCheck::ConfigProblem> problems = ConfigCheck::ReferenceChecker::check(store);
    if (parser.isSet(jsonOption)) {
        printJson(store.configDirPath(), problems);
    } else {
        QTextStream out(stdout);
        for (const ConfigCheck::ConfigProblem& problem : problems)
            out << problem.text() << '\n';
    }
    return problems.isEmpty() ? Clean : ProblemsFound;
}
