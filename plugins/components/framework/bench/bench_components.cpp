// Times the component table framework on tables of 100,000 rows through the real plugins: the
// rack editor, and the channel editor over the store benchmark's large complex, whose channels
// refer to thousands of receivers, channel servers and antenna controls; the question before
// removing racks of that complex; then the antenna pool, server and control editors over it.
// Run by hand: QT_QPA_PLATFORM=offscreen orvane-bench-components [rows]

#include "complexgenerator.h"
#include "modalanswerer.h"
#include "orvaneedithistory.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "referrers.h"
#include "standardtablepage.h"
#include "teststore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QUndoStack>
#include <QDialog>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QToolBar>

#include <cstdio>
#include <functional>
#include <memory>

using CoConfig::ComponentUid;

namespace {

enum Action { Add, Remove, Edit, Fill, FillWithCounter, Copy, Paste };

void fillRacks(CoConfig::ComplexConfigInterface& store, int rows)
{
    store.racks().clear();
    for (int uid = 1; uid <= rows; ++uid) {
        CoConfig::Rack rack;
        rack.uid = ComponentUid<0>(uid);
        rack.name = QStringLiteral("Стойка %1").arg(uid);
        rack.shortName = QStringLiteral("С%1").arg(uid);
        store.racks().insert(rack.uid, rack);
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

class Table
{
public:
    Table(OrvanePlugin* plugin, std::function<void(OrvanePlugin*)> destroy)
        : m_plugin(plugin), m_destroy(std::move(destroy)), m_view(plugin->widget()->findChild<QTableView*>())
    {
        m_view->window()->resize(1400, 900);
    }
    ~Table() { m_destroy(m_plugin); }

    OrvanePlugin* plugin() const { return m_plugin; }
    QTableView* view() const { return m_view; }
    QAbstractItemModel* model() const { return m_view->model(); }
    // The texts of the boxes that the command showed.
    QStringList trigger(Action action) const
    {
        // A removal of records that others refer to asks first; the figure includes the question.
        ModalAnswerer answers;
        answers.setPollInterval(1);
        if (action == Remove)
            answers.clickNext(QStringLiteral("Да"));
        m_plugin->toolBar()->actions().at(action)->trigger();
        QStringList texts;
        for (const ModalAnswerer::Box& box : answers.boxes())
            texts << box.text;
        return texts;
    }

    void selectRows(const QList<int>& rows, int column) const
    {
        QItemSelection selection;
        for (int row : rows)
            selection.select(model()->index(row, column), model()->index(row, column));
        view()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        view()->selectionModel()->setCurrentIndex(model()->index(rows.value(0), column), QItemSelectionModel::NoUpdate);
    }

    void selectRange(int first, int last, int column) const
    {
        const QItemSelection selection(model()->index(first, column), model()->index(last, column));
        view()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        view()->selectionModel()->setCurrentIndex(model()->index(first, column), QItemSelectionModel::NoUpdate);
    }

private:
    OrvanePlugin* m_plugin;
    std::function<void(OrvanePlugin*)> m_destroy;
    QTableView* m_view;
};

void report(const char* what, double ms, double limit)
{
    std::printf("  %-42s %8.1f ms   (limit %6.0f ms)%s\n", what, ms, limit, ms > limit ? "   OVER" : "");
}

void measure(const char* title, Table& table, CoConfig::ComplexConfigInterface& store, int rows)
{
    std::printf("%s, %d rows x %d columns\n", title, rows, table.model()->columnCount());
    report("load and first paint", timed([&] {
               table.plugin()->setComplexConfig(&store);
               table.view()->window()->show();
               QApplication::processEvents();
               table.view()->grab();
           }),
           150);
    report("scroll to the middle and paint", timed([&] {
               table.view()->scrollTo(table.model()->index(rows / 2, 0), QAbstractItemView::PositionAtTop);
               table.view()->grab();
           }),
           150);
    report("append one row", timed([&] { table.trigger(Add); }), 50);
    table.selectRows({rows / 2}, 1);
    report("remove one row", timed([&] { table.trigger(Remove); }), 50);
    report("reload, unsaved edits dropped", timed([&] { table.plugin()->setComplexConfig(&store); }), 30);
    table.trigger(Add);
    table.plugin()->saveComplexConfig();
    report("reload after a save", timed([&] { table.plugin()->setComplexConfig(&store); }), 30);

    const int scatteredCount = qMin(1000, rows / 10);
    QList<int> scattered;
    for (int k = 0; k < scatteredCount; ++k)
        scattered.append(k * (rows / scatteredCount) + 7);
    table.selectRows(scattered, 1);
    report(qPrintable(QStringLiteral("remove %1 scattered selected rows").arg(scatteredCount)),
           timed([&] { table.trigger(Remove); }), 100);
    // What the question before a removal looks up: the records that refer to 1,000 of these.
    {
        QSet<int> uids;
        for (int row = 0; row < qMin(1000, table.model()->rowCount()); ++row)
            uids.insert(table.model()->index(row, 0).data().toInt());
        const auto kind = ConfigCheck::RecordKind(table.model()->index(0, 0).data(Qt::EditRole).toSize().height());
        int referring = 0;
        report(qPrintable(QStringLiteral("who refers to %1 of them").arg(uids.size())),
               timed([&] { referring = ConfigCheck::referrersOf(store, kind, uids).total; }), 200);
        std::printf("  (%d referring records)\n", referring);
    }

    const int count = table.model()->rowCount();
    table.selectRange(0, count - 1, 1);
    report("fill the selected cells of a column", timed([&] { table.trigger(Fill); }), 1000);
    // The fill is one step of the tab's history, taken back and done again as a whole.
    if (auto* history = qobject_cast<OrvaneEditHistory*>(table.plugin())) {
        QUndoStack* stack = history->undoStack();
        std::printf("  (one step: %s)\n", qPrintable(stack->undoText()));
        report("undo the fill", timed([&] { stack->undo(); }), 100);
        report("redo the fill", timed([&] { stack->redo(); }), 100);
    }
    table.selectRange(0, count - 1, 1);
    {
        ModalAnswerer answers;
        answers.setPollInterval(1); // the wait for the dialog is part of the figure
        answers.handleNext([](QWidget* modal) {
            modal->findChild<QSpinBox*>(QStringLiteral("digits"))->setValue(6);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->accept();
        });
        report("fill them with a counter", timed([&] { table.trigger(FillWithCounter); }), 1000);
    }

    const int copied = qMin(10000, count);
    table.selectRange(0, copied - 1, 1);
    report(qPrintable(QStringLiteral("copy %1 rows").arg(copied)), timed([&] { table.trigger(Copy); }), 1000);
    report(qPrintable(QStringLiteral("paste %1 rows").arg(copied)), timed([&] { table.trigger(Paste); }), 1000);
    // The same rows as a spreadsheet holds them: the text of the copy alone, titles first.
    {
        const QString text = QApplication::clipboard()->text();
        QApplication::clipboard()->setText(text);
        const int before = table.model()->rowCount();
        QUndoStack* stack = qobject_cast<OrvaneEditHistory*>(table.plugin())->undoStack();
        const int steps = stack->index();
        QStringList refusal;
        report(qPrintable(QStringLiteral("paste %1 lines of text").arg(copied)),
               timed([&] { refusal = table.trigger(Paste); }), 1000);
        const int added = table.model()->rowCount() - before;
        std::printf("  (%d rows added in %d step: %s)\n", added, stack->index() - steps,
                    qPrintable(added > 0 ? stack->undoText() : refusal.join(QLatin1Char(' ')).left(300)));
        if (added > 0)
            report("undo the text paste", timed([&] { stack->undo(); }), 1000);
    }
    report("save", timed([&] { table.plugin()->saveComplexConfig(); }), 1000);

    // The find line: opened (its texts gathered while idle), then typed a key at a time; then
    // closed, opened again and typed into at once, so that the first key gathers them.
    auto* page = qobject_cast<StandardTablePage*>(table.plugin()->widget());
    auto* find = page->findChild<QLineEdit*>(QStringLiteral("find"));
    // As the key would: the shortcut needs an active window, which offscreen has not.
    const auto open = [page] { Q_EMIT page->findChild<QShortcut*>()->activated(); };
    report("find: Ctrl+F opens the line", timed(open), 100);
    report("find: the rows' texts gathered while idle", timed([page] {
               while (!page->findReady())
                   QApplication::processEvents();
           }),
           2000);
    const QString typed = QStringLiteral("ПРИЁМНИК 42"); // a reference, in other letters
    double slowest = 0;
    for (int length = 1; length <= typed.size(); ++length)
        slowest = qMax(slowest, timed([&] { find->setText(typed.left(length)); }));
    report(qPrintable(QStringLiteral("find: slowest key (%1 rows shown at the end)").arg(table.model()->rowCount())),
           slowest, 50);
    report("find: a key removed (widens)", timed([&] { find->setText(typed.left(typed.size() - 3)); }), 50);
    report("find: cleared", timed([&] { find->clear(); }), 50);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(find, &escape);
    report("find: reopened and a key typed at once", timed([&] {
               open();
               find->setText(typed.left(1));
           }),
           2000);
    QApplication::sendEvent(find, &escape);
    table.view()->window()->hide();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    PluginLibrary racks(QStringLiteral("orvane-10-racks"));
    PluginLibrary channels(QStringLiteral("orvane-32-channels"));
    // The antenna equipment of the same complex: pools, their servers and the controls under them.
    PluginLibrary pools(QStringLiteral("orvane-41-antenna-pools"));
    PluginLibrary antennaServers(QStringLiteral("orvane-42-antenna-servers"));
    PluginLibrary antennaControls(QStringLiteral("orvane-43-antenna-controls"));
    for (const PluginLibrary* library : {&racks, &channels, &pools, &antennaServers, &antennaControls}) {
        if (!library->isLoaded()) {
            std::fprintf(stderr, "cannot load an editor: %s\n", qPrintable(library->errorString()));
            return 1;
        }
    }

    TestStore store;
    // The small table first, to show which figures grow with the rows.
    for (const int size : {1000, rows}) {
        fillRacks(*store.get(), size);
        {
            Table table(racks.create(), [&racks](OrvanePlugin* plugin) { racks.destroy(plugin); });
            measure("Racks (the rack editor plugin)", table, *store.get(), size);
        }
        const auto sizes = size == 100000 ? StoreTest::ComplexSizes::large() : StoreTest::ComplexSizes::medium(size);
        StoreTest::putInto(*store.get(), StoreTest::generateComplex(sizes, 0));
        {
            Table table(channels.create(), [&channels](OrvanePlugin* plugin) { channels.destroy(plugin); });
            measure("Channels (the channel editor plugin)", table, *store.get(), size);
        }
        // The question before removing racks of this complex: who refers to 1,000 of them.
        {
            const auto& racks = std::as_const(*store.get()).racks();
            QSet<int> uids;
            for (auto it = racks.cbegin(); it != racks.cend() && uids.size() < 1000; ++it)
                uids.insert(it.key().value);
            int referring = 0;
            std::printf("Racks of the complex (%lld racks)\n", qlonglong(racks.size()));
            report(qPrintable(QStringLiteral("who refers to %1 racks").arg(uids.size())), timed([&] {
                       referring = ConfigCheck::referrersOf(*store.get(), ConfigCheck::RecordKind::Rack, uids).total;
                   }),
                   200);
            std::printf("  (%d referring records)\n", referring);
        }
        const CoConfig::ReceiverConfig& radio = std::as_const(*store.get()).receivers();
        const struct { const char* title; PluginLibrary* library; qsizetype rows; } antennaTables[] = {
            {"Antenna pools (the pool editor plugin)", &pools, radio.antennaPools.size()},
            {"Antenna servers (the antenna server editor plugin)", &antennaServers, radio.antennaServers.size()},
            {"Antenna controls (the antenna control editor plugin)", &antennaControls, radio.antennaControls.size()}};
        for (const auto& antennas : antennaTables) {
            PluginLibrary* library = antennas.library;
            Table table(library->create(), [library](OrvanePlugin* plugin) { library->destroy(plugin); });
            measure(antennas.title, table, *store.get(), int(antennas.rows));
        }
    }
    return 0;
}
