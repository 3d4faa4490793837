#include "about.h"
#include "cmenubar.h"
#include "globalini.h"
#include "helpmenu.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "orvaneplugin.h"
#include "orvaneplugininstance.h"
#include "recordingstore.h"
#include "testfiles.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>

namespace {

const QString FixtureDir = QStringLiteral(SHELL_FIXTURE_DIR);
const QString Saved = QStringLiteral("Конфигурация сохранена");
const QString Title = QStringLiteral("Редактор конфигурации");
const QStringList AllPlugins = {"Alpha", "Bravo", "Charlie", "Delta"};

QStringList takeLog()
{
    const QStringList log = qApp->property("fixtureLog").toStringList();
    qApp->setProperty("fixtureLog", QStringList());
    return log;
}

QStringList calls(const QStringList& plugins, const QString& call)
{
    QStringList result;
    for (const QString& plugin : plugins)
        result.append(plugin + QLatin1Char(':') + call);
    return result;
}

QStringList rackNames(const QString& dirPath)
{
    const CoConfig::ComplexConfig fresh(dirPath, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    QStringList names;
    for (const CoConfig::Rack& rack : fresh.racks())
        names.append(rack.name);
    return names;
}

OrvanePlugin* pluginNamed(const Orvane& window, const QString& name)
{
    for (OrvanePluginInstance* instance : window.plugins())
        if (instance->plugin()->name() == name)
            return instance->plugin();
    return nullptr;
}

QString statusText(const Orvane& window)
{
    return window.statusBar()->currentMessage();
}

// The time-out of the status bar's message: QStatusBar runs a timer of its own while a message
// has one. Null when the message stays.
QTimer* messageTimer(const Orvane& window)
{
    for (QTimer* timer : window.statusBar()->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
        if (timer->isActive())
            return timer;
    }
    return nullptr;
}

} // namespace

class TestOrvane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void wiringTabsAndShutdown();
    void save_data();
    void save();
    void outsideChangeAsked_data();
    void outsideChangeAsked();
    void pluginErrors();
    void savedMessageExpires();
    void close_data();
    void close();
    void geometryKept();
    void readFailureShown();
    void menusAndSaveAction();

private:
    // A store path that cannot be written: its parent is a regular file. Empty when it cannot be made.
    QString unwritablePath();

    std::unique_ptr<QTemporaryDir> m_tmp;
};

void TestOrvane::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    takeLog();
    qApp->setProperty("fixtureErrorOnLoad", QString());
    qApp->setProperty("fixtureErrorOnSave", QString());
}

QString TestOrvane::unwritablePath()
{
    const QString file = m_tmp->filePath(QStringLiteral("file"));
    if (!TestFiles::writeFile(file, "a file, not a folder\n"))
        return QString();
    return file + QLatin1String("/complex");
}

void TestOrvane::wiringTabsAndShutdown()
{
    RecordingStore store(m_tmp->filePath(QStringLiteral("complex")));
    auto window = std::make_unique<Orvane>(QStringList(), &store, FixtureDir);

    // Each plugin is wired before the next is created; the current tab's tool bar comes last.
    QStringList expected;
    for (const QString& name : AllPlugins) {
        expected << name + ":created" << name + ":setComplexConfig" << name + ":widget" << name + ":menu";
        if (name != QLatin1String("Bravo")) // no page, so no tab
            expected << name + ":name" << name + ":widget";
    }
    expected << "Alpha:toolBar";
    QCOMPARE(takeLog(), expected);

    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QToolBar* alphaBar = window->pluginToolBar();
    QVERIFY(alphaBar);
    QCOMPARE(alphaBar->objectName(), QStringLiteral("Alpha-toolbar"));
    QVERIFY(alphaBar->isVisible());
    QVERIFY(window->saveToolBar()->isVisible());

    // Tool bars follow the tabs: tab 1 is Charlie (none), although the second plugin, Bravo,
    // has one.
    struct Step
    {
        int tab;
        QString plugin;
        QString toolBar;
    };
    const QList<Step> steps = {{2, "Delta", "Delta-toolbar"}, {1, "Charlie", ""}, {0, "Alpha", "Alpha-toolbar"}};
    QToolBar* previous = alphaBar;
    for (const Step& step : steps) {
        window->tabWidget()->setCurrentIndex(step.tab);
        QCOMPARE(takeLog(), QStringList({step.plugin + ":toolBar"}));
        if (previous)
            QCOMPARE(previous->parentWidget(), nullptr); // given back, not deleted
        QCOMPARE(window->pluginToolBar() ? window->pluginToolBar()->objectName() : QString(), step.toolBar);
        if (window->pluginToolBar()) {
            QCOMPARE(window->pluginToolBar()->parentWidget(), window.get());
            QVERIFY(window->pluginToolBar()->isVisible());
        }
        const QList<QToolBar*> bars = window->findChildren<QToolBar*>();
        QCOMPARE(bars.size(), step.toolBar.isEmpty() ? 1 : 2);
        previous = window->pluginToolBar();
    }

    // Shutdown gives every plugin back to its factory in load order, and asks nothing else.
    window.reset();
    QCOMPARE(takeLog(), calls(AllPlugins, QStringLiteral("destroyed")));
}

void TestOrvane::save_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("plugins");
    QTest::addColumn<bool>("writable");

    QTest::newRow("write succeeds") << QStringList() << AllPlugins << true;
    QTest::newRow("write fails") << QStringList() << AllPlugins << false;
    QTest::newRow("no plugin, write succeeds") << QStringList({"missing.so"}) << QStringList() << true;
    QTest::newRow("no plugin, write fails") << QStringList({"missing.so"}) << QStringList() << false;
}

void TestOrvane::save()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, plugins);
    QFETCH(bool, writable);

    const QString dirPath = writable ? m_tmp->filePath(QStringLiteral("complex")) : unwritablePath();
    QVERIFY(!dirPath.isEmpty());
    RecordingStore store(dirPath);
    ModalAnswerer boxes;
    Orvane window(arguments, &store, FixtureDir);
    QVERIFY(boxes.boxes().isEmpty());
    takeLog();

    window.save();

    // Reload only after a successful write.
    const QStringList expected = calls(plugins, QStringLiteral("saveComplexConfig")) + QStringList({"store:write(1)"})
        + (writable ? calls(plugins, QStringLiteral("setComplexConfig")) : QStringList());
    QCOMPARE(takeLog(), expected);

    if (writable) {
        QVERIFY2(boxes.boxes().isEmpty(), qPrintable(boxes.seen().join(", ")));
        QCOMPARE(statusText(window), Saved);
        QCOMPARE(rackNames(dirPath), plugins); // every plugin's commit reached the disk
        return;
    }
    QCOMPARE(boxes.boxes().size(), 1);
    const ModalAnswerer::Box box = boxes.boxes().constFirst();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.title, Title);
    QCOMPARE(box.text, QStringLiteral("Ошибка при сохранении конфигурации"));
    QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!store.errorString().isEmpty());
    QCOMPARE(box.informativeText, store.errorString());
    QCOMPARE(statusText(window), QStringLiteral("Конфигурация не сохранена"));
}

void TestOrvane::outsideChangeAsked_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("written");

    QTest::newRow("Сохранить") << "Сохранить" << true;
    QTest::newRow("Отмена") << "Отмена" << false;
}

// Another program writes the directory while the editor is open: the save asks before it
// replaces that program's changes, and a second save does not ask again.
void TestOrvane::outsideChangeAsked()
{
    QFETCH(QString, answer);
    QFETCH(bool, written);

    const QString dirPath = m_tmp->filePath(QStringLiteral("complex"));
    QVERIFY(CoConfig::ComplexConfig(dirPath, CoConfig::ObjectAll, CoConfig::ObjectArmUnions).write(CoConfig::ObjectAll));
    RecordingStore store(dirPath);
    ModalAnswerer boxes;
    Orvane window(QStringList(), &store, FixtureDir);
    takeLog();

    CoConfig::ComplexConfig other(dirPath, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    CoConfig::Rack rack;
    rack.uid.value = 999;
    rack.name = QStringLiteral("Outside");
    other.racks().insert(rack.uid, rack);
    QVERIFY(other.write(CoConfig::ObjectRacks));

    boxes.clickNext(answer);
    window.save();

    QCOMPARE(boxes.boxes().size(), 1);
    const ModalAnswerer::Box box = boxes.boxes().constFirst();
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.title, Title);
    QVERIFY(box.text.contains(QStringLiteral("изменена другой программой")));
    QCOMPARE(takeLog().contains(QStringLiteral("store:write(1)")), written);
    QCOMPARE(rackNames(dirPath), written ? AllPlugins : QStringList({"Outside"}));
    QCOMPARE(statusText(window), written ? Saved : QStringLiteral("Конфигурация не сохранена"));

    if (written) {
        window.save();
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(statusText(window), Saved);
        return;
    }
    // Declined while closing: the window and its edits stay.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    boxes.clickNext(QStringLiteral("Да"));
    boxes.clickNext(answer);
    QVERIFY(!window.close());
    QCoreApplication::processEvents();
    QVERIFY(window.isVisible());
    QCOMPARE(boxes.boxes().size(), 3);
    QCOMPARE(rackNames(dirPath), QStringList({"Outside"}));
}

void TestOrvane::pluginErrors()
{
    qApp->setProperty("fixtureErrorOnLoad", QStringLiteral("loaded"));
    RecordingStore store(m_tmp->filePath(QStringLiteral("complex")));
    Orvane window(QStringList(), &store, FixtureDir);
    QVERIFY(statusText(window).isEmpty()); // emitted while wiring, before the connection

    // The base class's signal, a redeclared one (Charlie) and one from a plugin without a tab.
    const QStringList senders = {"Alpha", "Charlie", "Bravo"};
    for (const QString& sender : senders) {
        const QString message = sender + QLatin1String(" failed");
        QVERIFY(QMetaObject::invokeMethod(pluginNamed(window, sender), "raiseError", Q_ARG(QString, message)));
        QCOMPARE(statusText(window), message);
    }
    QVERIFY(!messageTimer(window)); // no time-out

    // Errors from the reload after a save are shown: the last one replaces the saved message.
    window.save();
    QCOMPARE(statusText(window), QStringLiteral("Delta: loaded"));
}

void TestOrvane::savedMessageExpires()
{
    RecordingStore store(m_tmp->filePath(QStringLiteral("complex")));
    Orvane window(QStringList(), &store, FixtureDir);
    window.save();
    QCOMPARE(statusText(window), Saved);
    QTimer* timeout = messageTimer(window);
    QVERIFY(timeout);
    QCOMPARE(timeout->interval(), 2000);
    // Its expiry clears the message; run it now rather than wait for it.
    timeout->start(0);
    QTRY_VERIFY(statusText(window).isEmpty());
}

void TestOrvane::close_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("commitError");

    QTest::newRow("Отмена") << "Отмена" << true << false << false << QString();
    QTest::newRow("Escape") << "Escape" << true << false << false << QString();
    QTest::newRow("Нет") << "Нет" << true << true << false << QString();
    QTest::newRow("Да") << "Да" << true << true << true << QString();
    // A save that did not go through keeps the window and the edits.
    QTest::newRow("Да, the write fails") << "Да" << false << false << false << QString();
    QTest::newRow("Да, a plugin's commit fails") << "Да" << true << false << true << QStringLiteral("file not saved");
}

void TestOrvane::close()
{
    QFETCH(QString, answer);
    QFETCH(bool, writable);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    QFETCH(QString, commitError);
    qApp->setProperty("fixtureErrorOnSave", commitError);

    const QString dirPath = writable ? m_tmp->filePath(QStringLiteral("complex")) : unwritablePath();
    QVERIFY(!dirPath.isEmpty());
    RecordingStore store(dirPath);
    Orvane window(QStringList(), &store, FixtureDir);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    takeLog();

    ModalAnswerer boxes;
    if (answer == QLatin1String("Escape"))
        boxes.escapeNext();
    else
        boxes.clickNext(answer);
    QCOMPARE(window.close(), closed);
    QCoreApplication::processEvents(); // the queued close of the other windows
    QCOMPARE(window.isVisible(), !closed);

    QVERIFY(!boxes.boxes().isEmpty());
    const ModalAnswerer::Box question = boxes.boxes().constFirst();
    QCOMPARE(question.title, Title);
    QCOMPARE(question.text, QStringLiteral("Сохранить изменения?"));
    QStringList buttons = question.buttons;
    buttons.sort();
    QCOMPARE(buttons, QStringList({"Да", "Нет", "Отмена"}));
    QCOMPARE(question.standardButtons, QMessageBox::Ok | QMessageBox::Discard | QMessageBox::Cancel);

    const bool asked = answer == QStringLiteral("Да");
    QCOMPARE(takeLog().contains(QStringLiteral("store:write(1)")), asked);
    // A failed write shows its box.
    QCOMPARE(boxes.boxes().size(), asked && !writable ? 2 : 1);
    QCOMPARE(rackNames(dirPath), saved ? AllPlugins : QStringList());
    if (!commitError.isEmpty())
        QVERIFY2(statusText(window).contains(QStringLiteral("Delta: ") + commitError), qPrintable(statusText(window)));
}

void TestOrvane::geometryKept()
{
    QSettings& settings = Common::GlobalIni::ini();
    settings.remove(QStringLiteral("Geometry"));
    RecordingStore store(m_tmp->filePath(QStringLiteral("complex")));

    QRect kept;
    {
        Orvane window({"missing.so"}, &store, FixtureDir);
        // Nothing stored yet: two thirds of the screen, centred.
        const QRect available = window.screen()->availableGeometry();
        QCOMPARE(window.size(), available.size() * 2 / 3);
        QVERIFY(qAbs(window.geometry().center().x() - available.center().x()) <= 1);
        QVERIFY(qAbs(window.geometry().center().y() - available.center().y()) <= 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setGeometry(QRect(70, 80, 720, 510));
        QTRY_COMPARE(window.size(), QSize(720, 510));
        kept = window.geometry();
    }
    // On disk, not only in memory.
    const QSettings onDisk(settings.fileName(), QSettings::IniFormat);
    QVERIFY(!onDisk.value(QStringLiteral("Geometry")).toByteArray().isEmpty());

    Orvane next({"missing.so"}, &store, FixtureDir);
    QCOMPARE(next.size(), kept.size());
    next.show();
    QVERIFY(QTest::qWaitForWindowExposed(&next));
    QCOMPARE(next.geometry(), kept);
}

void TestOrvane::readFailureShown()
{
    const QString dirPath = m_tmp->filePath(QStringLiteral("complex"));
    const QString marker = QStringLiteral("Стойка-метка");
    {
        CoConfig::ComplexConfig store(dirPath, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        CoConfig::Rack rack;
        rack.uid = CoConfig::ComponentUid<0>(7);
        rack.name = marker;
        store.racks().insert(rack.uid, rack);
        QVERIFY(store.write(CoConfig::ObjectAll));
    }
    // Cut the file holding the rack in half.
    QString damaged;
    QByteArray damagedContent;
    QDirIterator files(dirPath, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext() && damaged.isEmpty()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray content = file.readAll();
        if (content.contains(marker.toUtf8())) {
            damagedContent = content.left(content.size() / 2);
            QVERIFY(file.resize(damagedContent.size()));
            damaged = QFileInfo(file).fileName();
        }
    }
    QVERIFY(!damaged.isEmpty());

    RecordingStore store(dirPath);
    QVERIFY(store.readStatus() != 0);
    ModalAnswerer boxes;
    Orvane window(QStringList(), &store, FixtureDir);
    QCOMPARE(boxes.boxes().size(), 1);
    const ModalAnswerer::Box box = boxes.boxes().constFirst();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.title, Title);
    QCOMPARE(box.text, QStringLiteral("Ошибка при чтении конфигурации"));
    QVERIFY2(box.informativeText.contains(damaged), qPrintable(box.informativeText));
    QVERIFY(box.informativeText.contains(store.errorString()));
    QCOMPARE(window.plugins().size(), AllPlugins.size()); // the editor still opens

    // Saving afterwards does not destroy the file that could not be read.
    window.save();
    QCOMPARE(statusText(window), Saved);
    QCOMPARE(boxes.boxes().size(), 1);
    bool kept = false;
    QDirIterator after(dirPath, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (after.hasNext() && !kept) {
        QFile file(after.next());
        kept = file.open(QIODevice::ReadOnly) && file.readAll() == damagedContent;
    }
    QVERIFY(kept);
}

void TestOrvane::menusAndSaveAction()
{
    RecordingStore store(m_tmp->filePath(QStringLiteral("complex")));
    Orvane window({"missing.so"}, &store, FixtureDir);
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(!window.saveAction()->icon().isNull());

    QStringList menus;
    for (QAction* action : window.cMenuBar()->actions())
        menus.append(action->text());
    QCOMPARE(menus, QStringList({"Плагины", "Помощь"}));

    // The Save shortcut saves.
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    takeLog();
    QTest::keySequence(&window, QKeySequence::Save);
    QCOMPARE(takeLog(), QStringList({"store:write(1)"}));
    QCOMPARE(statusText(window), Saved);

    // "О программе" shows the about box with the name and version.
    HelpMenu* help = window.cMenuBar()->helpMenu();
    QCOMPARE(help->actions().size(), 1);
    QCOMPARE(help->actions().constFirst()->text(), QStringLiteral("О программе"));
    help->actions().constFirst()->trigger();
    About* about = help->about();
    QVERIFY(about->isVisible());
    QCOMPARE(about->fullNameString(), Title);
    QCOMPARE(about->versionString(), QStringLiteral("Версия 1.0.1"));

    // Closing the editor closes the about box too.
    ModalAnswerer boxes;
    boxes.clickNext(QStringLiteral("Нет"));
    QVERIFY(window.close());
    QTRY_VERIFY(!about->isVisible());
}

QTEST_MAIN(TestOrvane)
#include "tst_orvane.moc"
