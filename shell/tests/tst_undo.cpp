// Undo and redo through the whole editor, driven by keys: every component tab, removals, fills,
// the history past a save, and the marks of unsaved work on the tabs, the title and the close
// question.

#include "cellediting.h"
#include "complexconfig.h"
#include "editorwindow.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "testfiles.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace EditorWindow;

namespace {

// The tabs whose rows are edited in cells.
const QStringList TableTabs = {"Стойки", "ЭВМы", "ИБП", "Распределители питания", "Датчики открытия",
                                   "Розетки питания", "Приёмники", "Серверы каналов", "Каналы", "Наборы антенн",
                                   "Серверы антенн", "РПУ антенн", "Антенна"};

// Every cell's edit value, row by row: what undo must bring back.
QList<QVariantList> rows(const QAbstractItemModel* model)
{
    QList<QVariantList> result;
    for (int row = 0; row < model->rowCount(); ++row) {
        QVariantList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data(Qt::EditRole) << model->index(row, column).data();
        result << cells;
    }
    return result;
}

void press(QWidget* target, QKeySequence::StandardKey key)
{
    const QKeyCombination combination = QKeySequence(key)[0];
    QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void editUndoneAndRedone_data();
    void editUndoneAndRedone();
    void scatteredRemovalUndone();
    void fillsAreOneStep();
    void directionFinderSteps();
    void operatorSteps();
    void historyPastSave();
    void closeQuestionNamesTabs();

private:
    QAbstractItemView* open(const QString& tab);
    // Types into the first text or number cell of row 0 and presses Return; the column, or -1.
    int editFirstRow(QAbstractItemView* view);
    QAction* pluginAction(const QString& text) const;

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_dir;
    std::unique_ptr<Orvane> m_window;
};

void TestUndo::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_dir = m_temp->filePath(QStringLiteral("complex"));
    QVERIFY(TestFiles::copyFolder(QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex"), m_dir));
    qputenv("ORVANE_CONFIG_DIR", QFile::encodeName(m_dir));
    m_window = std::make_unique<Orvane>(QStringList(), nullptr, QStringLiteral(ORVANE_BIN_DIR));
    m_window->resize(1200, 800);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestUndo::cleanup()
{
    m_window.reset();
    m_temp.reset();
}

QAbstractItemView* TestUndo::open(const QString& tab)
{
    if (openTab(*m_window, tab) < 0)
        return nullptr;
    QAbstractItemView* view = currentView(*m_window);
    if (view)
        view->setFocus();
    return view;
}

int TestUndo::editFirstRow(QAbstractItemView* view)
{
    QAbstractItemModel* model = view->model();
    for (int column = 1; column < model->columnCount(); ++column) {
        const QModelIndex cell = model->index(0, column);
        QWidget* editor = CellEditing::openByDoubleClick(view, cell);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->selectAll();
            QTest::keyClicks(line, QStringLiteral("177")); // a name, a number or a pattern alike
            QTest::keyClick(line, Qt::Key_Return);
        } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
            spin->setValue(spin->value() + 7);
            QTest::keyClick(spin, Qt::Key_Return);
        } else {
            if (editor)
                QTest::keyClick(editor, Qt::Key_Escape);
            continue;
        }
        view->setFocus();
        return column;
    }
    return -1;
}

QAction* TestUndo::pluginAction(const QString& text) const
{
    for (QAction* action : m_window->pluginToolBar()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

void TestUndo::editUndoneAndRedone_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QKeySequence>("redo");
    for (const QString& tab : TableTabs)
        QTest::newRow(qPrintable(tab)) << tab << (TableTabs.indexOf(tab) % 2 ? QKeySequence(Qt::CTRL | Qt::Key_Y)
                                                                              : QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

// A cell edit in each table tab: Ctrl+Z takes it back and clears the marks, redo brings it
// again, from the table's focus.
void TestUndo::editUndoneAndRedone()
{
    QFETCH(QString, tab);
    QFETCH(QKeySequence, redo);
    QAbstractItemView* view = open(tab);
    if (!view)
        QSKIP("the build has no such tab");
    const QList<QVariantList> before = rows(view->model());
    QVERIFY(!m_window->undoAction()->isEnabled());
    QVERIFY(editFirstRow(view) >= 0);
    const QList<QVariantList> edited = rows(view->model());
    QVERIFY(edited != before);
    QCOMPARE(m_window->tabWidget()->tabText(m_window->tabWidget()->currentIndex()), tab + QLatin1String(" *"));
    QVERIFY(m_window->isWindowModified());
    QVERIFY2(m_window->undoAction()->toolTip().startsWith(QStringLiteral("Отменить: Изменение ячейки")),
             qPrintable(m_window->undoAction()->toolTip()));

    press(view, QKeySequence::Undo);
    QCOMPARE(rows(view->model()), before);
    QCOMPARE(m_window->tabWidget()->tabText(m_window->tabWidget()->currentIndex()), tab);
    QVERIFY(!m_window->isWindowModified());
    QVERIFY(!m_window->undoAction()->isEnabled());

    QTest::keyClick(view, redo[0].key(), redo[0].keyboardModifiers());
    QCOMPARE(rows(view->model()), edited);
}

// Scattered rows removed with Delete come back with their uids, members and places.
void TestUndo::scatteredRemovalUndone()
{
    QAbstractItemView* view = open(QStringLiteral("Каналы"));
    QVERIFY(view);
    const QList<QVariantList> before = rows(view->model());
    QVERIFY(before.size() > 20);
    view->selectionModel()->clearSelection();
    for (int row : {1, 5, 6, 20})
        view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(view->model()->rowCount(), before.size() - 4);
    QCOMPARE(m_window->undoAction()->toolTip(), QStringLiteral("Отменить: Удаление строк (4)"));
    press(view, QKeySequence::Undo);
    QCOMPARE(rows(view->model()), before);
    press(view, QKeySequence::Redo);
    QCOMPARE(view->model()->rowCount(), before.size() - 4);
}

// A fill and a fill with counter over many cells are one step each.
void TestUndo::fillsAreOneStep()
{
    QAbstractItemView* view = open(QStringLiteral("Каналы"));
    QVERIFY(view);
    const int name = columnTitled(view->model(), QStringLiteral("Название"));
    const QList<QVariantList> before = rows(view->model());
    const int count = int(before.size());
    const auto selectColumn = [&] {
        view->selectionModel()->clearSelection();
        view->selectionModel()->select(QItemSelection(view->model()->index(0, name), view->model()->index(count - 1, name)),
                                       QItemSelectionModel::Select);
        view->selectionModel()->setCurrentIndex(view->model()->index(0, name), QItemSelectionModel::NoUpdate);
    };
    selectColumn();
    pluginAction(QStringLiteral("Заполнить"))->trigger();
    QCOMPARE(m_window->undoAction()->toolTip(), QStringLiteral("Отменить: Заполнить (%1 ячеек)").arg(count - 1));
    const QList<QVariantList> filled = rows(view->model());
    QVERIFY(filled != before);

    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    selectColumn();
    pluginAction(QStringLiteral("Заполнить счётчиком"))->trigger();
    QCOMPARE(answers.pending(), 0);
    QVERIFY2(m_window->undoAction()->toolTip().startsWith(QStringLiteral("Отменить: Заполнить счётчиком (")),
             qPrintable(m_window->undoAction()->toolTip()));
    m_window->activateWindow(); // back from the dialog
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    press(view, QKeySequence::Undo);
    QCOMPARE(rows(view->model()), filled);
    press(view, QKeySequence::Undo);
    QCOMPARE(rows(view->model()), before);
}

// A tick and an addition in the direction-finder tree, each undone and redone.
void TestUndo::directionFinderSteps()
{
    QAbstractItemView* view = open(QStringLiteral("Пеленгаторы/Quorvenы"));
    QVERIFY(view);
    QAbstractItemModel* model = view->model();
    const int count = model->rowCount();
    QVERIFY(count > 0);
    view->setCurrentIndex(model->index(0, 0));
    const QVariant ticked = model->index(0, 0).data(Qt::CheckStateRole);
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(model->index(0, 0).data(Qt::CheckStateRole) != ticked);
    press(view, QKeySequence::Undo);
    QCOMPARE(model->index(0, 0).data(Qt::CheckStateRole), ticked);

    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    QTest::keyClick(view, Qt::Key_Insert);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(model->rowCount(), count + 1);
    QCOMPARE(m_window->undoAction()->toolTip(), QStringLiteral("Отменить: Добавление пеленгатора"));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    press(view, QKeySequence::Undo);
    QCOMPARE(model->rowCount(), count);
    press(view, QKeySequence::Redo);
    QCOMPARE(model->rowCount(), count + 1);
}

// An operator renamed in its dialog, then removed: each step undone, the tree as it was.
void TestUndo::operatorSteps()
{
    QAbstractItemView* view = open(QStringLiteral("Оператор"));
    QVERIFY(view);
    // The tree is built anew by each step: its model asked for every time.
    const auto tree = [view] {
        QStringList lines;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            lines << view->model()->index(row, 0).data().toString();
        return lines;
    };
    const QAbstractItemModel* model = view->model();
    const QStringList before = tree();
    QVERIFY(!before.isEmpty());

    ModalAnswerer answers;
    answers.handleNext([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("fullNameEdit"))->setText(QStringLiteral("Переименованный Оператор"));
        ModalAnswerer::click(dialog, QMessageBox::Ok);
    });
    const QPoint center = view->visualRect(model->index(0, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, center);
    QCOMPARE(answers.pending(), 0);
    QVERIFY(tree().contains(QStringLiteral("Переименованный Оператор")));
    QCOMPARE(m_window->undoAction()->toolTip(), QStringLiteral("Отменить: Изменение оператора"));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    view = currentView(*m_window);
    press(view, QKeySequence::Undo);
    QCOMPARE(tree(), before);
    press(view, QKeySequence::Redo);
    QVERIFY(tree().contains(QStringLiteral("Переименованный Оператор")));

    // A removal saved: its history goes on past the save, and Ctrl+Z brings the operator back.
    view->selectionModel()->setCurrentIndex(view->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QPushButton* remove = nullptr;
    for (QPushButton* button : m_window->tabWidget()->currentWidget()->findChildren<QPushButton*>())
        remove = button->text() == QStringLiteral("Удалить") ? button : remove;
    QVERIFY(remove);
    answers.clickNext(QMessageBox::Ok);
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(answers.pending(), 0);
    const QStringList removed = tree();
    QVERIFY(removed.size() < before.size());
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    press(currentView(*m_window), QKeySequence::Save);
    QVERIFY(m_window->undoAction()->isEnabled());
    view = currentView(*m_window);
    press(view, QKeySequence::Undo);
    QCOMPARE(tree().size(), before.size());
}

// After a save Ctrl+Z still takes back the last edit, which is then unsaved again.
void TestUndo::historyPastSave()
{
    QAbstractItemView* view = open(QStringLiteral("Стойки"));
    QVERIFY(view);
    const QList<QVariantList> before = rows(view->model());
    const int column = editFirstRow(view);
    QVERIFY(column >= 0);
    press(view, QKeySequence::Save);
    QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("Конфигурация сохранена"));
    QCOMPARE(m_window->tabWidget()->tabText(m_window->tabWidget()->currentIndex()), QStringLiteral("Стойки"));
    QVERIFY(!m_window->isWindowModified());

    view = currentView(*m_window);
    press(view, QKeySequence::Undo);
    QCOMPARE(rows(view->model()), before);
    QCOMPARE(m_window->tabWidget()->tabText(m_window->tabWidget()->currentIndex()), QStringLiteral("Стойки *"));
    QVERIFY(m_window->isWindowModified());
    press(view, QKeySequence::Save);
    const CoConfig::ComplexConfig fresh(m_dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    QCOMPARE(fresh.racks().first().name, view->model()->index(0, column).data().toString());
    QCOMPARE(rows(view->model()), before);
}

// The close question names the tabs with unsaved changes.
void TestUndo::closeQuestionNamesTabs()
{
    for (const QString& tab : {QStringLiteral("Стойки"), QStringLiteral("Приёмники")}) {
        QAbstractItemView* view = open(tab);
        QVERIFY(view);
        QVERIFY(editFirstRow(view) >= 0);
    }
    ModalAnswerer answers;
    answers.clickNext(QStringLiteral("Отмена"));
    QVERIFY(!m_window->close());
    QCOMPARE(answers.boxes().size(), 1);
    QCOMPARE(answers.boxes().first().text, QStringLiteral("Сохранить изменения?"));
    QCOMPARE(answers.boxes().first().informativeText,
             QStringLiteral("Несохранённые изменения во вкладках: Стойки, Приёмники"));
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
