// Times the whole editor: the shell's window with every plugin of the build, over the real store
// on a temporary copy of the sample complex and on the large complex of the store's benchmark
// (with 20,000 operators registered on 20,000 workstations in 1,000 unions). Each complex runs in
// a process of its own, so that its peak memory is its own.
// A third process times "Журнал изменений" on a directory of 1,000 saves and on a rewrite of the
// large complex.
// Run by hand: QT_QPA_PLATFORM=offscreen orvane-bench-system

#include "complexconfig.h"
#include "complexgenerator.h"
#include "historydialog.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "testfiles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStatusBar>
#include <QTreeWidget>
#include <QTabWidget>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "benchmark failed: %s\n", qPrintable(what));
    std::exit(1);
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void report(const QString& what, double ms, double limit)
{
    std::printf("  %s %8.1f ms", qPrintable(what.leftJustified(46)), ms); // padded in characters, not bytes
    if (limit > 0)
        std::printf("   (limit %5.0f ms)%s", limit, ms > limit ? "   OVER" : "");
    std::printf("\n");
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The window on screen with everything it scheduled done and painted.
void paint(QWidget& window)
{
    QApplication::processEvents();
    window.grab();
}

// The floor under a start-up: every file of the directory read into memory, then the same bytes
// parsed by the parser the store reads with (no records built). Measured before the window, one
// file at a time, so that the peak memory stays the editor's.
struct Floor
{
    double raw = 0;
    double parsed = 0;
};

Floor measureFloor(const QString& dir)
{
    Floor floor;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        QByteArray bytes;
        floor.raw += timed([&] {
            if (file.open(QIODevice::ReadOnly))
                bytes = file.readAll();
        });
        floor.parsed += timed([&] {
            pugi::xml_document document;
            document.load_buffer_inplace(bytes.data(), size_t(bytes.size()));
        });
    }
    return floor;
}

// Changes a text cell of the first row of the page's first view; false when it has none.
bool editFirstRecord(QWidget* page)
{
    auto* view = page ? page->findChild<QAbstractItemView*>() : nullptr;
    QAbstractItemModel* model = view ? view->model() : nullptr;
    for (int column = 0; model && column < model->columnCount(); ++column) {
        const QModelIndex index = model->index(0, column);
        if ((index.flags() & Qt::ItemIsEditable) && index.data(Qt::EditRole).typeId() == QMetaType::QString)
            return model->setData(index, index.data(Qt::EditRole).toString() + QStringLiteral(" (изм.)"));
    }
    return false;
}

// The directory's records written by fresh stores into new folders under `into`: serialise,
// write, sync; the time of each round. Measured before the window, so that the peak memory stays
// the editor's.
std::vector<double> plainWrites(const QString& dir, const QString& into, int rounds)
{
    const CoConfig::ComplexConfig source(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        CoConfig::ComplexConfig target(into + QString::number(round), 0, 0);
        StoreTest::putInto(target, source.data());
        times.push_back(timed([&] {
            if (!target.write(CoConfig::ObjectAll))
                fail(target.errorString());
        }));
    }
    return times;
}

// One complex: its figures, then "startup <ms>" for the parent.
int runOne(const QString& which)
{
    QTemporaryDir temp;
    if (!temp.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString dir = temp.filePath(QStringLiteral("complex"));
    const bool large = which == QLatin1String("large");
    if (large) {
        StoreTest::ComplexSizes sizes = StoreTest::ComplexSizes::large();
        sizes.registrations = 1;
        CoConfig::ComplexConfig writer(dir, 0, 0);
        StoreTest::putInto(writer, StoreTest::generateComplex(sizes, 0));
        if (!writer.write(CoConfig::ObjectAll))
            fail(writer.errorString());
    } else if (!TestFiles::copyFolder(QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex"), dir)) {
        fail(QStringLiteral("cannot copy the sample complex"));
    }
    qputenv("ORVANE_CONFIG_DIR", dir.toLocal8Bit());

    std::printf("%s complex\n", large ? "Large" : "Sample");
    const Floor floor = measureFloor(dir);
    // Each figure of the save in every tab is the median of three rounds, so that one slow
    // fsync of this machine does not make the ratio.
    const std::vector<double> writes = plainWrites(dir, temp.filePath(QStringLiteral("plain")), 3);
    const double written = median(writes);
    std::unique_ptr<Orvane> window;
    const double startup = timed([&] {
        window = std::make_unique<Orvane>(QStringList(), nullptr, QStringLiteral(ORVANE_BIN_DIR));
        window->resize(1200, 800);
        window->show();
        paint(*window);
    });
    report(QStringLiteral("start-up to the first painted window (%1 tabs)").arg(window->tabWidget()->count()), startup,
           large ? 500 : 400);
    report(QStringLiteral("  the directory's bytes read"), floor.raw, 0);
    report(QStringLiteral("  and parsed only"), floor.parsed, 0);
    for (int tab = 1; tab < window->tabWidget()->count(); ++tab) {
        report(QStringLiteral("first switch to \"%1\"").arg(window->tabWidget()->tabText(tab)), timed([&] {
                   window->tabWidget()->setCurrentIndex(tab);
                   paint(*window);
               }),
               200);
    }
    const auto save = [&] {
        window->saveAction()->trigger();
        paint(*window);
    };
    // One record of one kind: a text cell of the first table's first row.
    if (!editFirstRecord(window->tabWidget()->widget(0)))
        fail(QStringLiteral("no text cell to edit in the first tab"));
    report(QStringLiteral("save after one edit (\"%1\", one record)").arg(window->tabWidget()->tabText(0)), timed(save),
           150);
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("  %s %8.1f MiB", qPrintable(QStringLiteral("peak memory so far (before every kind changes)").leftJustified(46)),
                    usage.ru_maxrss / 1024.0);
        if (large)
            std::printf("   (limit 306 MiB)%s", usage.ru_maxrss / 1024.0 > 306 ? "   OVER" : "");
        std::printf("\n");
    }
    // One record of every tab that has a table, beside what the store's files cost to write at all.
    int edited = 0;
    std::vector<double> saves;
    for (int round = 0; round < 3; ++round) {
        edited = 0;
        for (int tab = 0; tab < window->tabWidget()->count(); ++tab)
            edited += editFirstRecord(window->tabWidget()->widget(tab)) ? 1 : 0;
        saves.push_back(timed(save));
    }
    const double everyKind = median(saves);
    report(QStringLiteral("save after an edit in each of %1 tabs").arg(edited), everyKind, 500);
    std::printf("    (median of %.1f, %.1f, %.1f ms; the store's files serialised, written and synced anew: %.1f ms,\n"
                "     median of %.1f, %.1f, %.1f; ratio %.2f, limit 1.30)\n",
                saves[0], saves[1], saves[2], written, writes[0], writes[1], writes[2], everyKind / written);
    report(QStringLiteral("save of everything"), timed([&] {
               window->saveAction()->trigger();
               paint(*window);
           }),
           2000);
    if (!window->statusBar()->currentMessage().startsWith(QStringLiteral("Конфигурация сохранена")))
        fail(QStringLiteral("the save said: ") + window->statusBar()->currentMessage());
    {
        ModalAnswerer answers;
        answers.setPollInterval(1);
        answers.clickNext(QStringLiteral("Нет"));
        report(QStringLiteral("exit (the question answered at once)"), timed([&] {
                   window->close();
                   window.reset();
               }),
               0);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  %s %8.1f MiB\n", qPrintable(QStringLiteral("peak memory").leftJustified(46)), usage.ru_maxrss / 1024.0);
    std::printf("startup %.1f\n", startup);
    return 0;
}

// Until the dialog shows the selected save's changes, painted.
void waitForChanges(HistoryDialog& dialog)
{
    while (dialog.isFindingChanges())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    paint(dialog);
}

// "Журнал изменений": opened on 1,000 saves of the sample complex, and showing the changes of a
// save that rewrote every record of the large complex.
int runJournal()
{
    QTemporaryDir temp;
    const QString saves = temp.filePath(QStringLiteral("saves"));
    qputenv("ORVANE_HISTORY", "1");
    if (!TestFiles::copyFolder(QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex"), saves))
        fail(QStringLiteral("cannot copy the sample complex"));
    {
        CoConfig::ComplexConfig store(saves, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        if (store.racks().isEmpty())
            fail(QStringLiteral("the sample complex has no rack"));
        for (int save = 0; save < 1000; ++save) {
            store.racks().first().name = QStringLiteral("Стойка %1").arg(save);
            if (!store.write(CoConfig::ObjectRacks))
                fail(store.errorString());
        }
    }
    std::printf("Journal\n");
    std::unique_ptr<HistoryDialog> dialog;
    report(QStringLiteral("opened on 1,000 saves"), timed([&] {
               dialog = std::make_unique<HistoryDialog>(saves, nullptr);
               dialog->show();
               paint(*dialog);
           }),
           200);
    if (dialog->findChild<QTreeWidget*>()->topLevelItemCount() < 1000)
        fail(QStringLiteral("the journal lists fewer than 1,000 saves"));
    waitForChanges(*dialog);
    dialog.reset();

    const QString rewritten = temp.filePath(QStringLiteral("rewritten"));
    for (int variant = 1; variant <= 2; ++variant) {
        CoConfig::ComplexConfig writer(rewritten, 0, 0);
        StoreTest::putInto(writer, StoreTest::generateComplex(StoreTest::ComplexSizes::large(), variant));
        if (!writer.write(CoConfig::ObjectAll))
            fail(writer.errorString());
    }
    dialog = std::make_unique<HistoryDialog>(rewritten, nullptr);
    dialog->show();
    const double shown = timed([&] { waitForChanges(*dialog); });
    report(QStringLiteral("changes of a rewrite of the large complex (%1 lines)").arg(dialog->shownLines().size()),
           shown, 1000);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 2 && QByteArray(argv[1]) == "--one")
        return runOne(QString::fromLocal8Bit(argv[2]));
    if (argc > 1 && QByteArray(argv[1]) == "--journal")
        return runJournal();

    // The settings of the run, shared by both children: nothing of the engineer's own.
    QTemporaryDir settings;
    qputenv("ORVANE_SETTINGS", settings.filePath(QStringLiteral("orvane.ini")).toLocal8Bit());
    double startups[2] = {0, 0};
    const char* complexes[2] = {"sample", "large"};
    for (int k = 0; k < 2; ++k) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), QLatin1String(complexes[k])});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            fail(QStringLiteral("the %1 complex's run failed").arg(QLatin1String(complexes[k])));
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            if (line.startsWith("startup "))
                startups[k] = line.mid(8).toDouble();
            else if (!line.isEmpty())
                std::printf("%s\n", line.constData());
        }
    }
    std::printf("start-up, large to sample: %.1f\n", startups[0] > 0 ? startups[1] / startups[0] : 0.0);
    QProcess journal;
    journal.setProcessChannelMode(QProcess::ForwardedChannels);
    journal.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--journal")});
    if (!journal.waitForFinished(-1) || journal.exitCode() != 0)
        fail(QStringLiteral("the journal's run failed"));
    return 0;
}
