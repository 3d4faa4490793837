// Times the operator editor (the real plugin through the contract, over the real store on a
// temporary directory) on complexes of N operators and N workstations in unions of 20, one to
// three registrations on each workstation. Each step runs on every size in turn, so that a row
// shows how the figure grows. Each figure is the wall time, with the process's processor time
// beside it: on a busy machine the first also counts the waits for a processor.
// Run by hand: QT_QPA_PLATFORM=offscreen orvane-bench-operators [N...]   (default: 2000 20000)

#include "complexconfig.h"
#include "complexgenerator.h"
#include "modalanswerer.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

enum Column { Name = 0, Login = 3 };

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "\nbenchmark failed: %s\n", qPrintable(what));
    std::exit(1);
}

// One complex on disk, the store that read it, and a page of the plugin over that store.
class Complex
{
public:
    Complex(PluginLibrary& library, int size) : m_library(library), m_size(size)
    {
        if (!m_dir.isValid())
            fail(QStringLiteral("no temporary folder"));
        StoreTest::ComplexSizes sizes;
        sizes.computers = size;
        sizes.operators = size;
        sizes.unions = size / 20;
        sizes.registrations = 3;
        {
            CoConfig::ComplexConfig writer(m_dir.path(), 0, 0);
            StoreTest::putInto(writer, StoreTest::generateComplex(sizes, 0));
            if (!writer.write(CoConfig::ObjectAll))
                fail(writer.errorString());
        }
        // As the shell makes it.
        m_store = std::make_unique<CoConfig::ComplexConfig>(m_dir.path(), CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        m_plugin = m_library.create();
        if (!m_plugin)
            fail(QStringLiteral("no operator plugin: ") + m_library.errorString());
    }
    ~Complex() { m_library.destroy(m_plugin); }

    int size() const { return m_size; }
    CoConfig::ComplexConfig* store() const { return m_store.get(); }
    OrvanePlugin* plugin() const { return m_plugin; }
    QWidget* page() const { return m_plugin->widget(); }
    QTreeView* view() const { return page()->findChild<QTreeView*>(); }
    QAbstractItemModel* model() const { return view()->model(); }

    void groupBy(const QString& text) const
    {
        for (QRadioButton* radio : page()->findChildren<QRadioButton*>()) {
            if (radio->text() == text)
                radio->click();
        }
    }

    void press(const QString& text) const
    {
        for (QPushButton* button : page()->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        fail(QStringLiteral("no button ") + text);
    }

    // The row reached through row numbers from the top level.
    QModelIndex at(std::initializer_list<int> rows) const
    {
        QModelIndex index;
        for (int row : rows)
            index = model()->index(row, Name, index);
        if (!index.isValid())
            fail(QStringLiteral("no such row at size %1").arg(m_size));
        return index;
    }

    void select(const QModelIndex& index) const
    {
        view()->scrollTo(index);
        view()->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        QApplication::processEvents();
    }

private:
    PluginLibrary& m_library;
    int m_size;
    QTemporaryDir m_dir;
    std::unique_ptr<CoConfig::ComplexConfig> m_store;
    OrvanePlugin* m_plugin = nullptr;
};

double cpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The processor time of the last timed() call: on a busy machine the wall time also counts
// the waits for a processor.
double lastCpuMs = 0;

double timed(const std::function<void()>& work)
{
    const double cpuStart = cpuMs();
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents(); // layouts and paints that the change scheduled
    const double ms = timer.nsecsElapsed() / 1e6;
    lastCpuMs = cpuMs() - cpuStart;
    return ms;
}

// Runs work with the modal dialogs it opens answered; the wait for each dialog is part of the figure.
double timedWithDialogs(const std::function<void()>& work, const QList<ModalAnswerer::Handler>& answers)
{
    ModalAnswerer answerer;
    answerer.setPollInterval(1);
    for (const ModalAnswerer::Handler& answer : answers)
        answerer.handleNext(answer);
    const double ms = timed(work);
    if (answerer.pending() != 0 || answerer.seen().size() != answers.size())
        fail(QStringLiteral("dialogs: ") + answerer.seen().join(QStringLiteral("; ")));
    return ms;
}

ModalAnswerer::Handler enterLogin(const QString& login)
{
    return [login](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("loginEdit"));
        if (!edit)
            fail(QStringLiteral("no login field"));
        edit->setText(login);
        ModalAnswerer::click(dialog, QMessageBox::Ok);
    };
}

ModalAnswerer::Handler ok()
{
    return [](QWidget* dialog) { ModalAnswerer::click(dialog, QMessageBox::Ok); };
}

void expect(bool condition, const QString& what, const Complex& complex)
{
    if (!condition)
        fail(QStringLiteral("%1 at size %2").arg(what).arg(complex.size()));
}

// What a double click runs.
void edit(const Complex& complex)
{
    if (!QMetaObject::invokeMethod(complex.view(), "Edit"))
        fail(QStringLiteral("no Edit slot"));
}

// Grouped by union: a copied registration pasted onto a workstation of the next union.
double addRegistrationByUnion(Complex& c)
{
    const int top = c.model()->rowCount() / 2;
    c.select(c.at({top, 0, 0}));
    c.press(QStringLiteral("Копировать"));
    const QModelIndex target = c.at({top + 1, 0});
    c.select(target);
    const int before = c.model()->rowCount(target);
    const double ms = timed([&] { c.press(QStringLiteral("Вставить")); });
    expect(c.model()->rowCount(c.at({top + 1, 0})) == before + 1, QStringLiteral("paste by union added nothing"), c);
    return ms;
}

double renameRegistration(Complex& c, const QModelIndex& registration, const QString& login)
{
    const QPersistentModelIndex index = registration;
    c.select(index);
    const double ms = timedWithDialogs([&] { edit(c); }, {enterLogin(login)});
    expect(index.sibling(index.row(), Login).data().toString() == login, QStringLiteral("rename did nothing"), c);
    return ms;
}

double removeRow(Complex& c, const QModelIndex& row)
{
    const QPersistentModelIndex parent = row.parent();
    const int before = c.model()->rowCount(parent);
    c.select(row);
    const double ms = timedWithDialogs([&] { c.press(QStringLiteral("Удалить")); }, {ok()});
    expect(c.model()->rowCount(parent) == before - 1, QStringLiteral("remove did nothing"), c);
    return ms;
}

// Grouped by operator: a copied registration pasted onto another operator asks for a login.
double addRegistrationByOperator(Complex& c)
{
    const int top = c.model()->rowCount() / 2;
    c.select(c.at({top, 0}));
    c.press(QStringLiteral("Копировать"));
    const QModelIndex target = c.at({top + 1});
    c.select(target);
    const int before = c.model()->rowCount(target);
    const double ms =
        timedWithDialogs([&] { c.press(QStringLiteral("Вставить")); }, {enterLogin(QStringLiteral("bench-added"))});
    expect(c.model()->rowCount(c.at({top + 1})) == before + 1, QStringLiteral("paste by operator added nothing"), c);
    return ms;
}

// Opens the context menu on the selected row and closes it as soon as it shows.
double contextMenu(Complex& c)
{
    QTimer closer;
    closer.setInterval(1);
    bool opened = false;
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            opened = true;
            popup->close();
        }
    });
    const double ms = timed([&] {
        closer.start();
        const QPoint pos(10, 10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, c.view()->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(c.view()->viewport(), &event);
    });
    expect(opened, QStringLiteral("no context menu"), c);
    return ms;
}

// The shell's save after the tab's "Сохранить": every plugin commits, the store writes.
double shellSave(Complex& c)
{
    return timed([&] {
        c.plugin()->saveComplexConfig();
        if (!c.store()->write(CoConfig::ObjectAll))
            fail(c.store()->errorString());
    });
}

struct Step
{
    const char* name;
    double limit; // ms
    std::function<double(Complex&)> run;
    int sumOfLast = 0; // a row without run: the sum of the figures of that many rows above
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {2000, 20000};

    PluginLibrary library(QStringLiteral("orvane-50-operators"));
    if (!library.isLoaded())
        fail(QStringLiteral("cannot load the operator editor: ") + library.errorString());

    std::printf("Operator editor: N operators, N workstations in unions of 20, 1 to 3 registrations each\n");
    std::printf("  %-52s", "N =   (wall time, and processor time in brackets)");
    for (int size : sizes)
        std::printf(" %20d", size);
    std::printf("   limit\n");

    std::vector<std::unique_ptr<Complex>> complexes;
    for (int size : sizes)
        complexes.push_back(std::make_unique<Complex>(library, size));

    const QString byUnion = QStringLiteral("Объединению АРМов");
    const QString byOperator = QStringLiteral("Операторам");
    const QList<Step> steps = {
        {"the store reads its three kinds (part of wiring)", 0,
         [](Complex& c) {
             return timed([&] { c.store()->read(CoConfig::ObjectComputers | CoConfig::ObjectArmUnions | CoConfig::ObjectOperators); });
         }},
        {"wire the tab, grouped by operator", 300,
         [](Complex& c) {
             return timed([&] {
                 c.plugin()->setComplexConfig(c.store());
                 c.page()->resize(1200, 800);
                 c.page()->show();
             });
         }},
        {"switch to grouping by union", 300, [&](Complex& c) { return timed([&] { c.groupBy(byUnion); }); }},
        {"wire the tab again, grouped by union (reload)", 300,
         [](Complex& c) { return timed([&] { c.plugin()->setComplexConfig(c.store()); }); }},
        {"by union: context menu of a workstation", 0,
         [](Complex& c) {
             c.select(c.at({c.model()->rowCount() / 2, 0}));
             return contextMenu(c);
         }},
        {"by union: add one registration (paste)", 20, addRegistrationByUnion},
        {"by union: rename one registration", 20,
         [](Complex& c) {
             return renameRegistration(c, c.at({c.model()->rowCount() / 2 + 2, 0, 0}), QStringLiteral("bench-renamed"));
         }},
        {"by union: remove one registration", 20,
         [](Complex& c) {
             return removeRow(c, c.at({c.model()->rowCount() / 2 + 3, 0, 0}));
         }},
        {"switch to grouping by operator", 300, [&](Complex& c) { return timed([&] { c.groupBy(byOperator); }); }},
        {"by operator: context menu of an operator", 0,
         [](Complex& c) {
             c.select(c.at({c.model()->rowCount() / 2}));
             return contextMenu(c);
         }},
        {"by operator: add one registration (paste)", 20, addRegistrationByOperator},
        {"by operator: rename one registration", 20,
         [](Complex& c) {
             return renameRegistration(c, c.at({c.model()->rowCount() / 2 + 2, 0}), QStringLiteral("bench-renamed2"));
         }},
        {"by operator: remove one registration", 20,
         [](Complex& c) { return removeRow(c, c.at({c.model()->rowCount() / 2 + 3, 0})); }},
        {"by operator: remove one operator, all registrations", 20,
         [](Complex& c) {
             const QModelIndex op = c.at({c.model()->rowCount() / 2 + 4});
             expect(c.model()->rowCount(op) > 0, QStringLiteral("operator without registrations"), c);
             return removeRow(c, op);
         }},
        {"\"Сохранить\" of the tab", 0, [&](Complex& c) { return timed([&] { c.press(QStringLiteral("Сохранить")); }); }},
        {"the shell's save: commit, write", 0, shellSave},
        {"the shell's save: the tab reloads", 0,
         [](Complex& c) { return timed([&] { c.plugin()->setComplexConfig(c.store()); }); }},
        {"\"Сохранить\" and the shell's save, together", 1000, nullptr, 3},
    };
    // Wall and processor times of every row so far, for each complex.
    std::vector<QList<QPair<double, double>>> figures(complexes.size());
    for (const Step& step : steps) {
        // Cyrillic letters take two bytes but one column.
        const QByteArray name = QByteArray(step.name);
        const int pad = 52 + (name.size() - QString::fromUtf8(name).size());
        std::printf("  %-*s", pad, step.name);
        bool over = false;
        for (size_t i = 0; i < complexes.size(); ++i) {
            QPair<double, double> figure;
            if (step.run) {
                figure.first = step.run(*complexes.at(i));
                figure.second = lastCpuMs;
            } else {
                for (const auto& above : figures.at(i).mid(figures.at(i).size() - step.sumOfLast)) {
                    figure.first += above.first;
                    figure.second += above.second;
                }
            }
            figures.at(i) << figure;
            over = over || (step.limit > 0 && figure.first > step.limit);
            std::printf(" %7.1f ms (%7.1f)", figure.first, figure.second);
        }
        if (step.limit > 0)
            std::printf(" %5.0f ms%s", step.limit, over ? "   OVER" : "");
        std::printf("\n");
    }
    return 0;
}
