#include "complexconfig.h"
#include "currentlogin.h"
#include "registration.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

// Registers the logged-on user as an operator of this workstation. Callers read the output;
// the exit code is 0 whatever happened.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    // --help and --version only; any other argument is ignored, as before.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Регистрирует пользователя, вошедшего в систему, оператором этого АРМ (Arm/Uid настроек)."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.parse(app.arguments());
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::System);

    // Held from the read to the write: registrations started together on several workstations
    // follow one another, each seeing the one before.
    CoConfig::ComplexConfig store(0, 0);
    if (store.holdWriteLock())
        store.read(1 | 64);

    bool haveLogin = false;
    const QString login = Common::currentLogin(&haveLogin);
    if (!haveLogin) {
        Sulvane::Registration::reportNoLogin(out);
        return 0;
    }

    Sulvane::Registration registration(store);
    registration.report(out, registration.registerLogin(login));
    return 0;
}
