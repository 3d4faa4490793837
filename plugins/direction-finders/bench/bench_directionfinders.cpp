// Times the direction-finder tab (the real plugin over a real store on a temporary directory):
// load to painted, expand all, commit the list, write the store.
// Run by hand: QT_QPA_PLATFORM=offscreen orvane-bench-direction-finders [records]

#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>

#include <cstdio>
#include <functional>

namespace {

// Half of them real, half virtual, spread over the map.
bool writeRecords(TestStore& store, int count)
{
    store->clearPelengators();
    for (int uid = 1; uid <= count; ++uid) {
        CoConfig::Pelengator p;
        p.uid = uid;
        p.linkUid = uid + 100000;
        p.name = QStringLiteral("Пеленгатор %1").arg(uid);
        p.capabilities = uint(uid) & 0x7f;
        p.bandStart = 1500000 + uid;
        p.bandWidth = 28500000;
        p.latitude = -80 + (uid % 1600) * 0.1;
        p.longitude = -170 + (uid % 3400) * 0.1;
        p.isVirtual = uid % 2 == 0;
        p.marked = uid % 3 == 0;
        store->addPelengator(p);
    }
    return store->write(CoConfig::ObjectAll);
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
    std::printf("  %-40s %8.1f ms   (limit %6.0f ms)%s\n", what, ms, limit, ms > limit ? "   OVER" : "");
}

bool measure(PluginLibrary& library, int count)
{
    TestStore store;
    if (!writeRecords(store, count)) {
        std::fprintf(stderr, "cannot write the store: %s\n", qPrintable(store->errorString()));
        return false;
    }
    std::printf("%d direction finders\n", count);
    OrvanePlugin* plugin = library.create();
    QTreeView* view = nullptr;
    report("load and first paint", timed([&] {
               plugin->setComplexConfig(store.get());
               plugin->widget()->resize(1000, 800);
               plugin->widget()->show();
               QApplication::processEvents();
               view = plugin->widget()->findChild<QTreeView*>();
               plugin->widget()->grab();
           }),
           count > 1000 ? 1000 : 250);
    report("expand all and paint", timed([&] {
               view->expandAll();
               view->grab();
           }),
           count > 1000 ? 1000 : 200);
    report("commit the list (saveComplexConfig)", timed([&] { plugin->saveComplexConfig(); }), count > 1000 ? 100 : 20);
    bool written = false;
    report("write the store", timed([&] { written = store->write(CoConfig::ObjectAll); }), count > 1000 ? 1500 : 250);
    library.destroy(plugin);
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int large = argc > 1 ? QByteArray(argv[1]).toInt() : 20000;

    PluginLibrary library(QStringLiteral("orvane-60-direction-finders"));
    if (!library.isLoaded()) {
        std::fprintf(stderr, "cannot load the direction-finder editor: %s\n", qPrintable(library.errorString()));
        return 1;
    }
    for (const int count : {1000, large}) {
        if (!measure(library, count))
            return 1;
    }
    return 0;
}
