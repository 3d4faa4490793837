#include "cmenubar.h"
#include "custommenu.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "orvaneplugin.h"
#include "orvaneplugininstance.h"
#include "recordingstore.h"

#include <QApplication>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString FixtureDir = QStringLiteral(SHELL_FIXTURE_DIR);

QStringList pluginNames(const Orvane& window)
{
    QStringList names;
    for (OrvanePluginInstance* instance : window.plugins())
        names.append(instance->plugin()->name());
    return names;
}

QStringList tabTitles(const Orvane& window)
{
    QStringList titles;
    for (int i = 0; i < window.tabWidget()->count(); ++i)
        titles.append(window.tabWidget()->tabText(i));
    return titles;
}

QStringList pluginMenus(const Orvane& window)
{
    QStringList titles;
    const QList<QAction*> actions = window.cMenuBar()->customMenu()->actions();
    for (QAction* action : actions)
        titles.append(action->text());
    return titles;
}

QStringList skippedNames(const Orvane& window)
{
    QStringList names;
    for (const Orvane::SkippedLibrary& skipped : window.skippedLibraries()) {
        names.append(skipped.filePath.section(QLatin1Char('/'), -1));
        if (skipped.reason.isEmpty())
            names.append(QStringLiteral("<no reason>"));
    }
    return names;
}

} // namespace

class TestPluginLoading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void window_data();
    void window();

private:
    QTemporaryDir m_configDir;
};

void TestPluginLoading::init()
{
    qApp->setProperty("fixtureLog", QStringList());
    qApp->setProperty("fixtureErrorOnLoad", QString());
}

void TestPluginLoading::window_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("plugins");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QStringList>("menus");
    QTest::addColumn<QStringList>("skipped");

    QTest::newRow("scan") << QStringList() << QStringList({"Alpha", "Bravo", "Charlie", "Delta"})
                          << QStringList({"Alpha", "Charlie", "Delta"}) << QStringList({"Alpha", "Bravo"})
                          << QStringList({"e-null-factory.so", "f-other-interface.so", "g-plain-file.so",
                                          "h-directory.so", "i-shared-library.so"});
    QTest::newRow("arguments") << QStringList({"D-delta.so", "missing.so", "h-directory.so", "a-alpha.so",
                                               "e-null-factory.so", "c-charlie.so"})
                               << QStringList({"Delta", "Alpha", "Charlie"})
                               << QStringList({"Delta", "Alpha", "Charlie"}) << QStringList({"Alpha"})
                               << QStringList({"missing.so", "h-directory.so", "e-null-factory.so"});
    QTest::newRow("no valid plugin") << QStringList({"g-plain-file.so", "f-other-interface.so"}) << QStringList()
                                     << QStringList() << QStringList()
                                     << QStringList({"g-plain-file.so", "f-other-interface.so"});
}

void TestPluginLoading::window()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, plugins);
    QFETCH(QStringList, tabs);
    QFETCH(QStringList, menus);
    QFETCH(QStringList, skipped);

    RecordingStore store(m_configDir.filePath(QStringLiteral("complex")));
    ModalAnswerer boxes;
    Orvane window(arguments, &store, FixtureDir);
    QCOMPARE(pluginNames(window), plugins);
    QCOMPARE(tabTitles(window), tabs);
    QCOMPARE(pluginMenus(window), menus);
    QCOMPARE(skippedNames(window), skipped);
    QCOMPARE(window.tabWidget()->isVisibleTo(&window), true);

    // Nothing is said about the libraries that were skipped.
    QCoreApplication::processEvents();
    QVERIFY2(boxes.boxes().isEmpty(), qPrintable(boxes.seen().join(", ")));
    QVERIFY(window.statusBar()->currentMessage().isEmpty());
}

QTEST_MAIN(TestPluginLoading)
#include "tst_pluginloading.moc"
