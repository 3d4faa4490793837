// The save soak's child: the editor's window with every plugin of the build over the given
// directory. It loads variant 0 of a generated complex into the plugins and saves, says so and
// waits for a line on its input; then it loads variant 1 and saves again, killing itself with SIGKILL the given number of microseconds after the save began
// (never when the number is negative).
// Usage: orvane-soak-saver <directory> <channels> <kill-after-us>

#include "complexconfig.h"
#include "complexgenerator.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "orvaneplugin.h"
#include "orvaneplugininstance.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

namespace {

// Saves as the engineer does and prints "saved <ms>", or why it failed.
bool save(Orvane& window, const ModalAnswerer& answers, long killAfterUs)
{
    QElapsedTimer timer;
    timer.start();
    if (killAfterUs >= 0) {
        std::thread([killAfterUs] {
            const timespec delay{killAfterUs / 1000000, (killAfterUs % 1000000) * 1000};
            clock_nanosleep(CLOCK_MONOTONIC, 0, &delay, nullptr);
            ::kill(::getpid(), SIGKILL);
        }).detach();
    }
    window.saveAction()->trigger();
    const QString message = window.statusBar()->currentMessage();
    if (message != QStringLiteral("Конфигурация сохранена") || !answers.seen().isEmpty()) {
        std::printf("failed %s %s\n", qPrintable(message), qPrintable(answers.seen().join(QLatin1String("; "))));
        return false;
    }
    std::printf("saved %lld\n", static_cast<long long>(timer.elapsed()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc != 4)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const StoreTest::ComplexSizes sizes = StoreTest::ComplexSizes::medium(std::atoi(argv[2]));
    const long killAfterUs = std::atol(argv[3]);

    CoConfig::ComplexConfig store(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    std::printf("read %d\n", store.readStatus());
    if (store.readStatus() != 0)
        std::printf("%s\n", qPrintable(store.errorString()));

    ModalAnswerer answers; // anything modal is a failure, dismissed so that the run goes on
    Orvane window(QStringList(), &store, QStringLiteral(ORVANE_BIN_DIR));
    // The variant is handed to the plugins as the shell does after a save; some of them read
    // their part from the disk again then, and keep it.
    const auto saveVariant = [&](int variant, long killAfter) {
        StoreTest::putInto(store, StoreTest::generateComplex(sizes, variant));
        for (OrvanePluginInstance* instance : window.plugins())
            instance->plugin()->setComplexConfig(&store);
        return save(window, answers, killAfter);
    };
    if (!saveVariant(0, -1))
        return 1;
    std::string go;
    std::getline(std::cin, go);
    return saveVariant(1, killAfterUs) ? 0 : 1;
}
