#include "complexconfig.h"
#include "currentlogin.h"
#include "registration.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

// Registers the logged-on user as an operator of this workstation. Callers read the output;
// the exit code is 0 whatever happened.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
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
