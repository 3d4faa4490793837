#include "icons.h"

#include <QFile>
#include <QImage>
#include <QTest>

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void imageLoads_data();
    void imageLoads();
    void cleanupRemovesAndInitRestores();
};

void TestIcons::imageLoads_data()
{
    QTest::addColumn<QString>("path");
    const QStringList common = {"save", "add", "remove", "edit", "copy", "paste", "play", "fill", "counter"};
    for (const QString& name : common) {
        const QString path = QStringLiteral(":/icons/common/%1.png").arg(name);
        QTest::newRow(qPrintable(name)) << path;
    }
    QTest::newRow("pin") << QStringLiteral(":/icons/resources/pin.png");
}

void TestIcons::imageLoads()
{
    QFETCH(QString, path);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QVERIFY(image.width() >= 16 && image.width() <= 32);
    QCOMPARE(image.width(), image.height());
    // Not a blank square: some pixel differs from the first one.
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; ++y)
        for (int x = 0; x < image.width() && !varied; ++x)
            varied = image.pixel(x, y) != image.pixel(0, 0);
    QVERIFY(varied);
}

void TestIcons::cleanupRemovesAndInitRestores()
{
    const QString path = QStringLiteral(":/icons/common/save.png");
    QVERIFY(QFile::exists(path));
    qCleanupResources_icons();
    QVERIFY(!QFile::exists(path));
    qInitResources_icons();
    QVERIFY(QFile::exists(path));
    // Registering twice must not need two cleanups.
    qInitResources_icons();
    qCleanupResources_icons();
    QVERIFY(!QFile::exists(path));
    qInitResources_icons();
}

QTEST_GUILESS_MAIN(TestIcons)
#include "tst_icons.moc"
