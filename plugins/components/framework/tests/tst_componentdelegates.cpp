#include "booldelegate.h"
#include "cellitemdelegate.h"
#include "cellediting.h"
#include "standardmodel.h"
#include "standardtableview.h"
#include "testinstances.h"
#include "testrecords.h"
#include "teststore.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QPointer>
#include <QStandardItemModel>
#include <QtTest>

using CoConfig::ComponentUid;

namespace {

QStringList itemTexts(const QComboBox& combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    return texts;
}

} // namespace

class TestComponentDelegates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void rackCombo();
    void rackComboStoresNoneForDashesOrNoItem();
    void rackComboIsASnapshot();
    void computerComboShowsRackAndComputer();
    void heldDelegateGoesWithItsHolder();
    void uidEditor_data();
    void uidEditor();
    void boolCells_data();
    void boolCells();
    void cellsAreDrawnAndSizedAsQtDoes_data();
    void cellsAreDrawnAndSizedAsQtDoes();

private:
    std::unique_ptr<QComboBox> openCombo(StandardDelegate& holder, const QModelIndex& index);

    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TestReceiverData> m_data;
    std::unique_ptr<StandardModel> m_model;
    QWidget m_parent;
};

void TestComponentDelegates::init()
{
    m_store = std::make_unique<TestStore>();
    (*m_store)->racks().insert(ComponentUid<0>(3), makeRack(3, "C"));
    (*m_store)->racks().insert(ComponentUid<0>(1), makeRack(1, "A"));
    (*m_store)->racks().insert(ComponentUid<0>(2), makeRack(2, "B"));
    (*m_store)->receivers().receivers.insert(ComponentUid<2>(42), makeReceiver(42, 2, "r"));
    (*m_store)->receivers().receivers.insert(ComponentUid<2>(43), makeReceiver(43, 99, "dangling"));
    m_data = std::make_unique<TestReceiverData>();
    m_model = std::make_unique<StandardModel>(m_data.get());
    m_model->load(m_store->get());
}

void TestComponentDelegates::cleanup()
{
    m_model.reset();
    m_data.reset();
    m_store.reset();
}

std::unique_ptr<QComboBox> TestComponentDelegates::openCombo(StandardDelegate& holder, const QModelIndex& index)
{
    QWidget* editor = holder.delegate()->createEditor(&m_parent, QStyleOptionViewItem(), index);
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo)
        delete editor;
    else
        holder.delegate()->setEditorData(combo, index);
    return std::unique_ptr<QComboBox>(combo);
}

void TestComponentDelegates::rackCombo()
{
    RackSelect holder;
    holder.setComplexConfig(m_store->get());

    std::unique_ptr<QComboBox> combo = openCombo(holder, m_model->index(0, 1));
    QVERIFY(combo);
    QCOMPARE(itemTexts(*combo), QStringList({"---", "A", "B", "C"}));
    QCOMPARE(combo->itemData(0), QVariant(QSize(-1, 0)));
    QCOMPARE(combo->itemData(3), QVariant(QSize(3, 0)));
    QCOMPARE(combo->currentIndex(), 2); // rack 2, "B"

    // A rack missing from the store opens with no current item.
    combo = openCombo(holder, m_model->index(1, 1));
    QVERIFY(combo);
    QCOMPARE(combo->currentIndex(), -1);

    // With an empty store the list holds only "---".
    TestStore empty;
    RackSelect emptyHolder;
    emptyHolder.setComplexConfig(empty.get());
    combo = openCombo(emptyHolder, m_model->index(0, 1));
    QVERIFY(combo);
    QCOMPARE(itemTexts(*combo), QStringList({"---"}));
}

void TestComponentDelegates::rackComboStoresNoneForDashesOrNoItem()
{
    RackSelect holder;
    holder.setComplexConfig(m_store->get());
    const QModelIndex index = m_model->index(0, 1);

    std::unique_ptr<QComboBox> combo = openCombo(holder, index);
    QVERIFY(combo);
    combo->setCurrentIndex(3);
    holder.delegate()->setModelData(combo.get(), m_model.get(), index);
    QCOMPARE(index.data(Qt::EditRole), QVariant(QSize(3, 0)));
    QCOMPARE(index.data(Qt::DisplayRole), QVariant("C"));

    combo->setCurrentIndex(0);
    holder.delegate()->setModelData(combo.get(), m_model.get(), index);
    QCOMPARE(index.data(Qt::EditRole), QVariant(QSize(-1, 0)));
    QVERIFY(!index.data(Qt::DisplayRole).isValid());

    m_model->setData(index, QSize(1, 0));
    combo->setCurrentIndex(-1);
    QTest::ignoreMessage(QtDebugMsg, "cast ComponentUid from type:-1 to type:0 not available");
    holder.delegate()->setModelData(combo.get(), m_model.get(), index);
    QCOMPARE(index.data(Qt::EditRole), QVariant(QSize(-1, 0)));
}

void TestComponentDelegates::rackComboIsASnapshot()
{
    RackSelect holder;
    holder.setComplexConfig(m_store->get());
    (*m_store)->racks().insert(ComponentUid<0>(4), makeRack(4, "D"));
    std::unique_ptr<QComboBox> combo = openCombo(holder, m_model->index(0, 1));
    QVERIFY(combo);
    QCOMPARE(itemTexts(*combo), QStringList({"---", "A", "B", "C"}));
    holder.setComplexConfig(m_store->get());
    combo = openCombo(holder, m_model->index(0, 1));
    QVERIFY(combo);
    QCOMPARE(itemTexts(*combo), QStringList({"---", "A", "B", "C", "D"}));
}

void TestComponentDelegates::computerComboShowsRackAndComputer()
{
    (*m_store)->computers().insert(ComponentUid<1>(5), makeComputer(5, 1, "Server"));
    (*m_store)->computers().insert(ComponentUid<1>(6), makeComputer(6, -1, "Loose"));
    CoConfig::ChannelServer server;
    server.uid = ComponentUid<3>(1);
    server.computer = ComponentUid<1>(6);
    (*m_store)->receivers().channelServers.insert(server.uid, server);
    TestChannelServerData servers;
    StandardModel model(&servers);
    model.load(m_store->get());

    ComputerSelect holder;
    holder.setComplexConfig(m_store->get());
    std::unique_ptr<QComboBox> combo = openCombo(holder, model.index(0, 1));
    QVERIFY(combo);
    QCOMPARE(itemTexts(*combo), QStringList({"---", "A/Server", "/Loose"}));
    QCOMPARE(combo->currentIndex(), 2);
    QCOMPARE(combo->itemData(1), QVariant(QSize(5, 1)));
}

void TestComponentDelegates::heldDelegateGoesWithItsHolder()
{
    auto* uidHolder = new ComponentUidEditDelegate;
    auto* rackHolder = new RackSelect;
    QPointer<QAbstractItemDelegate> uidDelegate = uidHolder->delegate();
    QPointer<QAbstractItemDelegate> rackDelegate = rackHolder->delegate();
    QVERIFY(!uidDelegate->parent() && !rackDelegate->parent());
    StandardDelegate* holders[] = {uidHolder, rackHolder};
    for (StandardDelegate* holder : holders)
        delete holder;
    QVERIFY(uidDelegate.isNull());
    QVERIFY(rackDelegate.isNull());
}

void TestComponentDelegates::uidEditor_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");   // what the editor holds: some keys are refused
    QTest::addColumn<bool>("explained"); // the editor says why it does not take the text
    QTest::addColumn<QString>("leaveBy"); // Enter, a click on another cell, or a move of the current cell
    QTest::addColumn<int>("uid");        // of the edited row, which had 2

    QTest::newRow("a fresh number") << "42" << "42" << false << "Enter" << 42;
    QTest::newRow("a fresh number, click") << "42" << "42" << false << "click" << 42;
    QTest::newRow("its own uid") << "2" << "2" << false << "Enter" << 2;
    QTest::newRow("another row's uid") << "4" << "4" << true << "Enter" << 2;
    QTest::newRow("another row's uid, click") << "4" << "4" << true << "click" << 2;
    QTest::newRow("another row's uid, moved") << "4" << "4" << true << "move" << 2;
    QTest::newRow("a minus sign") << "-5" << "5" << true << "Enter" << 2; // 5 is another row's
    QTest::newRow("a minus sign alone") << "-" << "2" << false << "Enter" << 2; // the key is refused
    QTest::newRow("letters") << "abc" << "2" << false << "click" << 2;
    QTest::newRow("emptied") << "\b" << "" << true << "Enter" << 2;
    QTest::newRow("emptied, moved") << "\b" << "" << true << "move" << 2;
    QTest::newRow("beyond the uids the store holds") << "2147483648" << "2147483648" << true << "Enter" << 2;
    QTest::newRow("beyond the uids, moved") << "2147483648" << "2147483648" << true << "move" << 2;
    QTest::newRow("the largest uid") << "2147483647" << "2147483647" << false << "Enter" << 2147483647;
}

// The uid editor takes only a uid that the store can hold and no other row has; anything else
// leaves the cell as it was.
void TestComponentDelegates::uidEditor()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, explained);
    QFETCH(QString, leaveBy);
    QFETCH(int, uid);

    TestStore store;
    for (int uid = 1; uid <= 5; ++uid)
        store->receivers().receivers.insert(ComponentUid<2>(uid), makeReceiver(uid, -1, QString::number(uid)));
    TestReceiverData data;
    StandardModel model(&data);
    model.load(store.get());
    ComponentUidEditDelegate holder;
    QTableView view;
    view.setModel(&model);
    view.setItemDelegateForColumn(0, holder.delegate());

    const QModelIndex cell = model.index(1, 0);
    QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(CellEditing::openByDoubleClick(&view, cell));
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("2"));
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    QCOMPARE(editor->text(), shown);
    QCOMPARE(!editor->toolTip().isEmpty(), explained);

    const QModelIndex other = model.index(3, 0);
    if (leaveBy == QLatin1String("click")) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(other).center());
    } else if (leaveBy == QLatin1String("move")) {
        view.setCurrentIndex(other); // the view commits the open editor without asking it
    } else {
        QTest::keyClick(editor, Qt::Key_Return);
        if (explained) {
            QVERIFY(editor); // Enter does not commit a uid that cannot be stored
            QTest::keyClick(editor, Qt::Key_Escape);
        }
    }
    QTRY_VERIFY(!editor);
    QCOMPARE(cell.data(Qt::EditRole), QVariant(QSize(uid, 2)));
}

void TestComponentDelegates::boolCells_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<bool>("value");
    QTest::addColumn<bool>("readable");

    QTest::newRow("Да") << QVariant("Да") << true << true;
    QTest::newRow("Нет") << QVariant("Нет") << false << true;
    QTest::newRow("1") << QVariant("1") << true << true;
    QTest::newRow("0") << QVariant(" 0 ") << false << true;
    QTest::newRow("TRUE") << QVariant("TRUE") << true << true;
    QTest::newRow("false") << QVariant("false") << false << true;
    QTest::newRow("a bool") << QVariant(true) << true << true;
    QTest::newRow("other text") << QVariant("может быть") << false << false;
}

// A bool column reads and shows "Да"/"Нет", and its editor offers the two.
void TestComponentDelegates::boolCells()
{
    QFETCH(QVariant, cell);
    QFETCH(bool, value);
    QFETCH(bool, readable);

    bool ok = false;
    QCOMPARE(boolFromCell(cell, &ok), value);
    QCOMPARE(ok, readable);

    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), value, Qt::EditRole);
    BoolDelegate holder;
    std::unique_ptr<QComboBox> combo = openCombo(holder, model.index(0, 0));
    QVERIFY(combo);
    QCOMPARE(itemTexts(*combo), QStringList({"Нет", "Да"}));
    QCOMPARE(combo->currentText(), boolText(value));
    combo->setCurrentIndex(value ? 0 : 1);
    holder.delegate()->setModelData(combo.get(), &model, model.index(0, 0));
    QCOMPARE(model.index(0, 0).data(Qt::EditRole), QVariant(!value));
}

void TestComponentDelegates::cellsAreDrawnAndSizedAsQtDoes_data()
{
    QTest::addColumn<bool>("itemDelegate");
    QTest::addColumn<bool>("wordWrap");
    QTest::newRow("style, wrapped") << false << true;
    QTest::newRow("style, one line") << false << false;
    QTest::newRow("item delegate, wrapped") << true << true;
    QTest::newRow("item delegate, one line") << true << false;
}

// Plain cells are drawn from laid-out texts kept between paints; every pixel and every width must
// be what Qt's own drawing gives, for the texts that take that way and those that don't.
void TestComponentDelegates::cellsAreDrawnAndSizedAsQtDoes()
{
    QFETCH(bool, itemDelegate);
    QFETCH(bool, wordWrap);
    const QStringList texts = {QStringLiteral("Приёмник 42"), QStringLiteral("7"), QString(),
                               QStringLiteral("текст, который не помещается в ячейку и сокращается"),
                               QStringLiteral("две\nстроки"), QStringLiteral("  пробелы  "), QStringLiteral("Rx-5/A")};
    QStandardItemModel model(int(texts.size()) * 2, 3);
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < 3; ++column) {
            auto* item = new QStandardItem(texts.at(row % texts.size()));
            if (column == 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == 2 && row % 3 == 0)
                item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
            model.setItem(row, column, item);
        }
    }
    StandardTableView view;
    view.setWordWrap(wordWrap);
    view.setModel(&model);
    CellItemDelegate cellDelegate;
    QItemDelegate qtDelegate;
    if (itemDelegate)
        view.setItemDelegate(&cellDelegate);
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.setColumnWidth(0, 140);
    view.setColumnWidth(1, 60);
    view.setColumnWidth(2, 90);
    view.resize(400, 400);
    view.selectionModel()->select(QItemSelection(model.index(2, 0), model.index(5, 1)), QItemSelectionModel::Select);
    view.setCurrentIndex(model.index(3, 1));
    const auto widths = [&view] {
        QList<int> hints;
        for (int column = 0; column < 3; ++column)
            hints << static_cast<const QAbstractItemView&>(view).sizeHintForColumn(column);
        return hints;
    };
    const QList<int> firstWidths = widths();
    const QImage first = view.grab().toImage();
    const QImage kept = view.grab().toImage(); // from what the first paint laid out
    const QList<int> keptWidths = widths();

    // The same table through Qt's own drawing.
    view.setStyle(QApplication::style());
    if (itemDelegate)
        view.setItemDelegate(&qtDelegate);
    const QImage qt = view.grab().toImage();
    QCOMPARE(first.size(), qt.size());
    QVERIFY(first == qt);
    QVERIFY(kept == qt);
    QCOMPARE(firstWidths, widths());
    QCOMPARE(keptWidths, widths());
}

QTEST_MAIN(TestComponentDelegates)
#include "tst_componentdelegates.moc"
