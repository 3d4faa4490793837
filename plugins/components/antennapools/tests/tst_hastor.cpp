#include "antennas.h"
#include "antennaslistwidget.h"
#include "cellediting.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QtTest>

// What is the pool editor's own: the pattern numbers shown for a pool's antennas, and the list
// editor in its window. Copy, paste, save and read are tst_componenttables'.

using namespace CoConfig;

namespace {

enum Column { Uid, Name, Diagrams };

} // namespace

class TestHastor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void patternsShown();
    void listEditor_data();
    void listEditor();

private:
    QTableView* open(const QList<int>& antennaUids);
    QString shown(int row = 0) const;

    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<PluginLibrary> m_library;
    OrvanePlugin* m_plugin = nullptr;
    QTableView* m_view = nullptr;
};

void TestHastor::init()
{
    m_store = std::make_unique<TestStore>();
    // uid, pattern: 21 → 2, 22 → 5, 23 → 7
    for (const auto& [uid, diagram] : {std::pair{21, 2}, {22, 5}, {23, 7}})
        m_store->get()->addAntenna(Common::Antenna{0, 90.0f, diagram, uid, true});
    m_library = std::make_unique<PluginLibrary>(QStringLiteral("orvane-41-antenna-pools"));
}

void TestHastor::cleanup()
{
    m_library.reset();
    m_store.reset();
    m_plugin = nullptr;
    m_view = nullptr;
}

QTableView* TestHastor::open(const QList<int>& antennaUids)
{
    const AntennaPool pool{ComponentUid<6>(1), QStringLiteral("Антенны КВ"), antennaUids};
    m_store->get()->receivers().antennaPools.insert(pool.uid, pool);
    m_plugin = m_library->create();
    if (!m_plugin)
        return nullptr;
    m_plugin->setComplexConfig(m_store->get());
    m_view = m_plugin->widget()->findChild<QTableView*>();
    return m_view;
}

QString TestHastor::shown(int row) const
{
    const QModelIndex cell = m_view->model()->index(row, Diagrams);
    auto* delegate = qobject_cast<QStyledItemDelegate*>(m_view->itemDelegateForColumn(Diagrams));
    return delegate ? delegate->displayText(cell.data(), QLocale()) : QStringLiteral("(no delegate)");
}

// Pattern numbers, not uids; an antenna removed in the antenna tab and saved shows -1 while the
// pool keeps its uid.
void TestHastor::patternsShown()
{
    QVERIFY(open({21, 22}));
    QCOMPARE(shown(), QStringLiteral("2, 5"));

    QVERIFY(m_store->get()->write(ObjectAll)); // the antenna editor reads its antennas from the disk
    PluginLibrary antennaLibrary(QStringLiteral("orvane-40-antennas"));
    OrvanePlugin* antennas = antennaLibrary.create();
    QVERIFY2(antennas, qPrintable(antennaLibrary.errorString()));
    antennas->setComplexConfig(m_store->get());
    QAbstractItemModel* antennaTable = antennas->widget()->findChild<QTableView*>()->model();
    QCOMPARE(antennaTable->index(1, 1).data().toInt(), 22);
    QVERIFY(antennaTable->removeRows(1, 1));
    antennas->saveComplexConfig();
    m_plugin->saveComplexConfig();
    QVERIFY(m_store->get()->write(ObjectAll));
    antennas->setComplexConfig(m_store->get());
    m_plugin->setComplexConfig(m_store->get());

    QCOMPARE(shown(), QStringLiteral("2, -1"));
    QCOMPARE(m_view->model()->index(0, Diagrams).data(Qt::EditRole), QVariant(QVariantList({21, 22})));
    QCOMPARE(m_store->get()->receivers().antennaPools.value(ComponentUid<6>(1)).antennaUids, QList<int>({21, 22}));

    QVERIFY(m_view->model()->setData(m_view->model()->index(0, Diagrams), QVariantList(), Qt::EditRole));
    QCOMPARE(shown(), QString());
}

void TestHastor::listEditor_data()
{
    QTest::addColumn<QList<int>>("pool");     // the pool's uids before
    QTest::addColumn<QList<int>>("selected"); // shown selected in the list
    QTest::addColumn<int>("toggled");         // the row of the list clicked
    QTest::addColumn<QList<int>>("stored");   // the pool's uids after

    QTest::newRow("added, in the list's order") << QList<int>({23}) << QList<int>({23}) << 0 << QList<int>({21, 23});
    QTest::newRow("taken off; a removed antenna goes") << QList<int>({22, 99, 21}) << QList<int>({21, 22}) << 1
                                                      << QList<int>({21});
    QTest::newRow("into an empty pool") << QList<int>() << QList<int>() << 2 << QList<int>({23});
}

// The list opens as a window of its own under the cell, with the pool's antennas selected, and
// writes back the selection in the list's order. It goes with the table.
void TestHastor::listEditor()
{
    QFETCH(QList<int>, pool);
    QFETCH(QList<int>, selected);
    QFETCH(int, toggled);
    QFETCH(QList<int>, stored);

    QVERIFY(open(pool));
    const QModelIndex cell = m_view->model()->index(0, Diagrams);
    QPointer<Common::AntennasListWidget> list =
        qobject_cast<Common::AntennasListWidget*>(CellEditing::openByDoubleClick(m_view, cell));
    QVERIFY(list);
    QVERIFY(list->isWindow());
    QCOMPARE(list->size(), QSize(150, 400));
    QCOMPARE(list->pos(), m_view->viewport()->mapToGlobal(m_view->visualRect(cell).bottomLeft()));
    QCOMPARE(list->count(), 3);
    const ComplexConfigInterface& store = *m_store->get();
    QCOMPARE(list->selectedAntennas(), Common::antennasOf(store.antennasMap(), selected));

    m_view->window()->resize(m_view->window()->size() + QSize(40, 40)); // the view lays out its editors again
    QApplication::processEvents();
    QCOMPARE(list->size(), QSize(150, 400));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(toggled)).center());
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(list.isNull());
    QCOMPARE(cell.data(Qt::EditRole).toList().size(), stored.size());
    m_plugin->saveComplexConfig();
    QCOMPARE(m_store->get()->receivers().antennaPools.value(ComponentUid<6>(1)).antennaUids, stored);

    // A window left open when the table goes is closed with it.
    list = qobject_cast<Common::AntennasListWidget*>(CellEditing::openByDoubleClick(m_view, cell));
    QVERIFY(list);
    m_library->destroy(m_plugin);
    m_plugin = nullptr;
    QVERIFY(list.isNull());
}

QTEST_MAIN(TestHastor)
#include "tst_hastor.moc"
