#include "pluginpaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Rows name files under an install prefix as "bin/..." (the program's folder) and "plugins/..."
// (the installed plugin folder), placed where `cmake --install` puts them.
QString placed(const QString& path)
{
    static const QList<QPair<QString, QString>> folders = {
        {QStringLiteral("bin"), QStringLiteral(ORVANE_INSTALL_BINDIR)},
        {QStringLiteral("plugins"), QStringLiteral(ORVANE_INSTALL_PLUGINDIR)}};
    for (const auto& [shown, installed] : folders) {
        if (path == shown || path.startsWith(shown + QLatin1Char('/')))
            return installed + path.mid(shown.size());
    }
    return path;
}

// "name/" is a directory, "link -> target" a symbolic link; anything else an empty file.
bool make(const QDir& prefix, const QString& entry)
{
    const QString link = entry.section(QStringLiteral(" -> "), 0, 0);
    const QString target = entry.section(QStringLiteral(" -> "), 1);
    const QString path = prefix.filePath(placed(link.endsWith(QLatin1Char('/')) ? link.chopped(1) : link));
    if (!prefix.mkpath(QFileInfo(path).path()))
        return false;
    if (!target.isEmpty())
        return QFile::link(prefix.filePath(placed(target)), path);
    if (link.endsWith(QLatin1Char('/')))
        return prefix.mkpath(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

class TestPluginPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void find_data();
    void find();
};

void TestPluginPaths::find_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("build tree: the program's folder")
        << QStringList({"bin/b.so", "bin/A.so", "bin/Orvane", "bin/notes.txt"}) << QStringList()
        << QStringList({"bin/A.so", "bin/b.so"});
    QTest::newRow("installed: the plugin folder")
        << QStringList({"bin/Orvane", "plugins/y.so", "plugins/X.so", "plugins/h.so/"}) << QStringList()
        << QStringList({"plugins/h.so", "plugins/X.so", "plugins/y.so"});
    QTest::newRow("both folders, one order by name ignoring case")
        << QStringList({"bin/b.so", "bin/D.so", "plugins/a.so", "plugins/C.so", "plugins/e.so"}) << QStringList()
        << QStringList({"plugins/a.so", "bin/b.so", "plugins/C.so", "bin/D.so", "plugins/e.so"});
    QTest::newRow("a name in both folders: the program's folder's")
        << QStringList({"bin/a.so", "plugins/a.so", "plugins/b.so", "bin/B.so"}) << QStringList()
        << QStringList({"bin/a.so", "bin/B.so", "plugins/b.so"});
    QTest::newRow("plugin folder linked to the program's folder")
        << QStringList({"bin/a.so", "bin/b.so", "plugins -> bin"}) << QStringList()
        << QStringList({"bin/a.so", "bin/b.so"});
    QTest::newRow("no plugin folder, no libraries") << QStringList({"bin/Orvane"}) << QStringList()
                                                    << QStringList();
    QTest::newRow("arguments: from the first folder holding each, in their order")
        << QStringList({"bin/a.so", "plugins/a.so", "plugins/b.so", "plugins/h.so/"})
        << QStringList({"b.so", "missing.so", "a.so", "h.so"})
        << QStringList({"plugins/b.so", "bin/missing.so", "bin/a.so", "plugins/h.so"});
}

void TestPluginPaths::find()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);

    QTemporaryDir prefixDir;
    const QDir prefix(prefixDir.path());
    for (const QString& file : std::as_const(files))
        QVERIFY2(make(prefix, file), qPrintable(file));

    QStringList found;
    for (const QString& path : PluginPaths::find(prefix.filePath(placed(QStringLiteral("bin"))), arguments))
        found.append(prefix.relativeFilePath(path));
    QStringList placedExpected;
    for (const QString& path : std::as_const(expected))
        placedExpected.append(placed(path));
    QCOMPARE(found, placedExpected);
}

QTEST_MAIN(TestPluginPaths)
#include "tst_pluginpaths.moc"
