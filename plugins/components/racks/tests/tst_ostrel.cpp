#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <QtTest>

// What is the rack editor's own: which member each column shows and edits.
// What every component table shares is checked by tst_componenttables.

class TestOstrel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnsShowAndEditTheirMember_data();
    void columnsShowAndEditTheirMember();
};

void TestOstrel::columnsShowAndEditTheirMember_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("shown");
    QTest::addColumn<QVariant>("edited");
    QTest::addColumn<int>("uid"); // of the saved rack, then its name and short name
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shortName");

    QTest::newRow("ID") << 0 << QVariant(QSize(3, 0)) << QVariant(QSize(7, 0)) << 7 << "Север" << "С";
    QTest::newRow("Название") << 1 << QVariant("Север") << QVariant("Юг") << 3 << "Юг" << "С";
    QTest::newRow("Короткое название") << 2 << QVariant("С") << QVariant("Ю") << 3 << "Север" << "Ю";
}

void TestOstrel::columnsShowAndEditTheirMember()
{
    QFETCH(int, column);
    QFETCH(QVariant, shown);
    QFETCH(QVariant, edited);
    QFETCH(int, uid);
    QFETCH(QString, name);
    QFETCH(QString, shortName);

    TestStore store;
    CoConfig::Rack rack;
    rack.uid = CoConfig::ComponentUid<0>(3);
    rack.name = QStringLiteral("Север");
    rack.shortName = QStringLiteral("С");
    store->racks().insert(rack.uid, rack);

    PluginLibrary library(QStringLiteral("orvane-10-racks"));
    OrvanePlugin* plugin = library.create();
    QVERIFY2(plugin, qPrintable(library.errorString()));
    plugin->setComplexConfig(store.get());
    auto* view = plugin->widget()->findChild<QTableView*>();
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, column);
    QCOMPARE(cell.data(Qt::EditRole), shown);
    QVERIFY(view->model()->setData(cell, edited));
    plugin->saveComplexConfig();

    QCOMPARE(store->racks().size(), 1);
    const CoConfig::Rack saved = store->racks().first();
    QCOMPARE(saved.uid.value, uid);
    QCOMPARE(saved.name, name);
    QCOMPARE(saved.shortName, shortName);
}

QTEST_MAIN(TestOstrel)
#include "tst_ostrel.moc"
