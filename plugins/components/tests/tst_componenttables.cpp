#include "cellediting.h"
#include "componentpage.h"
#include "componentfield.h"
#include "standardtablepage.h"
#include "componenttable.h"
#include "modalanswerer.h"
#include "orvaneedithistory.h"
#include "orvaneplugin.h"
#include "orvaneplugininterface.h"
#include "pluginlibrary.h"
#include "tablemodeltester.h"
#include "teststore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QToolBar>
#include <QUndoStack>
#include "standardtablepage.h"

#include <QtTest>

#include <memory>
#include <vector>

// What every component table shares, checked on every component plugin library of the build,
// each loaded through the contract over a real store in a temporary directory.

namespace {

struct ActionText
{
    QString text;
    QKeySequence shortcut;
    QString icon; // empty: none
    QString toolTip;
};

// Built when asked: a standard shortcut needs the application.
QList<ActionText> actionTexts()
{
    return {
        {"Добавить", QKeySequence(Qt::Key_Insert), ":/icons/common/add.png", "Добавить"},
        {"Удалить", QKeySequence(QKeySequence::Delete), ":/icons/common/remove.png", "Удалить"},
        {"Редактировать", QKeySequence(Qt::CTRL | Qt::Key_Return), ":/icons/common/edit.png", "Редактировать"},
        {"Заполнить", QKeySequence(), "", "Заполнить выделенные ячейки столбца значением текущей ячейки"},
        {"Заполнить счётчиком", QKeySequence(), ":/icons/common/play.png", "Заполнить выделенные ячейки столбца счётчиком"},
        {"Скопировать", QKeySequence(QKeySequence::Copy), ":/icons/common/copy.png", "Скопировать"},
        {"Вставить", QKeySequence(QKeySequence::Paste), ":/icons/common/paste.png", "Вставить"},
    };
}

// The title and header tooltip of every field.
const QHash<int, QPair<QString, QString>> vocabulary = {
    {FieldUid, {"ID", "Универсальный идентификатор"}},
    {FieldName, {"Название", "Показывается вместо идентификатора"}},
    {FieldShortName, {"Короткое название", "Используется для подписи иконок.\nДолжно быть действительно короткое"}},
    {FieldIpAddress, {"IP адрес", "IP адрес устройства"}},
    {FieldControlPort, {"Порт управления", "Порт управления"}},
    {FieldSignalPort, {"Порт сигнала", "Порт рассылки сигнала"}},
    {FieldDacPort, {"Порт ЦАК", "Порт рассылки сигнала цифрового антенного коммутатора"}},
    {FieldRack, {"Стойка", "В какой стойке находится"}},
    {FieldUps, {"ИБП", "В каком ИБП находится"}},
    {FieldPdu, {"Распределитель питания", "В каком распределителе питания находится"}},
    {FieldComputer, {"Компьютер", "В каком компьютере находится"}},
    {FieldIndex, {"Индекс", "Индекс расположения в родительском элементе"}},
    {FieldObject, {"Объект", "Подлючённый компонент комплекса"}},
    {FieldControlledRack, {"Стойка", "Контролируемая стойка"}},
    {FieldComputerFlags, {"Тип", "Флаги компьютера"}},
    {FieldCassetteType, {"Тип кассеты", "Задаёт режимы работы, фильтры, ослабления канала"}},
    {FieldModule, {"Модуль", "Задаёт автоматичски загружаемый модуль"}},
    {FieldFixed, {"Фикс.", "Пользователь не может распределять такие каналы"}},
    {FieldHidden, {"Скрыт", "Пользователь не видит такие каналы"}},
    {FieldMulti, {"Мульти", "Канал, созданный из других каналов"}},
    {FieldScale, {"Масшт.", "Коэффициент масштабирования сигнла"}},
    {FieldReceiver, {"Приёмник", "В каком приёмнике находится канал"}},
    {FieldChannelServer, {"Сервер каналов", "На каком сервере каналов находится канал"}},
    {FieldServerIndex, {"Индекс", "Индекс по порядку на сервере каналов (с нуля)"}},
    {FieldBoard, {"Плата", "Через какую плату осуществляется доступ к каналу"}},
    {FieldCassette, {"Кассета", "Порядковый номер кассеты в приёмнике (с нуля)"}},
    {FieldRpu, {"РПУ", "Управление антеной"}},
    {FieldX64, {"x64", "64битная версия"}},
    {FieldDiagrams, {"Диаграммы", "Список диаграмм"}},
    {FieldAntennaServer, {"Сервер", "На каком сервере антенн находится управление"}},
    {FieldControlRpu, {"РПУ", "Через какое РПУ осуществляется управление антеннами"}},
    {FieldAntennaPool, {"Антенная группа", "Антенная группа, привязанная к серверу антенн"}},
    {FieldGroup, {"Группа", "Название антенной группы"}},
    {FieldAntenna, {"Антена", "Антена антенной группы"}},
};

const QString NoUid = QStringLiteral("Не удалось получить новый идентификатор");
constexpr int SampleRows = 5; // under uids 1 to 5

QVariantList column(OrvanePlugin* plugin, int column)
{
    QVariantList values;
    for (int row = 0; row < model(plugin)->rowCount(); ++row)
        values.append(model(plugin)->index(row, column).data(Qt::EditRole));
    return values;
}

// Cells as (column, row) points; the current cell is not selected by itself.
void select(OrvanePlugin* plugin, const QList<QPoint>& cells, QPoint current)
{
    QItemSelectionModel* selection = view(plugin)->selectionModel();
    selection->clearSelection();
    for (const QPoint& cell : cells)
        selection->select(model(plugin)->index(cell.y(), cell.x()), QItemSelectionModel::Select);
    selection->setCurrentIndex(model(plugin)->index(current.y(), current.x()), QItemSelectionModel::NoUpdate);
}

QList<QPoint> cellsOf(int column, const QList<int>& rows)
{
    QList<QPoint> cells;
    for (const int row : rows)
        cells.append(QPoint(column, row));
    return cells;
}

void setClipboard(const QString& format, const QByteArray& bytes)
{
    auto* mimeData = new QMimeData();
    mimeData->setData(format, bytes);
    QApplication::clipboard()->setMimeData(mimeData);
}

} // namespace

class TestComponentTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data();
    void initTestCase();
    void init();
    void cleanup();

    void contract();
    void columnsAndFlags();
    void actions();
    void newRows();
    void copyAndPaste();
    void noUidsLeft();
    void fill();
    void fillWithCounter_data();
    void fillWithCounter();
    void fillsRefusedOnTheUidColumn_data();
    void fillsRefusedOnTheUidColumn();
    void removeScatteredSelection();
    void uidEditor();
    void findLine();
    void saveAndRead();
    void openEditorAtSave();
    void pasteText_data();
    void pasteText();

private:
    // A plugin of the table's library, handed the store, its model watched from the start.
    OrvanePlugin* createPlugin();
    int uidColumn() const { return int(m_table.fields.indexOf(FieldUid)); }
    QList<int> uids(OrvanePlugin* plugin) const;
    QMap<int, QByteArray> stored() const { return m_table.records(*m_store->get()); }
    // The first column edited without a delegate that holds text or a number; -1 when none.
    static int plainColumn(OrvanePlugin* plugin);
    // Writes 1, 2, 3, ... into the plain column, so that every row's record is its own; returns
    // the column, or -1 when there is none or a cell took no number.
    static int numberRows(OrvanePlugin* plugin);
    // Rows as "Скопировать" puts them on the clipboard as text: the titles, then a line per row.
    QList<QStringList> copiedText(OrvanePlugin* plugin, const QList<int>& rows) const;

    ComponentTable m_table;
    std::unique_ptr<PluginLibrary> m_library;
    std::unique_ptr<TestStore> m_store;
    std::vector<std::unique_ptr<TableModelTester>> m_testers;
};

void TestComponentTables::initTestCase_data()
{
    QTest::addColumn<int>("table");
    const QList<ComponentTable> tables = componentTables();
    for (int i = 0; i < tables.size(); ++i)
        QTest::newRow(qPrintable(tables.at(i).library)) << i;
}

// Every component plugin library of the build has a row, and every row a library.
void TestComponentTables::initTestCase()
{
    QStringList found;
    const QDir folder(QStringLiteral(ORVANE_BIN_DIR));
    for (const QString& file : folder.entryList({QStringLiteral("orvane-*.so")}, QDir::Files)) {
        const PluginLibrary library(QFileInfo(file).completeBaseName());
        if (library.root() && library.root()->inherits("ComponentPluginInterface"))
            found.append(QFileInfo(file).completeBaseName());
    }
    QStringList rows;
    for (const ComponentTable& table : componentTables())
        rows.append(table.library);
    rows.sort();
    QCOMPARE(found, rows);
}

void TestComponentTables::init()
{
    QFETCH_GLOBAL(int, table);
    m_table = componentTables().at(table);
    QVERIFY2(uidColumn() >= 0, "every component table shows its uid");
    m_library = std::make_unique<PluginLibrary>(m_table.library);
    QVERIFY2(m_library->isLoaded(), qPrintable(m_library->errorString()));
    m_store = std::make_unique<TestStore>();
    QVERIFY(m_store->isValid());
    for (int uid = SampleRows; uid >= 1; --uid)
        m_table.addSample(*m_store->get(), uid);
}

void TestComponentTables::cleanup()
{
    m_testers.clear();
    if (m_library)
        m_library->destroyAll();
    m_library.reset();
    m_store.reset();
}

OrvanePlugin* TestComponentTables::createPlugin()
{
    OrvanePlugin* plugin = m_library->create();
    if (!plugin || !view(plugin))
        return nullptr;
    m_testers.push_back(std::make_unique<TableModelTester>(model(plugin)));
    plugin->setComplexConfig(m_store->get());
    return plugin;
}

QList<int> TestComponentTables::uids(OrvanePlugin* plugin) const
{
    QList<int> values;
    for (const QVariant& value : column(plugin, uidColumn()))
        values.append(value.toSize().width());
    return values;
}

int TestComponentTables::plainColumn(OrvanePlugin* plugin)
{
    for (int column = 0; column < model(plugin)->columnCount(); ++column) {
        const int type = model(plugin)->index(0, column).data(Qt::EditRole).typeId();
        if (!view(plugin)->itemDelegateForColumn(column) && (type == QMetaType::QString || type == QMetaType::Int))
            return column;
    }
    return -1;
}

int TestComponentTables::numberRows(OrvanePlugin* plugin)
{
    const int column = plainColumn(plugin);
    for (int row = 0; column >= 0 && row < model(plugin)->rowCount(); ++row) {
        if (!model(plugin)->setData(model(plugin)->index(row, column), QString::number(row + 1)))
            return -1;
    }
    return column;
}

QList<QStringList> TestComponentTables::copiedText(OrvanePlugin* plugin, const QList<int>& rows) const
{
    select(plugin, cellsOf(uidColumn(), rows), {uidColumn(), rows.value(0)});
    trigger(plugin, Copy);
    QList<QStringList> lines;
    for (const QString& line : QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.append(line.split(QLatin1Char('\t')));
    return lines;
}

void TestComponentTables::contract()
{
    QObject* root = m_library->root();
    QCOMPARE(QString::fromLatin1(root->metaObject()->className()), m_table.rootClass);
    QVERIFY(root->inherits("ComponentPluginInterface"));
    QVERIFY(root->qt_metacast(OrvanePluginInterface_iid));
    QCOMPARE(root->qt_metacast(OrvanePluginInterface_iid), root->qt_metacast("OrvanePluginInterface"));
    m_library->factory()->destroyPlugin(nullptr);

    // Before the store arrives a save writes nothing, and "Добавить" says why it adds nothing.
    OrvanePlugin* plugin = m_library->create();
    QVERIFY(plugin);
    QSignalSpy errors(plugin, SIGNAL(Error(QString)));
    plugin->saveComplexConfig();
    QCOMPARE(stored().size(), SampleRows);
    trigger(plugin, Add);
    QCOMPARE(model(plugin)->rowCount(), 0);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), NoUid);

    plugin->setComplexConfig(m_store->get());
    QCOMPARE(model(plugin)->rowCount(), SampleRows);
    QCOMPARE(plugin->name(), m_table.title);
    QVERIFY(!plugin->menu());
    QCOMPARE(plugin->widget(), plugin->widget());
    QVERIFY(plugin->toolBar());
    QCOMPARE(plugin->toolBar(), plugin->toolBar());
    QCOMPARE(plugin->toolBar()->windowTitle(), m_table.title);

    // The shell re-parents the page and the tool bar; the plugin still deletes them, and the
    // column delegates with them.
    QPointer<QWidget> page = plugin->widget();
    QPointer<QToolBar> toolBar = plugin->toolBar();
    QPointer<QAbstractItemDelegate> uidDelegate = view(plugin)->itemDelegateForColumn(uidColumn());
    QVERIFY(uidDelegate);
    QWidget tabs;
    page->setParent(&tabs);
    toolBar->setParent(&tabs);
    m_library->destroy(plugin);
    QVERIFY(page.isNull());
    QVERIFY(toolBar.isNull());
    QVERIFY(uidDelegate.isNull());
}

void TestComponentTables::columnsAndFlags()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    QAbstractItemModel* table = model(plugin);
    QCOMPARE(table->columnCount(), m_table.fields.size());
    for (int section = 0; section < table->columnCount(); ++section) {
        const int field = m_table.fields.at(section);
        QVERIFY2(vocabulary.contains(field), qPrintable(QString::number(field)));
        QCOMPARE(table->headerData(section, Qt::Horizontal).toString(), vocabulary.value(field).first);
        QCOMPARE(table->headerData(section, Qt::Horizontal, Qt::ToolTipRole).toString(), vocabulary.value(field).second);
        QVERIFY(!table->headerData(section, Qt::Horizontal, Qt::DecorationRole).isValid());
    }
    QVERIFY(!table->headerData(0, Qt::Vertical).isValid()); // rows carry no numbers

    const Qt::ItemFlags editable = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    QCOMPARE(int(editable), 35);
    QCOMPARE(table->flags(QModelIndex()), editable); // the root answers as the cells do
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column)
            QCOMPARE(table->flags(table->index(row, column)), editable);
    }

    // Loaded in uid order; the uid column shows the bare number through its own delegate.
    QCOMPARE(uids(plugin), QList<int>({1, 2, 3, 4, 5}));
    for (const QVariant& uid : column(plugin, uidColumn()))
        QCOMPARE(uid.toSize().height(), m_table.componentType);
    auto* uidDelegate = qobject_cast<QStyledItemDelegate*>(view(plugin)->itemDelegateForColumn(uidColumn()));
    QVERIFY(uidDelegate);
    QCOMPARE(uidDelegate->displayText(table->index(3, uidColumn()).data(), QLocale(QLocale::Russian)),
             QStringLiteral("4"));
}

// The seven commands, on the tool bar and in the table's context menu alike.
void TestComponentTables::actions()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    const QList<QAction*> actions = plugin->toolBar()->actions();
    QCOMPARE(actions.size(), int(ActionCount));
    QCOMPARE(view(plugin)->actions(), actions);
    QCOMPARE(view(plugin)->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<ActionText> expectedActions = actionTexts();
    for (int key = 0; key < ActionCount; ++key) {
        const ActionText& expected = expectedActions.at(key);
        QAction* action = actions.at(key);
        QCOMPARE(action->text(), expected.text);
        QCOMPARE(action->shortcut(), expected.shortcut);
        QCOMPARE(action->toolTip(), expected.toolTip);
        if (expected.icon.isEmpty()) {
            QVERIFY(action->icon().isNull());
            continue;
        }
        // The image of the shared icon file, drawn the same way.
        const QSize size = QImage(expected.icon).size();
        QVERIFY2(!size.isEmpty(), qPrintable(expected.icon));
        QCOMPARE(action->icon().pixmap(size).toImage(), QIcon(expected.icon).pixmap(size).toImage());
    }

    // "Редактировать" opens the editor of the current cell.
    const int column = plainColumn(plugin);
    QVERIFY(column >= 0);
    view(plugin)->window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(view(plugin)->window()));
    select(plugin, {}, {column, 2});
    trigger(plugin, Edit);
    QVERIFY(view(plugin)->indexWidget(model(plugin)->index(2, column)));
}

void TestComponentTables::newRows()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    trigger(plugin, Add);
    trigger(plugin, Add);
    QCOMPARE(model(plugin)->rowCount(), SampleRows + 2);
    const QList<int> added = uids(plugin).mid(SampleRows);
    QCOMPARE(QSet<int>(added.cbegin(), added.cend()).size(), 2);
    for (const int uid : added)
        QVERIFY2(uid > SampleRows, qPrintable(QString::number(uid)));
    QCOMPARE(column(plugin, uidColumn()).last().toSize().height(), m_table.componentType);
    QCOMPARE(stored().size(), SampleRows); // nothing reaches the store before a save

    // Every member but the uid is a default record's.
    plugin->saveComplexConfig();
    const QMap<int, QByteArray> records = stored();
    for (const int uid : added)
        QCOMPARE(records.value(uid), m_table.newRecord);
}

void TestComponentTables::copyAndPaste()
{
    OrvanePlugin* source = createPlugin();
    QVERIFY(source);
    QVERIFY(numberRows(source) >= 0);
    const int lastColumn = model(source)->columnCount() - 1;
    select(source, {{lastColumn, 3}, {uidColumn(), 1}}, {uidColumn(), 1}); // rows 1 and 3
    trigger(source, Copy);
    source->saveComplexConfig();
    const QMap<int, QByteArray> sourceRecords = stored();
    const QList<QByteArray> copied = {sourceRecords.value(2), sourceRecords.value(4)};

    OrvanePlugin* target = createPlugin();
    QVERIFY(target);
    trigger(target, Paste);
    trigger(target, Paste);
    QCOMPARE(model(target)->rowCount(), SampleRows + 4);
    const QList<int> pasted = uids(target).mid(SampleRows);
    QCOMPARE(QSet<int>(pasted.cbegin(), pasted.cend()).size(), 4);
    for (const int uid : pasted)
        QVERIFY2(!sourceRecords.contains(uid), qPrintable(QString::number(uid)));

    target->saveComplexConfig();
    const QMap<int, QByteArray> records = stored();
    for (int k = 0; k < pasted.size(); ++k)
        QCOMPARE(records.value(pasted.at(k)), copied.at(k % 2));

    // Another format pastes nothing (text is read as cells).
    setClipboard(QStringLiteral("application/octet-stream"), QByteArray("1"));
    trigger(target, Paste);
    QCOMPARE(model(target)->rowCount(), SampleRows + 4);
}

// When the store can give no uid, "Добавить" and "Вставить" add nothing and say so.
void TestComponentTables::noUidsLeft()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    QSignalSpy errors(plugin, SIGNAL(Error(QString)));
    select(plugin, cellsOf(uidColumn(), {0, 1}), {uidColumn(), 0});
    trigger(plugin, Copy);

    m_store->setUidsLeft(1); // one short of the two copied rows
    trigger(plugin, Paste);
    QCOMPARE(model(plugin)->rowCount(), SampleRows);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), NoUid);

    m_store->setUidsLeft(0);
    trigger(plugin, Add);
    QCOMPARE(model(plugin)->rowCount(), SampleRows);
    QCOMPARE(errors.size(), 2);
}

void TestComponentTables::fill()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    const int plain = numberRows(plugin);
    QVERIFY(plain >= 0);
    QList<QVariantList> before;
    for (int c = 0; c < model(plugin)->columnCount(); ++c)
        before.append(column(plugin, c));

    // Row 2 is selected in another column only: it is filled too, and its selected cell in the
    // other column stays as it is.
    select(plugin, cellsOf(plain, {0, 1, 3}) + QList<QPoint>{{uidColumn(), 2}}, {plain, 1});
    trigger(plugin, Fill);

    QVariantList expected = before.at(plain);
    for (const int row : {0, 2, 3})
        expected[row] = before.at(plain).at(1);
    QCOMPARE(column(plugin, plain), expected);
    for (int c = 0; c < model(plugin)->columnCount(); ++c) {
        if (c != plain)
            QCOMPARE(column(plugin, c), before.at(c));
    }
}

void TestComponentTables::fillWithCounter_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QList<int>>("values");

    // Text columns hold "005", "015", "025"; number columns the numbers. Rows count in
    // ascending order, whatever the order of the selection.
    QTest::newRow("accepted") << true << QList<int>({5, 2, 15, 4, 25});
    QTest::newRow("cancelled") << false << QList<int>({1, 2, 3, 4, 5});
}

void TestComponentTables::fillWithCounter()
{
    QFETCH(bool, accept);
    QFETCH(QList<int>, values);

    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    const int plain = numberRows(plugin);
    QVERIFY(plain >= 0);
    select(plugin, cellsOf(plain, {4, 0, 2}), {plain, 4});

    // Checked after the dialog closes: a failure inside the handler would leave it open.
    QString title;
    bool filledIn = false;
    ModalAnswerer answers;
    answers.handleNext([&](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        auto* mask = modal->findChild<QLineEdit*>(QStringLiteral("mask"));
        auto* start = modal->findChild<QSpinBox*>(QStringLiteral("start"));
        auto* step = modal->findChild<QSpinBox*>(QStringLiteral("step"));
        auto* digits = modal->findChild<QSpinBox*>(QStringLiteral("digits"));
        if (!dialog || !mask || !start || !step || !digits)
            return ModalAnswerer::dismiss(modal);
        title = dialog->windowTitle();
        mask->setText(QStringLiteral("[C]"));
        start->setValue(5);
        step->setValue(10);
        digits->setValue(3);
        filledIn = true;
        accept ? dialog->accept() : dialog->reject();
    });
    trigger(plugin, FillWithCounter);
    QCOMPARE(answers.pending(), 0);
    QVERIFY(filledIn);
    QCOMPARE(title, QStringLiteral("Настройки счётчика"));

    QList<int> filled;
    for (const QVariant& value : column(plugin, plain))
        filled.append(value.toString().toInt());
    QCOMPARE(filled, values);
}

// The uid column takes neither fill: the counter's dialog does not open (a column with its own
// delegate takes no counter), and one uid copied into other rows is refused with a message.
void TestComponentTables::fillsRefusedOnTheUidColumn_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("messages");
    QTest::newRow("fill") << int(Fill) << 1;
    QTest::newRow("counter") << int(FillWithCounter) << 0;
}

void TestComponentTables::fillsRefusedOnTheUidColumn()
{
    QFETCH(int, action);
    QFETCH(int, messages);
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    QSignalSpy errors(plugin, SIGNAL(Error(QString)));
    select(plugin, cellsOf(uidColumn(), {0, 1}), {uidColumn(), 0});
    ModalAnswerer answers;
    trigger(plugin, Action(action));
    QVERIFY2(answers.boxes().isEmpty(), qPrintable(answers.seen().join(", ")));
    QCOMPARE(errors.size(), messages);
    QCOMPARE(uids(plugin), QList<int>({1, 2, 3, 4, 5}));
}

void TestComponentTables::removeScatteredSelection()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    const int lastColumn = model(plugin)->columnCount() - 1;
    select(plugin, {{uidColumn(), 1}, {lastColumn, 3}}, {lastColumn, 3});
    trigger(plugin, Remove);
    QCOMPARE(uids(plugin), QList<int>({1, 3, 5}));

    select(plugin, {}, {uidColumn(), 0});
    trigger(plugin, Remove); // nothing selected, nothing removed
    QCOMPARE(uids(plugin), QList<int>({1, 3, 5}));
}

// The uid column edits through the uid editor: it refuses another row's uid and says why, and
// takes a fresh one. Its other cases are the framework's (tst_componentdelegates).
void TestComponentTables::uidEditor()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    const QModelIndex cell = model(plugin)->index(1, uidColumn());
    QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(CellEditing::openByDoubleClick(view(plugin), cell));
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("2"));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("4"));
    QVERIFY(!editor->toolTip().isEmpty());
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(editor); // not committed
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, QStringLiteral("42"));
    QVERIFY(editor->toolTip().isEmpty());
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editor);
    QCOMPARE(cell.data(Qt::EditRole), QVariant(QSize(42, m_table.componentType)));
}

// Saved through the plugin, the store's records read back the same from a fresh store.
// Ctrl+F shows the find line: only rows whose shown texts hold the text stay, and every edit
// command and the uid editor work on the rows of the table behind them. Copy gives the rows as
// text too, as shown, under the column titles. Escape shows every row again.
void TestComponentTables::findLine()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    const int plain = plainColumn(plugin);
    QVERIFY(plain >= 0);
    // Small numbers, which every plain column takes (a board's number, a port, a name).
    const QList<int> values{11, 22, 11, 22, 11};
    for (int row = 0; row < SampleRows; ++row)
        QVERIFY(model(plugin)->setData(model(plugin)->index(row, plain), QString::number(values.at(row))));
    for (int column = 0; column < model(plugin)->columnCount(); ++column) {
        for (const int row : {1, 3}) // the sample's other cells must not hold the text looked for
            QVERIFY(!model(plugin)->index(row, column).data().toString().contains(QStringLiteral("11")));
    }

    QWidget* page = plugin->widget();
    page->show();
    QVERIFY(QTest::qWaitForWindowActive(page));
    view(plugin)->setFocus();
    auto* line = page->findChild<QLineEdit*>(QStringLiteral("find"));
    auto* count = page->findChild<QLabel*>(QStringLiteral("findCount"));
    QVERIFY(line && count);
    QVERIFY(!line->isVisible());
    QTest::keyClick(view(plugin), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(line->isVisible() && line->hasFocus());
    QTest::keyClicks(line, QStringLiteral("11"));
    QCOMPARE(uids(plugin), QList<int>({1, 3, 5}));
    QCOMPARE(count->text(), QStringLiteral("3 из 5"));

    // The uid editor refuses a uid that a hidden row holds.
    QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(
        CellEditing::openByDoubleClick(view(plugin), model(plugin)->index(0, uidColumn())));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("2"));
    QVERIFY(!editor->toolTip().isEmpty());
    QTest::keyClick(editor, Qt::Key_Escape);

    QVERIFY(model(plugin)->setData(model(plugin)->index(1, plain), QStringLiteral("33"))); // uid 3
    select(plugin, {{plain, 2}}, {plain, 2}); // uid 5
    trigger(plugin, Remove);
    QCOMPARE(uids(plugin), QList<int>({1, 3}));
    QCOMPARE(count->text(), QStringLiteral("2 из 4"));
    trigger(plugin, Add); // shown although it does not match
    QCOMPARE(model(plugin)->rowCount(), 3);
    QCOMPARE(count->text(), QStringLiteral("3 из 5"));

    select(plugin, cellsOf(plain, {0, 1}), {plain, 0});
    trigger(plugin, Copy);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4); // titles, two rows, and the end of the last line
    const QStringList titles = lines.at(0).split(QLatin1Char('\t'));
    QCOMPARE(titles.size(), model(plugin)->columnCount());
    for (int column = 0; column < titles.size(); ++column)
        QCOMPARE(titles.at(column), model(plugin)->headerData(column, Qt::Horizontal).toString());
    QCOMPARE(lines.at(1).split(QLatin1Char('\t')).at(uidColumn()), QStringLiteral("1"));
    QCOMPARE(lines.at(2).split(QLatin1Char('\t')).at(plain), QStringLiteral("33"));
    QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("orvane/copy_data")));

    QTest::keyClick(line, Qt::Key_Escape);
    QVERIFY(!line->isVisible());
    QCOMPARE(uids(plugin).mid(0, 4), QList<int>({1, 2, 3, 4}));
    QCOMPARE(model(plugin)->rowCount(), 5);
    QCOMPARE(column(plugin, plain).at(2).toString(), QStringLiteral("33"));

    // A block of text pasted under the find line goes down the rows it shows.
    QVERIFY(model(plugin)->setData(model(plugin)->index(2, plain), QStringLiteral("11"))); // uid 3
    QTest::keyClick(view(plugin), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(line, QStringLiteral("11"));
    QCOMPARE(uids(plugin), QList<int>({1, 3}));
    auto* text = new QMimeData();
    text->setText(QStringLiteral("44\n55\n"));
    QApplication::clipboard()->setMimeData(text);
    select(plugin, {}, {plain, 0});
    trigger(plugin, Paste);
    QTest::keyClick(line, Qt::Key_Escape);
    QStringList shown;
    for (const QVariant& value : column(plugin, plain).mid(0, 3))
        shown << value.toString();
    QCOMPARE(shown, QStringList({"44", "22", "55"}));

    // A save's reload under the open line: what it made the filter forget is gathered again
    // while idle, not by the next key.
    auto* tablePage = qobject_cast<StandardTablePage*>(page);
    QVERIFY(tablePage);
    QTest::keyClick(view(plugin), Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(tablePage->findReady());
    plugin->saveComplexConfig();
    plugin->setComplexConfig(m_store->get());
    QVERIFY(!tablePage->findReady());
    QTRY_VERIFY(tablePage->findReady());
}

void TestComponentTables::saveAndRead()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    const int plain = numberRows(plugin);
    QVERIFY(plain >= 0);
    select(plugin, cellsOf(uidColumn(), {3}), {uidColumn(), 3});
    trigger(plugin, Copy);
    trigger(plugin, Paste);
    trigger(plugin, Add);
    select(plugin, cellsOf(uidColumn(), {0, 2}), {uidColumn(), 0});
    trigger(plugin, Remove);
    const QList<int> rows = uids(plugin);

    plugin->saveComplexConfig();
    QVERIFY2(m_store->get()->write(CoConfig::ObjectAll), qPrintable(m_store->get()->errorString()));
    const QMap<int, QByteArray> records = stored();
    QCOMPARE(QList<int>(records.keyBegin(), records.keyEnd()), rows);
    const std::unique_ptr<CoConfig::ComplexConfig> fresh = m_store->reopen();
    QCOMPARE(fresh->readStatus(), 0);
    QCOMPARE(m_table.records(*fresh), records);

    // Handed the store again, as after the shell's save: the rows in uid order.
    plugin->setComplexConfig(m_store->get());
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(uids(plugin), sorted);
}

QTEST_MAIN(TestComponentTables)
// A value typed into a cell and not yet confirmed with Return is part of the save.
void TestComponentTables::openEditorAtSave()
{
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    QModelIndex cell;
    QWidget* editor = nullptr;
    for (int column = 0; column < model(plugin)->columnCount() && !editor; ++column) {
        cell = model(plugin)->index(0, column);
        if (column == uidColumn() || !(cell.flags() & Qt::ItemIsEditable))
            continue;
        editor = CellEditing::openByDoubleClick(view(plugin), cell);
        if (!qobject_cast<QLineEdit*>(editor) && !qobject_cast<QSpinBox*>(editor))
            editor = nullptr;
    }
    QVERIFY2(editor, "every component table has a text or number column");
    QVariant typed;
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText((typed = QStringLiteral("Набрано без Return")).toString());
    else if (auto* spin = qobject_cast<QSpinBox*>(editor))
        spin->setValue((typed = cell.data(Qt::EditRole).toInt() + 7).toInt());
    const int uid = uids(plugin).first();
    const QByteArray before = stored().value(uid);
    plugin->saveComplexConfig();
    QCOMPARE(cell.data(Qt::EditRole).toString(), typed.toString());
    QVERIFY(stored().value(uid) != before);
    QVERIFY2(ForeignParts::heldBy(stored().value(uid)), "an edit keeps what this version does not know");
}

namespace {

// The fields whose cells name other records.
const QSet<int> referenceFields = {FieldRack, FieldUps, FieldPdu, FieldComputer, FieldObject, FieldControlledRack,
                                   FieldCassetteType, FieldReceiver, FieldChannelServer, FieldRpu, FieldDiagrams,
                                   FieldAntennaServer, FieldAntennaPool, FieldAntenna};

// Lines of cells as a spreadsheet copies them, or as a CSV file with every field quoted.
QString cellText(const QList<QStringList>& lines, bool csv)
{
    QString text;
    for (const QStringList& line : lines) {
        QStringList cells = line;
        for (QString& cell : cells)
            cell = csv ? QLatin1Char('"') + cell.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"') : cell;
        text += cells.join(csv ? QLatin1Char(';') : QLatin1Char('\t')) + (csv ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    }
    return text;
}

} // namespace

void TestComponentTables::pasteText_data()
{
    QTest::addColumn<QString>("layout");  // "titles", "some titles" (in another order) or "block"
    QTest::addColumn<bool>("csv");
    QTest::addColumn<QString>("cells");   // "copied" (rows as copied), "new record" (as a new row shows), or a refusal's
    QTest::addColumn<int>("atRow");       // the current row of a block
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("refusal"); // what each problem says; empty: pasted

    QTest::newRow("every title, as copied") << "titles" << false << "copied" << 0 << 2 << "";
    QTest::newRow("CSV with quotes and semicolons") << "titles" << true << "copied" << 0 << 2 << "";
    QTest::newRow("some titles, in another order") << "some titles" << false << "copied" << 0 << 1 << "";
    QTest::newRow("a block from the current cell") << "block" << false << "new record" << 1 << 1 << "";
    QTest::newRow("a block past the last row adds rows") << "block" << true << "new record" << SampleRows - 1 << 3 << "";
    QTest::newRow("refused: text that no column but a text one takes") << "titles" << false << "unreadable" << 0 << 1 << ":";
    QTest::newRow("refused: names that two records share") << "titles" << false << "two records" << 0 << 1
                                                           << "называет несколько записей";
    QTest::newRow("refused: more cells than columns, 20 listed") << "titles" << false << "too many" << 0 << 25
                                                                << "ячеек больше, чем столбцов";
}

// Text from a spreadsheet or a CSV file, each cell read as its column shows it: all or nothing,
// the problems by line and column, one step of the history.
void TestComponentTables::pasteText()
{
    QFETCH(QString, layout);
    QFETCH(bool, csv);
    QFETCH(QString, cells);
    QFETCH(int, atRow);
    QFETCH(int, lines);
    QFETCH(QString, refusal);

    addReferencedRecords(*m_store->get(), m_table.componentType);
    if (cells == QLatin1String("two records"))
        addReferencedRecords(*m_store->get(), m_table.componentType, 100);
    OrvanePlugin* plugin = createPlugin();
    QVERIFY(plugin);
    QUndoStack* history = qobject_cast<OrvaneEditHistory*>(plugin)->undoStack();
    const int columns = model(plugin)->columnCount();
    const QStringList titles = copiedText(plugin, {0}).first();
    const QList<QStringList> before = copiedText(plugin, {0, 1, 2, 3, 4}).mid(1);
    QStringList copied = before.at(2);
    trigger(plugin, Add);
    const QStringList fresh = copiedText(plugin, {SampleRows}).at(1);
    history->undo();
    const int steps = history->index();

    // What is pasted, and the rows that should show after it. A block starts right of the uid.
    QList<int> pastedColumns;
    for (int c = layout == QLatin1String("block") ? uidColumn() + 1 : 0; c < columns; ++c) {
        if (layout == QLatin1String("titles") || c != uidColumn())
            pastedColumns.append(c);
    }
    if (layout == QLatin1String("some titles")) {
        std::reverse(pastedColumns.begin(), pastedColumns.end());
        if (pastedColumns.size() > 2)
            pastedColumns.removeLast();
    }
    QStringList expectedProblems;
    for (const int c : std::as_const(pastedColumns)) {
        const bool freeText = !view(plugin)->itemDelegateForColumn(c)
                              && model(plugin)->index(0, c).data(Qt::EditRole).typeId() == QMetaType::QString;
        if (c == uidColumn())
            continue;
        if (cells == QLatin1String("unreadable") && !freeText) {
            copied[c] = QStringLiteral("Нет такого");
            expectedProblems << QStringLiteral("строка 2, столбец «%1»: ").arg(titles.at(c));
        }
        if (cells == QLatin1String("two records") && referenceFields.contains(m_table.fields.at(c)))
            expectedProblems << QStringLiteral("строка 2, столбец «%1»: ").arg(titles.at(c));
    }
    if (cells == QLatin1String("too many")) {
        copied << QStringLiteral("лишняя");
        for (int line = 2; line < 2 + 20; ++line)
            expectedProblems << QStringLiteral("строка %1: ").arg(line);
    }
    if (!refusal.isEmpty() && expectedProblems.isEmpty())
        QSKIP("every column of this table takes such text");
    const QStringList source = cells == QLatin1String("new record") ? fresh : copied;
    QList<QStringList> text;
    if (layout != QLatin1String("block")) {
        QStringList line;
        for (const int c : std::as_const(pastedColumns))
            line << titles.at(c);
        text << line;
    }
    QList<QStringList> expected = before;
    for (int k = 0; k < lines; ++k) {
        QStringList line;
        QStringList shown = layout == QLatin1String("block") ? before.value(atRow + k, fresh) : fresh;
        for (const int c : std::as_const(pastedColumns)) {
            line << source.at(c);
            shown[c] = source.at(c);
        }
        if (cells == QLatin1String("too many"))
            line << source.last();
        text << line;
        if (layout == QLatin1String("block") && atRow + k < SampleRows)
            expected[atRow + k] = shown;
        else
            expected << shown;
    }

    auto* mimeData = new QMimeData();
    mimeData->setText(cellText(text, csv));
    QApplication::clipboard()->setMimeData(mimeData);
    select(plugin, {}, {uidColumn() + 1, atRow});
    ModalAnswerer answers;
    if (!refusal.isEmpty())
        answers.clickNext(QMessageBox::Ok);
    trigger(plugin, Paste);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().size(), refusal.isEmpty() ? 0 : 1);

    const auto withoutUids = [this](QList<QStringList> rows) {
        for (QStringList& row : rows)
            row.removeAt(uidColumn());
        return rows;
    };
    QList<int> rows;
    for (int row = 0; row < model(plugin)->rowCount(); ++row)
        rows << row;
    if (!refusal.isEmpty()) {
        QVERIFY(!expectedProblems.isEmpty());
        QStringList problems = answers.boxes().first().text.split(QLatin1Char('\n'));
        QCOMPARE(problems.takeFirst(), QStringLiteral("Ничего не вставлено:"));
        if (lines > 20)
            QCOMPARE(problems.takeLast(), QStringLiteral("и ещё %1").arg(lines - 20));
        QCOMPARE(problems.size(), expectedProblems.size());
        for (int k = 0; k < problems.size(); ++k) {
            QVERIFY2(problems.at(k).startsWith(expectedProblems.at(k)) && problems.at(k).contains(refusal),
                     qPrintable(problems.at(k)));
        }
        QCOMPARE(withoutUids(copiedText(plugin, rows).mid(1)), withoutUids(before));
        QCOMPARE(history->index(), steps);
        return;
    }

    QCOMPARE(withoutUids(copiedText(plugin, rows).mid(1)), withoutUids(expected));
    const QList<int> added = uids(plugin).mid(SampleRows);
    QCOMPARE(QSet<int>(added.cbegin(), added.cend()).size(), expected.size() - SampleRows);
    for (const int uid : added)
        QVERIFY2(uid > SampleRows, qPrintable(QString::number(uid)));
    // Copied rows pasted back under all their titles are the same records.
    if (cells == QLatin1String("copied") && layout == QLatin1String("titles") && m_table.textShowsEveryMember) {
        plugin->saveComplexConfig();
        for (const int uid : added)
            QCOMPARE(stored().value(uid), m_table.knownParts(stored().value(3)));
    }

    QCOMPARE(history->index(), steps + 1);
    history->undo();
    QCOMPARE(withoutUids(copiedText(plugin, rows.mid(0, SampleRows)).mid(1)), withoutUids(before));
    QCOMPARE(model(plugin)->rowCount(), SampleRows);
}

#include "tst_componenttables.moc"
