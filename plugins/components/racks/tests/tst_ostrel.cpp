#include "modalanswerer.h"
#include "orvaneplugin.h"
#include "orvaneplugininterface.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDataStream>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QtTest>


using CoConfig::ComponentUid;

namespace {

enum Action { Add, Remove, Edit, Fill, FillWithCounter, Copy, Paste };

CoConfig::Rack rack(int uid, const QString& name, const QString& shortName = QString())
{
    CoConfig::Rack record;
    record.uid = ComponentUid<0>(uid);
    record.name = name;
    record.shortName = shortName;
    return record;
}

} // namespace

class TestOstrel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void answersTheContract();
    void showsThreeColumns();
    void addsARowWithAFreshUid();
    void doubleClickEditsAName();
    void uidEditorCoercesText_data();
    void uidEditorCoercesText();
    void removesEverySelectedRow();
    void fillCopiesTheCurrentCellDownItsColumn();
    void fillWithCounter_data();
    void fillWithCounter();
    void fillWithCounterRefusesTheUidColumn();
    void copyAndPasteIntoAnotherInstance();
    void pasteIgnoresForeignClipboards_data();
    void pasteIgnoresForeignClipboards();
    void saveWritesTheRackMap();
    void saveBeforeAStoreWritesNothing();
    void destroyReleasesTheWidgets();

private:
    OrvanePlugin* createPlugin();
    CoConfig::ComplexConfig* store() const { return m_store->get(); }
    QTableView* view(OrvanePlugin* plugin) const { return qobject_cast<QTableView*>(plugin->widget()); }
    QAbstractItemModel* model(OrvanePlugin* plugin) const { return view(plugin)->model(); }
    void trigger(OrvanePlugin* plugin, Action action) const { plugin->toolBar()->actions().at(action)->trigger(); }
    QStringList column(OrvanePlugin* plugin, int column) const;
    QList<int> uids(OrvanePlugin* plugin) const;
    void select(OrvanePlugin* plugin, const QList<QPoint>& cells, QPoint current) const;
    QLineEdit* openEditor(OrvanePlugin* plugin, int row, int column);

    PluginLibrary m_library{QStringLiteral("orvane-10-racks")};
    std::unique_ptr<TestStore> m_store;
    QList<QAbstractItemModelTester*> m_testers;
};

void TestOstrel::initTestCase()
{
    QVERIFY2(m_library.isLoaded(), qPrintable(m_library.errorString()));
}

void TestOstrel::init()
{
    m_store = std::make_unique<TestStore>();
    QVERIFY(m_store->isValid());
    for (const CoConfig::Rack& record : {rack(4, "D", "d"), rack(1, "A", "a"), rack(3, "C", "c"), rack(2, "B", "b"),
                                         rack(5, "E", "e")})
        store()->racks().insert(record.uid, record);
}

void TestOstrel::cleanup()
{
    qDeleteAll(m_testers);
    m_testers.clear();
    m_library.destroyAll();
    m_store.reset();
}

OrvanePlugin* TestOstrel::createPlugin()
{
    OrvanePlugin* plugin = m_library.create();
    // Watches every change the plugin makes to its table, from the first load on.
    m_testers.append(new QAbstractItemModelTester(model(plugin), QAbstractItemModelTester::FailureReportingMode::QtTest));
    plugin->setComplexConfig(store());
    return plugin;
}

QStringList TestOstrel::column(OrvanePlugin* plugin, int column) const
{
    QStringList values;
    for (int row = 0; row < model(plugin)->rowCount(); ++row)
        values.append(model(plugin)->index(row, column).data(Qt::EditRole).toString());
    return values;
}

QList<int> TestOstrel::uids(OrvanePlugin* plugin) const
{
    QList<int> values;
    for (int row = 0; row < model(plugin)->rowCount(); ++row)
        values.append(model(plugin)->index(row, 0).data(Qt::EditRole).toSize().width());
    return values;
}

void TestOstrel::select(OrvanePlugin* plugin, const QList<QPoint>& cells, QPoint current) const
{
    QItemSelectionModel* selection = view(plugin)->selectionModel();
    selection->clearSelection();
    for (const QPoint& cell : cells)
        selection->select(model(plugin)->index(cell.y(), cell.x()), QItemSelectionModel::Select);
    selection->setCurrentIndex(model(plugin)->index(current.y(), current.x()), QItemSelectionModel::NoUpdate);
}

QLineEdit* TestOstrel::openEditor(OrvanePlugin* plugin, int row, int column)
{
    QTableView* table = view(plugin);
    table->resize(600, 400);
    table->show();
    if (!QTest::qWaitForWindowExposed(table))
        return nullptr;
    const QRect cell = table->visualRect(model(plugin)->index(row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    return table->viewport()->findChild<QLineEdit*>();
}

void TestOstrel::answersTheContract()
{
    QObject* root = m_library.root();
    QVERIFY(root->qt_metacast("OstrelInterface"));
    QCOMPARE(root->qt_metacast("OrvanePluginInterface"), root->qt_metacast(OrvanePluginInterface_iid));

    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    QCOMPARE(plugin->name(), QStringLiteral("Стойки"));
    QVERIFY(!plugin->menu());
    QVERIFY(view(plugin));
    QCOMPARE(plugin->widget(), plugin->widget());
    m_library.factory()->destroyPlugin(nullptr);

    // The seven commands, on the tool bar and in the table's context menu alike.
    QToolBar* toolBar = plugin->toolBar();
    QVERIFY(toolBar);
    QCOMPARE(toolBar->windowTitle(), QStringLiteral("Стойки"));
    const QList<QAction*> actions = toolBar->actions();
    QCOMPARE(view(plugin)->actions(), actions);
    QCOMPARE(view(plugin)->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QStringList texts = {"Добавить", "Удалить", "Редактировать", "Заполнить", "Заполнить счётчиком",
                               "Скопировать", "Вставить"};
    const QList<QKeySequence> shortcuts = {QKeySequence(Qt::Key_Insert), QKeySequence(QKeySequence::Delete),
                                           QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(), QKeySequence(),
                                           QKeySequence(QKeySequence::Copy), QKeySequence(QKeySequence::Paste)};
    QCOMPARE(actions.size(), 7);
    for (int key = 0; key < 7; ++key) {
        QCOMPARE(actions[key]->text(), texts[key]);
        QCOMPARE(actions[key]->shortcut(), shortcuts[key]);
    }
    QCOMPARE(actions[Fill]->toolTip(), QStringLiteral("Заполнить выделенные ячейки столбца значением текущей ячейки"));
    QCOMPARE(actions[Add]->toolTip(), texts[Add]);
}

void TestOstrel::showsThreeColumns()
{
    OrvanePlugin* plugin = createPlugin();
    QAbstractItemModel* table = model(plugin);
    QCOMPARE(table->columnCount(), 3);
    const QStringList titles = {"ID", "Название", "Короткое название"};
    const QStringList tips = {"Универсальный идентификатор", "Показывается вместо идентификатора",
                              "Используется для подписи иконок.\nДолжно быть действительно короткое"};
    for (int section = 0; section < 3; ++section) {
        QCOMPARE(table->headerData(section, Qt::Horizontal).toString(), titles[section]);
        QCOMPARE(table->headerData(section, Qt::Horizontal, Qt::ToolTipRole).toString(), tips[section]);
    }
    QVERIFY(!table->headerData(0, Qt::Vertical).isValid());
    QCOMPARE(int(table->flags(table->index(2, 1))), 35);

    // Loaded in uid order; a uid cell shows its number.
    QCOMPARE(uids(plugin), QList<int>({1, 2, 3, 4, 5}));
    QCOMPARE(column(plugin, 1), QStringList({"A", "B", "C", "D", "E"}));
    auto* uidDelegate = qobject_cast<QStyledItemDelegate*>(view(plugin)->itemDelegateForColumn(0));
    QVERIFY(uidDelegate);
    QCOMPARE(uidDelegate->displayText(table->index(3, 0).data(), QLocale()), QStringLiteral("4"));
    QCOMPARE(uidDelegate->displayText(QVariant(1234567), QLocale(QLocale::Russian)), QStringLiteral("1234567"));
    QVERIFY(!view(plugin)->itemDelegateForColumn(1));
    QVERIFY(!view(plugin)->itemDelegateForColumn(2));
}

void TestOstrel::addsARowWithAFreshUid()
{
    OrvanePlugin* plugin = createPlugin();
    trigger(plugin, Add);
    trigger(plugin, Add);
    QCOMPARE(uids(plugin), QList<int>({1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(column(plugin, 1).mid(5), QStringList({"", ""}));
    QCOMPARE(column(plugin, 2).mid(5), QStringList({"", ""}));
    QCOMPARE(store()->racks().size(), 5); // nothing reaches the store before a save
}

void TestOstrel::doubleClickEditsAName()
{
    OrvanePlugin* plugin = createPlugin();
    QLineEdit* editor = openEditor(plugin, 2, 1);
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("C"));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("North"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(column(plugin, 1), QStringList({"A", "B", "North", "D", "E"}));
    QCOMPARE(column(plugin, 2), QStringList({"a", "b", "c", "d", "e"}));
}

void TestOstrel::uidEditorCoercesText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("uid");

    QTest::newRow("number") << "42" << 42;
    QTest::newRow("not a number") << "abc" << 0;
}

void TestOstrel::uidEditorCoercesText()
{
    QFETCH(QString, typed);
    QFETCH(int, uid);

    OrvanePlugin* plugin = createPlugin();
    QLineEdit* editor = openEditor(plugin, 1, 0);
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("2"));
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(model(plugin)->index(1, 0).data(Qt::EditRole).toSize(), QSize(uid, 0));
}

void TestOstrel::removesEverySelectedRow()
{
    OrvanePlugin* plugin = createPlugin();
    select(plugin, {{1, 1}, {2, 3}}, {2, 3});
    trigger(plugin, Remove);
    QCOMPARE(column(plugin, 1), QStringList({"A", "C", "E"}));

    select(plugin, {}, {0, 0});
    trigger(plugin, Remove); // nothing selected
    QCOMPARE(model(plugin)->rowCount(), 3);
}

void TestOstrel::fillCopiesTheCurrentCellDownItsColumn()
{
    OrvanePlugin* plugin = createPlugin();
    // Row 2 counts through its selected short name; that cell itself stays as it is.
    select(plugin, {{1, 0}, {1, 1}, {1, 3}, {2, 2}}, {1, 1});
    trigger(plugin, Fill);
    QCOMPARE(column(plugin, 1), QStringList({"B", "B", "B", "B", "E"}));
    QCOMPARE(column(plugin, 2), QStringList({"a", "b", "c", "d", "e"}));
}

void TestOstrel::fillWithCounter_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("digits");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("padded") << 1 << QList<int>{2, 0, 4} << "K-[C]" << 5 << 10 << 3 << true
                            << QStringList{"K-005", "B", "K-015", "D", "K-025"};
    QTest::newRow("longer than the digits") << 2 << QList<int>{3} << "[C]" << 123 << 1 << 2 << true
                                            << QStringList{"a", "b", "c", "123", "e"};
    QTest::newRow("no counter in the mask") << 1 << QList<int>{0, 1} << "Rack" << 0 << 1 << 1 << true
                                            << QStringList{"Rack", "Rack", "C", "D", "E"};
    QTest::newRow("counter twice, case matters") << 1 << QList<int>{3, 4} << "[C]-[c]-[C]" << 1 << 1 << 2 << true
                                                 << QStringList{"A", "B", "C", "01-[c]-01", "02-[c]-02"};
    QTest::newRow("largest values") << 2 << QList<int>{0, 1} << "[C]" << 10000000 << 10000 << 10 << true
                                    << QStringList{"0010000000", "0010010000", "c", "d", "e"};
    QTest::newRow("cancel") << 1 << QList<int>{0, 1} << "X[C]" << 0 << 1 << 1 << false
                            << QStringList{"A", "B", "C", "D", "E"};
}

void TestOstrel::fillWithCounter()
{
    QFETCH(int, column);
    QFETCH(QList<int>, rows);
    QFETCH(QString, mask);
    QFETCH(int, start);
    QFETCH(int, step);
    QFETCH(int, digits);
    QFETCH(bool, accept);
    QFETCH(QStringList, expected);

    OrvanePlugin* plugin = createPlugin();
    QList<QPoint> cells;
    for (int row : rows)
        cells.append(QPoint(column, row));
    select(plugin, cells, cells.first());

    // Checked after the dialog closes: a failure inside the handler would leave it open.
    QString title;
    ModalAnswerer answers;
    answers.handleNext([&](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog)
            return ModalAnswerer::dismiss(modal);
        title = dialog->windowTitle();
        dialog->findChild<QLineEdit*>("mask")->setText(mask);
        dialog->findChild<QSpinBox*>("start")->setValue(start);
        dialog->findChild<QSpinBox*>("step")->setValue(step);
        dialog->findChild<QSpinBox*>("digits")->setValue(digits);
        accept ? dialog->accept() : dialog->reject();
    });
    trigger(plugin, FillWithCounter);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(title, QStringLiteral("Настройки счётчика"));
    QCOMPARE(this->column(plugin, column), expected);
}

void TestOstrel::fillWithCounterRefusesTheUidColumn()
{
    OrvanePlugin* plugin = createPlugin();
    select(plugin, {{0, 0}, {0, 1}}, {0, 0});
    ModalAnswerer answers;
    trigger(plugin, FillWithCounter);
    QVERIFY2(answers.boxes().isEmpty(), qPrintable(answers.seen().join(", ")));
    QCOMPARE(uids(plugin), QList<int>({1, 2, 3, 4, 5}));
}

void TestOstrel::copyAndPasteIntoAnotherInstance()
{
    OrvanePlugin* source = createPlugin();
    select(source, {{1, 3}, {2, 1}}, {1, 3});
    trigger(source, Copy);

    OrvanePlugin* target = createPlugin();
    trigger(target, Paste);
    trigger(target, Paste);
    QCOMPARE(model(target)->rowCount(), 9);
    QCOMPARE(column(target, 1).mid(5), QStringList({"B", "D", "B", "D"}));
    QCOMPARE(column(target, 2).mid(5), QStringList({"b", "d", "b", "d"}));
    const QList<int> pasted = uids(target).mid(5);
    QCOMPARE(QSet<int>(pasted.begin(), pasted.end()).size(), 4);
    for (int uid : pasted)
        QVERIFY2(uid > 5, qPrintable(QString::number(uid)));

    // A row added after the pastes takes yet another uid.
    trigger(target, Add);
    const QList<int> all = uids(target);
    QCOMPARE(QSet<int>(all.begin(), all.end()).size(), all.size());
}

void TestOstrel::pasteIgnoresForeignClipboards_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray receiver;
    {
        QDataStream stream(&receiver, QIODevice::WriteOnly);
        stream << qint32(1) << QByteArray("<?xml version=\"1.0\"?><Receiver uid=\"3\" name=\"R\"/>");
    }
    QByteArray hugeCount;
    {
        QDataStream stream(&hugeCount, QIODevice::WriteOnly);
        stream << qint32(0x7FFFFFFF) << quint32(0xFFFFFFF0);
    }
    QTest::newRow("another record type") << "orvane/copy_data" << receiver;
    QTest::newRow("huge count and length") << "orvane/copy_data" << hugeCount;
    QTest::newRow("another format") << "text/plain" << QByteArray("<Rack uid=\"3\" name=\"R\"/>");
}

void TestOstrel::pasteIgnoresForeignClipboards()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);

    OrvanePlugin* plugin = createPlugin();
    auto* mimeData = new QMimeData();
    mimeData->setData(format, bytes);
    QApplication::clipboard()->setMimeData(mimeData);
    trigger(plugin, Paste);
    QCOMPARE(model(plugin)->rowCount(), 5);
}

void TestOstrel::saveWritesTheRackMap()
{
    OrvanePlugin* plugin = createPlugin();
    QAbstractItemModel* table = model(plugin);
    trigger(plugin, Add); // uid 6
    table->setData(table->index(5, 1), QStringLiteral("F"));
    table->setData(table->index(0, 0), QSize(9, 0));         // A moves to 9
    table->setData(table->index(1, 0), QSize(4, 0));         // B takes D's uid and wins, being later
    table->setData(table->index(3, 0), QSize(7, 0));         // ...unless D leaves it first
    table->setData(table->index(4, 0), QSize(2, 0));         // E takes B's old uid
    table->setData(table->index(2, 0), QSize(2, 0));         // C shares it with E; E is the later row
    plugin->saveComplexConfig();

    QMap<int, QString> expected = {{9, "A"}, {4, "B"}, {7, "D"}, {2, "E"}, {6, "F"}};
    QMap<int, QString> saved;
    for (const CoConfig::Rack& record : std::as_const(store()->racks()))
        saved.insert(record.uid.value, record.name);
    QCOMPARE(saved, expected);
    QVERIFY2(store()->write(1), qPrintable(store()->errorString()));

    const auto fresh = m_store->reopen();
    saved.clear();
    for (auto it = fresh->racks().cbegin(); it != fresh->racks().cend(); ++it) {
        QCOMPARE(it.key(), it.value().uid);
        saved.insert(it.key().value, it.value().name);
    }
    QCOMPARE(saved, expected);

    // The shell hands the store back after a save: the rows come back in uid order.
    plugin->setComplexConfig(store());
    QCOMPARE(uids(plugin), QList<int>({2, 4, 6, 7, 9}));
    QCOMPARE(column(plugin, 1), QStringList({"E", "B", "F", "D", "A"}));
}

void TestOstrel::saveBeforeAStoreWritesNothing()
{
    OrvanePlugin* plugin = m_library.create();
    plugin->saveComplexConfig();
    QCOMPARE(store()->racks().size(), 5);
    QSignalSpy errors(plugin, SIGNAL(Error(QString)));
    trigger(plugin, Add); // no store to ask for a uid: nothing is added, and the user is told
    QCOMPARE(model(plugin)->rowCount(), 0);
    QCOMPARE(errors.size(), 1);
}

void TestOstrel::destroyReleasesTheWidgets()
{
    OrvanePlugin* plugin = m_library.create();
    plugin->setComplexConfig(store());
    QPointer<QWidget> table = plugin->widget();
    QPointer<QToolBar> toolBar = plugin->toolBar();
    QPointer<QAbstractItemDelegate> uidDelegate = view(plugin)->itemDelegateForColumn(0);
    QWidget tabs; // the shell re-parents the widgets
    table->setParent(&tabs);
    toolBar->setParent(&tabs);
    m_library.destroy(plugin);
    QVERIFY(table.isNull());
    QVERIFY(toolBar.isNull());
    QVERIFY(uidDelegate.isNull());
}

QTEST_MAIN(TestOstrel)
#include "tst_ostrel.moc"
