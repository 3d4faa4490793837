// Times the antenna editor plugin over a real store: the tab loaded and painted, a row
// appended, a commit into the store and a whole save (commit and write).
// Run by hand: QT_QPA_PLATFORM=offscreen orvane-bench-antennas [antennas] [unions]

#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>

#include <cstdio>
#include <functional>

namespace {

void fillStore(CoConfig::ComplexConfigInterface& store, int antennas, int unions)
{
    for (int uid = 1; uid <= antennas; ++uid)
        store.addAntenna({uid % 4 - 1, float(uid % 361), uid % 10, uid, uid % 3 != 0});
    const int perUnion = antennas / unions;
    for (int uid = 1; uid <= unions; ++uid) {
        CoConfig::ArmUnion armUnion{uid, QStringLiteral("Пост %1").arg(uid), {uid, uid + unions}, {}};
        for (int n = 0; n < perUnion; ++n)
            armUnion.antennaUids.append((uid - 1) * perUnion + n + 1);
        store.addArmUnion(armUnion);
    }
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents(); // layouts and paints that the change scheduled
    return timer.nsecsElapsed() / 1e6;
}

void report(const char* what, double ms, double limit)
{
    std::printf("  %-36s %8.1f ms   (limit %6.0f ms)%s\n", what, ms, limit, ms > limit ? "   OVER" : "");
}

QPushButton* button(QWidget* page, const QString& text)
{
    for (QPushButton* button : page->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int antennas = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int unions = argc > 2 ? QByteArray(argv[2]).toInt() : 1000;

    PluginLibrary library(QStringLiteral("orvane-40-antennas"));
    if (!library.isLoaded()) {
        std::fprintf(stderr, "cannot load the antenna editor: %s\n", qPrintable(library.errorString()));
        return 1;
    }
    TestStore store;
    fillStore(*store.get(), antennas, unions);
    if (!store->write(CoConfig::ObjectAll)) {
        std::fprintf(stderr, "cannot write the store: %s\n", qPrintable(store->errorString()));
        return 1;
    }

    {
        // The first widget that a process paints sets up fonts and styles; that is not the tab's.
        QTableView warmUp;
        warmUp.show();
        QApplication::processEvents();
        warmUp.grab();
    }

    OrvanePlugin* plugin = library.create();
    QWidget* page = plugin->widget();
    page->resize(1400, 900);
    std::printf("Antenna editor, %d antennas in %d unions\n", antennas, unions);
    report("tab ready and painted", timed([&] {
               plugin->setComplexConfig(store.get());
               page->show();
               QApplication::processEvents();
               page->grab();
           }),
           300);
    QPushButton* add = button(page, QStringLiteral("Добавить"));
    report("append one row", timed([&] { add->click(); }), 50);
    report("resize the page", timed([&] { page->resize(1200, 800); }), 100);
    report("commit into the store", timed([&] { plugin->saveComplexConfig(); }), 1000);
    report("save (commit and write)", timed([&] {
               plugin->saveComplexConfig();
               if (!store->write(CoConfig::ObjectAll))
                   std::fprintf(stderr, "write failed: %s\n", qPrintable(store->errorString()));
           }),
           1000);
    report("reload after the save", timed([&] { plugin->setComplexConfig(store.get()); }), 300);
    library.destroy(plugin);
    return 0;
}
