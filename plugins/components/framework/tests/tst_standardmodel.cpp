#include "standardmodel.h"
#include "tablemodeltester.h"
#include "testinstances.h"
#include "testrecords.h"
#include "teststore.h"

#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

using CoConfig::ComponentUid;

namespace {

QStringList names(const QAbstractItemModel& model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.index(row, 2).data().toString());
    return result;
}

} // namespace

class TestStandardModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void removeRecords_data();
    void removeRecords();
    void manyScatteredRunsGoAtOnce();
    void pasteAnnouncesTheRowsAppended();
    void editsNotifyTheirCell();
    void loadAfterASaveKeepsTheRowsAndDropsLaterEdits_data();
    void loadAfterASaveKeepsTheRowsAndDropsLaterEdits();

private:
    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TestReceiverData> m_data;
    std::unique_ptr<StandardModel> m_model;
    std::unique_ptr<TableModelTester> m_tester;
};

void TestStandardModel::init()
{
    m_store = std::make_unique<TestStore>();
    for (int uid = 0; uid < 5; ++uid)
        (*m_store)->receivers().receivers.insert(ComponentUid<2>(uid), makeReceiver(uid, -1, QString::number(uid)));
    m_data = std::make_unique<TestReceiverData>();
    m_model = std::make_unique<StandardModel>(m_data.get());
    m_tester = std::make_unique<TableModelTester>(m_model.get());
    m_model->load(m_store->get());
}

void TestStandardModel::cleanup()
{
    m_tester.reset();
    m_model.reset();
    m_data.reset();
    m_store.reset();
}

void TestStandardModel::removeRecords_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("notifications");

    QTest::newRow("rows 1 and 3") << QList<int>{1, 3} << QStringList{"0", "2", "4"} << 2;
    QTest::newRow("one run") << QList<int>{3, 1, 2} << QStringList{"0", "4"} << 1;
    QTest::newRow("runs at both ends") << QList<int>{4, 0, 1} << QStringList{"2", "3"} << 2;
    QTest::newRow("duplicates") << QList<int>{2, 2, 2} << QStringList{"0", "1", "3", "4"} << 1;
    QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4} << QStringList{} << 1;
    QTest::newRow("out of range") << QList<int>{-1, 5} << QStringList{"0", "1", "2", "3", "4"} << 0;
}

void TestStandardModel::removeRecords()
{
    QFETCH(QList<int>, rows);
    QFETCH(QStringList, left);
    QFETCH(int, notifications);

    QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);
    m_model->removeRecords(rows);
    QCOMPARE(names(*m_model), left);
    QCOMPARE(removed.size(), notifications);
}

void TestStandardModel::manyScatteredRunsGoAtOnce()
{
    for (int uid = 5; uid < 100; ++uid)
        (*m_store)->receivers().receivers.insert(ComponentUid<2>(uid), makeReceiver(uid, -1, QString::number(uid)));
    m_model->load(m_store->get());
    QList<int> odd;
    QStringList even;
    for (int row = 0; row < 100; ++row)
        (row % 2 ? odd.append(row) : even.append(QString::number(row)));
    odd.append(99); // a duplicate

    QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
    m_model->removeRecords(odd);
    QCOMPARE(names(*m_model), even);
    QCOMPARE(removed.size(), 0);
    QCOMPARE(reset.size(), 1);
    for (int row = 0; row < m_model->rowCount(); ++row)
        QCOMPARE(m_model->index(row, 0).data(Qt::EditRole), QVariant(QSize(2 * row, 2)));
}

void TestStandardModel::pasteAnnouncesTheRowsAppended()
{
    const QByteArray bytes = m_data->copyRecords({0, 1});
    QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
    QCOMPARE(m_model->pasteRecords(bytes), 2);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 5);
    QCOMPARE(inserted.at(0).at(2).toInt(), 6);
    QCOMPARE(names(*m_model).mid(5), QStringList({"0", "1"}));

    QCOMPARE(m_model->pasteRecords(QByteArray("garbage")), 0);
    QCOMPARE(inserted.size(), 1);
}

void TestStandardModel::editsNotifyTheirCell()
{
    QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
    const QModelIndex cell = m_model->index(3, 2);
    QVERIFY(m_model->setData(cell, QStringLiteral("renamed")));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), cell);
    QVERIFY(!m_model->setData(cell, QStringLiteral("x"), Qt::DisplayRole));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(cell.data().toString(), QStringLiteral("renamed"));
}

void TestStandardModel::loadAfterASaveKeepsTheRowsAndDropsLaterEdits_data()
{
    using Edit = std::function<void(StandardModel&, QUndoStack&)>;
    QTest::addColumn<Edit>("edit");
    QTest::newRow("none") << Edit([](StandardModel&, QUndoStack&) {});
    QTest::newRow("a cell") << Edit([](StandardModel& model, QUndoStack&) { model.setData(model.index(1, 2), "x"); });
    QTest::newRow("a column") << Edit([](StandardModel& model, QUndoStack&) {
        model.setColumnData({0, 4}, 2, [](int) { return QStringLiteral("x"); });
    });
    QTest::newRow("a row appended") << Edit([](StandardModel& model, QUndoStack&) { model.appendRecord(); });
    QTest::newRow("a row removed") << Edit([](StandardModel& model, QUndoStack&) { model.removeRecords({2}); });
    QTest::newRow("rows pasted") << Edit([this](StandardModel& model, QUndoStack&) {
        model.pasteRecords(m_data->copyRecords({0}));
    });
    QTest::newRow("a step before the save undone") << Edit([](StandardModel&, QUndoStack& undo) { undo.undo(); });
    QTest::newRow("a saved removal undone") << Edit([this](StandardModel& model, QUndoStack& undo) {
        model.removeRecords({2});
        model.save(m_store->get());
        undo.undo();
    });
}

// A load after a save finds the rows as the store holds them and leaves the view's rows in place;
// any edit after the save is dropped by the load, as before.
void TestStandardModel::loadAfterASaveKeepsTheRowsAndDropsLaterEdits()
{
    using Edit = std::function<void(StandardModel&, QUndoStack&)>;
    QFETCH(Edit, edit);
    QUndoStack undo;
    m_model->setUndoStack(&undo);
    m_model->setData(m_model->index(0, 2), "saved");
    m_model->save(m_store->get());
    edit(*m_model, undo);
    const auto stored = [this] {
        TestReceiverData data;
        StandardModel model(&data);
        model.load(m_store->get());
        return names(model);
    };
    const bool edited = names(*m_model) != stored();

    QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
    QCOMPARE(m_model->load(m_store->get()), edited);
    QCOMPARE(names(*m_model), stored());
    QCOMPARE(reset.size(), edited ? 1 : 0);
    QCOMPARE(changed.size(), edited ? 0 : 1);
}

QTEST_MAIN(TestStandardModel)
#include "tst_standardmodel.moc"
