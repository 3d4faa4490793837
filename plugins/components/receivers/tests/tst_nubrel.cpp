#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <QtTest>

// What is the receiver editor's own: which member each column shows and
// edits. What every component table shares is checked by tst_componenttables.

using CoConfig::ComponentUid;

class TestNubrel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnsShowAndEditTheirMember_data();
    void columnsShowAndEditTheirMember();
};

void TestNubrel::columnsShowAndEditTheirMember_data()
{
    QTest::addColumn<int>("rack"); // of the receiver in the store
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("shown");
    QTest::addColumn<QVariant>("edited");
    QTest::addColumn<QVariantList>("saved"); // the saved receiver's uid, rack and name

    QTest::newRow("ID") << 2 << 0 << QVariant(3) << QVariant(QSize(7, 2)) << QVariantList{7, 2, "КВ-1"};
    QTest::newRow("Стойка") << 2 << 1 << QVariant("Приёмная стойка") << QVariant(QSize(1, 0)) << QVariantList{3, 1, "КВ-1"};
    QTest::newRow("Стойка: none") << -1 << 1 << QVariant() << QVariant(QSize(2, 0)) << QVariantList{3, 2, "КВ-1"};
    QTest::newRow("Стойка: removed") << 9 << 1 << QVariant(QString("")) << QVariant(QSize(-1, 0)) << QVariantList{3, -1, "КВ-1"};
    QTest::newRow("Название") << 2 << 2 << QVariant("КВ-1") << QVariant("УКВ-2") << QVariantList{3, 2, "УКВ-2"};
}

void TestNubrel::columnsShowAndEditTheirMember()
{
    QFETCH(int, rack);
    QFETCH(int, column);
    QFETCH(QVariant, shown);
    QFETCH(QVariant, edited);
    QFETCH(QVariantList, saved);

    TestStore store;
    store->racks().insert(ComponentUid<0>(1), CoConfig::Rack{ComponentUid<0>(1), "Стойка управления", "СУ"});
    store->racks().insert(ComponentUid<0>(2), CoConfig::Rack{ComponentUid<0>(2), "Приёмная стойка", "СП"});
    store->receivers().receivers.insert(ComponentUid<2>(3), CoConfig::Receiver{ComponentUid<2>(3), ComponentUid<0>(rack), "КВ-1"});

    PluginLibrary library(QStringLiteral("orvane-30-receivers"));
    OrvanePlugin* plugin = library.create();
    QVERIFY2(plugin, qPrintable(library.errorString()));
    plugin->setComplexConfig(store.get());
    auto* view = plugin->widget()->findChild<QTableView*>();
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, column);
    QCOMPARE(cell.data(Qt::DisplayRole), shown);
    QVERIFY(view->model()->setData(cell, edited));
    plugin->saveComplexConfig();
    QCOMPARE(store->receivers().receivers.size(), 1);
    const CoConfig::Receiver receiver = store->receivers().receivers.first();
    QCOMPARE((QVariantList{receiver.uid.value, receiver.rack.value, receiver.name}), saved);
}

QTEST_MAIN(TestNubrel)
#include "tst_nubrel.moc"
