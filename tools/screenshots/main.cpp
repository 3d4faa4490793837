// Opens the editor as the program does (the configured store, every plugin of its folder) and
// saves a picture of the window for each tab: OUTDIR/<plugin library>.png.

#include "orvane.h"
#include "orvaneplugin.h"
#include "orvaneplugininstance.h"
#include "translations.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTabWidget>
#include <QTextStream>

namespace {

// Lets queued work (a server's answer, a deferred layout) reach the screen.
void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Common::installQtTranslations(&application);
    QTextStream err(stderr);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: orvane-screenshots OUTDIR\n";
        return 2;
    }
    const QDir out(arguments.at(1));
    if (!QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 2;
    }

    Orvane window{QStringList()};
    window.resize(1200, 700);
    window.show();
    settle(500);

    int saved = 0;
    for (int tab = 0; tab < window.tabWidget()->count(); ++tab) {
        window.tabWidget()->setCurrentIndex(tab);
        settle(300);
        QString name = QStringLiteral("tab-%1").arg(tab);
        for (OrvanePluginInstance* instance : window.plugins()) {
            if (instance->plugin() && instance->plugin()->widget() == window.tabWidget()->widget(tab))
                name = QFileInfo(instance->filePath()).completeBaseName();
        }
        const QString file = out.filePath(name + QStringLiteral(".png"));
        if (!window.grab().save(file)) {
            err << "cannot write " << file << "\n";
            return 1;
        }
        QTextStream(stdout) << file << "\n";
        ++saved;
    }
    return saved > 0 ? 0 : 1;
}
