// The whole editor as the engineer meets it: the shell's window with every plugin of the build,
// over a temporary copy of the sample complex and the real store on disk, driven by keys and
// clicks; each edit is read back by a fresh store.

#include "cellediting.h"
#include "complexconfig.h"
#include "editorwindow.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "testfiles.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using CoConfig::ComplexConfig;
using namespace EditorWindow;

namespace {

const QString Saved = QStringLiteral("Конфигурация сохранена");
const QString NotSaved = QStringLiteral("Конфигурация не сохранена");
const QString OutsideChange = QStringLiteral("Конфигурация на диске изменена другой программой после загрузки. "
                                             "Сохранить и заменить эти изменения?");

QPushButton* pageButton(const Orvane& window, const QString& text)
{
    for (QPushButton* button : window.tabWidget()->currentWidget()->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// "Сохранить" pressed on the shell's own tool bar.
void pressSave(Orvane& window)
{
    QWidget* button = window.saveToolBar()->widgetForAction(window.saveAction());
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types into the line edit of a dialog and presses its OK.
ModalAnswerer::Handler fillAndOk(const QString& editName, const QString& text)
{
    return [editName, text](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(editName);
        if (!edit)
            return ModalAnswerer::dismiss(modal);
        edit->setText(text);
        ModalAnswerer::click(modal, QMessageBox::Ok);
    };
}

// One walk through a tab: the edit, made with keys, clicks and the dialogs' answers, and then
// what a fresh store must read after the shell's save.
struct Walk
{
    std::function<void(Orvane&, ModalAnswerer&)> edit;
    std::function<void(const ComplexConfig& before, const ComplexConfig& after)> check;
};

} // namespace

Q_DECLARE_METATYPE(Walk)
// The uid of the record to remove, from the configuration as read; empty: a new row.
using UidOf = std::function<int(const CoConfig::ComplexConfig&)>;
Q_DECLARE_METATYPE(UidOf)

class TestRoadOfEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newRackReachesDiskAndComputerTab();
    void walk_data();
    void walk();
    void registrationWhileOpenIsReplacedOnlyWhenConfirmed();
    void openEditorAtCtrlS_data();
    void openEditorAtCtrlS();
    void failedWriteKeepsEditsAndNames();
    void removalOfReferencedRecords_data();
    void removalOfReferencedRecords();
    void problemLeadsToItsRecord();

private:
    // The program's window: its own store over the copy, every plugin of the build.
    void openEditor();
    std::unique_ptr<ComplexConfig> freshStore() const;
    bool newRack(const QString& name);

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_dir;
    std::unique_ptr<Orvane> m_window;
};

void TestRoadOfEdit::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_dir = m_temp->filePath(QStringLiteral("complex"));
    QVERIFY(TestFiles::copyFolder(QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex"), m_dir));
    qputenv("ORVANE_CONFIG_DIR", QFile::encodeName(m_dir));
}

void TestRoadOfEdit::cleanup()
{
    qunsetenv("ORVANE_LOCK_TIMEOUT_MS");
    m_window.reset();
    m_temp.reset();
}

void TestRoadOfEdit::openEditor()
{
    m_window = std::make_unique<Orvane>(QStringList(), nullptr, QStringLiteral(ORVANE_BIN_DIR));
    m_window->resize(1200, 800);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

std::unique_ptr<ComplexConfig> TestRoadOfEdit::freshStore() const
{
    auto store = std::make_unique<ComplexConfig>(m_dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    if (store->readStatus() != 0)
        qWarning("the store reads with errors: %s", qPrintable(store->errorString()));
    return store;
}

// In "Стойки": Insert, a double click on the new row's "Название", the name typed.
bool TestRoadOfEdit::newRack(const QString& name)
{
    if (openTab(*m_window, QStringLiteral("Стойки")) < 0)
        return false;
    QAbstractItemView* view = currentView(*m_window);
    if (!view)
        return false;
    QAbstractItemModel* model = view->model();
    const int rows = model->rowCount();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Insert);
    if (model->rowCount() != rows + 1)
        return false;
    const QModelIndex cell = model->index(rows, columnTitled(model, QStringLiteral("Название")));
    QWidget* editor = CellEditing::openByDoubleClick(view, cell);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return false;
    for (const QChar letter : name) // keyClicks takes Latin-1 only
        QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    QTest::keyClick(line, Qt::Key_Return);
    // The delegate commits a confirmed edit from the event loop.
    return QTest::qWaitFor([&] { return cell.data().toString() == name; }, 5000);
}

void TestRoadOfEdit::newRackReachesDiskAndComputerTab()
{
    openEditor();
    const int racksBefore = freshStore()->racks().size();
    const QString name = QStringLiteral("Стойка связи");
    QVERIFY(newRack(name));

    pressSave(*m_window);
    QCOMPARE(m_window->statusBar()->currentMessage(), Saved);
    const auto store = freshStore();
    QCOMPARE(store->readStatus(), 0);
    QCOMPARE(store->racks().size(), racksBefore + 1);
    int named = 0;
    for (const CoConfig::Rack& rack : store->racks())
        named += rack.name == name;
    QCOMPARE(named, 1);

    // The computer editor's rack column offers the new rack, where the build has that editor.
    if (openTab(*m_window, QStringLiteral("ЭВМы")) < 0)
        return;
    QAbstractItemView* computers = currentView(*m_window);
    QVERIFY(computers);
    const int rackColumn = columnTitled(computers->model(), QStringLiteral("Стойка"));
    QVERIFY(rackColumn >= 0);
    QWidget* editor = CellEditing::openByDoubleClick(computers, computers->model()->index(0, rackColumn));
    QVERIFY(editor);
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo)
        combo = editor->findChild<QComboBox*>();
    QVERIFY(combo);
    QStringList offered;
    for (int item = 0; item < combo->count(); ++item)
        offered << combo->itemText(item);
    QVERIFY2(!offered.filter(name).isEmpty(), qPrintable(offered.join(QLatin1String(", "))));
}

void TestRoadOfEdit::walk_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<Walk>("walk");

    // A double click on an operator opens the person's dialog; the new patronymic is stored.
    QTest::newRow("operator renamed") << QStringLiteral("Оператор") << Walk{
        [](Orvane& window, ModalAnswerer& answers) {
            QAbstractItemView* view = currentView(window);
            QVERIFY(view);
            const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                                               QStringLiteral("Иванов Иван Петрович"), 1,
                                                               Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            answers.handleNext(fillAndOk(QStringLiteral("fullNameEdit"), QStringLiteral("Иванов Иван Павлович")));
            const QPoint center = view->visualRect(found.first()).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, center);
        },
        [](const ComplexConfig& before, const ComplexConfig& after) {
            QCOMPARE(after.operatorCount(), before.operatorCount());
            const Common::Operator renamed = after.operatorsMap().value(1);
            QCOMPARE(renamed.surname, QStringLiteral("Иванов"));
            QCOMPARE(renamed.thirdname, QStringLiteral("Павлович"));
        }};

    // "Добавить" on the page appends an antenna with a fresh uid.
    QTest::newRow("antenna added") << QStringLiteral("Антенна") << Walk{
        [](Orvane& window, ModalAnswerer&) {
            QPushButton* add = pageButton(window, QStringLiteral("Добавить"));
            QVERIFY(add);
            QTest::mouseClick(add, Qt::LeftButton);
        },
        [](const ComplexConfig& before, const ComplexConfig& after) {
            QCOMPARE(after.antennaCount(), before.antennaCount() + 1);
            for (int uid : before.antennasMap().keys())
                QVERIFY(after.antennasMap().contains(uid));
        }};

    // Insert in the list opens the direction finder's dialog.
    QTest::newRow("direction finder added") << QStringLiteral("Пеленгаторы/Quorvenы") << Walk{
        [](Orvane& window, ModalAnswerer& answers) {
            QAbstractItemView* view = currentView(window);
            QVERIFY(view);
            answers.handleNext(fillAndOk(QStringLiteral("name"), QStringLiteral("Пеленгатор на мачте")));
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Insert);
        },
        [](const ComplexConfig& before, const ComplexConfig& after) {
            QCOMPARE(after.pelengatorCount(), before.pelengatorCount() + 1);
            int named = 0;
            for (const CoConfig::Pelengator& pelengator : after.pelengatorsMap())
                named += pelengator.name == QStringLiteral("Пеленгатор на мачте");
            QCOMPARE(named, 1);
        }};
}

void TestRoadOfEdit::walk()
{
    QFETCH(QString, tab);
    QFETCH(Walk, walk);

    const auto before = freshStore();
    openEditor();
    QVERIFY2(openTab(*m_window, tab) >= 0, qPrintable(tab));
    ModalAnswerer answers;
    walk.edit(*m_window, answers);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(answers.pending(), 0);
    pressSave(*m_window);
    QCOMPARE(m_window->statusBar()->currentMessage(), Saved);
    QCOMPARE(answers.seen().filter(QStringLiteral("unexpected")), QStringList());

    const auto after = freshStore();
    QCOMPARE(after->readStatus(), 0);
    walk.check(*before, *after);
}

// The registration tool writes while the editor is open; the editor's save asks before its
// whole-collection write replaces that, and a declined save leaves the disk as the tool left it.
void TestRoadOfEdit::registrationWhileOpenIsReplacedOnlyWhenConfirmed()
{
    openEditor();
    const QString settings = m_temp->filePath(QStringLiteral("arm102.ini"));
    QVERIFY(TestFiles::writeFile(settings, "[Arm]\nUid=102\n"));
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANE_SETTINGS"), settings);
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(ORVANE_BIN_DIR "/Sulvane"), QStringList());
    QVERIFY(tool.waitForFinished(60000));
    const QString output = QString::fromUtf8(tool.readAllStandardOutput());
    QVERIFY2(output.startsWith(QStringLiteral("Operator is registered\n")), qPrintable(output));
    const CoConfig::Registrations registered = freshStore()->computers().value(CoConfig::ComponentUid<1>(102)).registrations;
    QCOMPARE(registered.size(), 2);

    QVERIFY(newRack(QStringLiteral("Стойка после регистрации")));
    ModalAnswerer answers;
    answers.clickNext(QStringLiteral("Отмена"));
    pressSave(*m_window);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.boxes().size(), 1);
    QCOMPARE(answers.boxes().first().text, OutsideChange);
    QCOMPARE(m_window->statusBar()->currentMessage(), NotSaved);
    auto store = freshStore();
    QCOMPARE(store->computers().value(CoConfig::ComponentUid<1>(102)).registrations, registered);
    for (const CoConfig::Rack& rack : store->racks())
        QVERIFY(rack.name != QStringLiteral("Стойка после регистрации"));

    answers.clickNext(QStringLiteral("Сохранить"));
    pressSave(*m_window);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.boxes().size(), 2);
    QCOMPARE(answers.boxes().last().text, OutsideChange);
    QCOMPARE(m_window->statusBar()->currentMessage(), Saved);
    store = freshStore();
    QCOMPARE(store->readStatus(), 0);
    int named = 0;
    for (const CoConfig::Rack& rack : store->racks())
        named += rack.name == QStringLiteral("Стойка после регистрации");
    QCOMPARE(named, 1);

    // Once saved, the next save has nothing from outside to ask about.
    pressSave(*m_window);
    QCOMPARE(answers.boxes().size(), 2);
    QCOMPARE(m_window->statusBar()->currentMessage(), Saved);
}

void TestRoadOfEdit::openEditorAtCtrlS_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("column");
    QTest::newRow("rack") << QStringLiteral("Стойки") << QStringLiteral("Название");
    QTest::newRow("receiver") << QStringLiteral("Приёмники") << QStringLiteral("Название");
    QTest::newRow("antenna control") << QStringLiteral("РПУ антенн") << QStringLiteral("Группа");
}

// Text typed into a cell without Return, then Ctrl+S: the text is on the disk and in the cell.
void TestRoadOfEdit::openEditorAtCtrlS()
{
    QFETCH(QString, tab);
    QFETCH(QString, column);
    openEditor();
    if (openTab(*m_window, tab) < 0)
        QSKIP("the build has no such tab");
    QAbstractItemView* view = currentView(*m_window);
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, columnTitled(view->model(), column));
    auto* line = qobject_cast<QLineEdit*>(CellEditing::openByDoubleClick(view, cell));
    QVERIFY(line);
    const QString typed = QStringLiteral("Набрано без Return");
    line->selectAll();
    for (const QChar letter : typed)
        QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    QTest::keyClick(line, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_window->statusBar()->currentMessage(), Saved);
    QCOMPARE(view->model()->index(0, cell.column()).data().toString(), typed);
    QStringList holding;
    for (const QString& file : TestFiles::filesUnder(m_dir)) {
        if (TestFiles::readFile(file).contains(typed.toUtf8()))
            holding << file;
    }
    QCOMPARE(holding.size(), 1);
}

// A write that fails (another program holds the directory's lock) keeps every edit: the window
// stays open after "Да", the other tabs show the renamed rack, and the next save writes it.
void TestRoadOfEdit::failedWriteKeepsEditsAndNames()
{
    qputenv("ORVANE_LOCK_TIMEOUT_MS", "200");
    openEditor();
    QVERIFY(openTab(*m_window, QStringLiteral("ЭВМы")) >= 0);
    QAbstractItemModel* computers = currentView(*m_window)->model();
    const int rackColumn = columnTitled(computers, QStringLiteral("Стойка"));
    const QModelIndex placed = computers->index(0, rackColumn);
    const int rackUid = placed.data(Qt::EditRole).toSize().width();
    const QString oldName = placed.data().toString();
    QVERIFY(!oldName.isEmpty());

    QVERIFY(openTab(*m_window, QStringLiteral("Стойки")) >= 0);
    QAbstractItemModel* racks = currentView(*m_window)->model();
    const QModelIndexList rack = racks->match(racks->index(0, 0), Qt::DisplayRole, QString::number(rackUid), 1,
                                              Qt::MatchExactly);
    QCOMPARE(rack.size(), 1);
    const QString newName = QStringLiteral("Стойка переименована");
    QVERIFY(racks->setData(rack.first().siblingAtColumn(columnTitled(racks, QStringLiteral("Название"))), newName));

    const QByteArray lockPath = QFile::encodeName(m_dir + QStringLiteral("/.orvane.lock"));
    const int holder = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0644);
    QVERIFY(holder >= 0);
    QCOMPARE(::flock(holder, LOCK_EX), 0);
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    pressSave(*m_window);
    QCOMPARE(m_window->statusBar()->currentMessage(), NotSaved);
    QCOMPARE(answers.boxes().size(), 1);
    QCOMPARE(answers.boxes().first().text, QStringLiteral("Ошибка при сохранении конфигурации"));
    QVERIFY(!answers.boxes().first().informativeText.isEmpty());

    QVERIFY(openTab(*m_window, QStringLiteral("ЭВМы")) >= 0);
    QCOMPARE(computers->index(0, rackColumn).data().toString(), newName);

    answers.clickNext(QStringLiteral("Да"));
    answers.clickNext(QMessageBox::Ok);
    QVERIFY(!m_window->close());
    QCOMPARE(answers.pending(), 0);
    QVERIFY(m_window->isVisible());

    ::close(holder);
    pressSave(*m_window);
    QCOMPARE(m_window->statusBar()->currentMessage(), Saved);
    QCOMPARE(freshStore()->racks().value(CoConfig::ComponentUid<0>(rackUid)).name, newName);
}

void TestRoadOfEdit::removalOfReferencedRecords_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<UidOf>("uidOf");
    QTest::addColumn<QString>("referrers");                                // empty: no question

    QTest::newRow("rack of a computer") << QStringLiteral("Стойки")
        << UidOf([](const ComplexConfig& s) { return s.computers().first().rack.value; })
        << QStringLiteral("ЭВМы — ");
    QTest::newRow("computer of a channel server") << QStringLiteral("ЭВМы")
        << UidOf(
               [](const ComplexConfig& s) { return s.receivers().channelServers.first().computer.value; })
        << QStringLiteral("Серверы каналов — ");
    QTest::newRow("pool of an antenna server") << QStringLiteral("Наборы антенн")
        << UidOf(
               [](const ComplexConfig& s) { return s.receivers().antennaServers.first().antennaPool.value; })
        << QStringLiteral("Серверы антенн — ");
    QTest::newRow("antenna of a pool") << QStringLiteral("Антенна")
        << UidOf(
               [](const ComplexConfig& s) { return s.receivers().antennaPools.first().antennaUids.first(); })
        << QStringLiteral("Наборы антенн — ");
    QTest::newRow("a new rack") << QStringLiteral("Стойки") << UidOf() << QString();
}

// Delete on records that others refer to asks first, naming them; "Нет" removes nothing.
void TestRoadOfEdit::removalOfReferencedRecords()
{
    QFETCH(QString, tab);
    QFETCH(UidOf, uidOf);
    QFETCH(QString, referrers);
    openEditor();
    if (openTab(*m_window, tab) < 0)
        QSKIP("the build has no such tab");
    QAbstractItemView* view = currentView(*m_window);
    QVERIFY(view);
    QAbstractItemModel* model = view->model();
    view->setFocus();
    if (!uidOf)
        QTest::keyClick(view, Qt::Key_Insert);
    const int uidColumn = columnTitled(model, QStringLiteral("ID"));
    QVERIFY(uidColumn >= 0);
    const int uid = uidOf ? uidOf(*freshStore()) : model->index(model->rowCount() - 1, uidColumn).data().toInt();
    const QModelIndexList found =
        model->match(model->index(0, uidColumn), Qt::DisplayRole, QString::number(uid), 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    const int rows = model->rowCount();
    const auto remove = [&] {
        view->selectionModel()->setCurrentIndex(model->match(model->index(0, uidColumn), Qt::DisplayRole,
                                                             QString::number(uid), 1, Qt::MatchExactly)
                                                    .first(),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTest::keyClick(view, Qt::Key_Delete);
    };
    ModalAnswerer answers;
    if (!referrers.isEmpty()) {
        answers.clickNext(QStringLiteral("Нет"));
        remove();
        QCOMPARE(answers.boxes().size(), 1);
        const ModalAnswerer::Box box = answers.boxes().first();
        QVERIFY2(box.text.startsWith(QStringLiteral("На удаляемые записи ссылаются: ") + referrers), qPrintable(box.text));
        QVERIFY(box.text.endsWith(QStringLiteral("Удалить?")));
        QVERIFY(!box.informativeText.isEmpty());
        QCOMPARE(model->rowCount(), rows);
        answers.clickNext(QStringLiteral("Да"));
        m_window->activateWindow(); // back from the question
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        view->setFocus();
    }
    remove();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.boxes().size(), referrers.isEmpty() ? 0 : 2);
    QCOMPARE(model->rowCount(), rows - 1);
}

// Return on a problem of the reference check makes the tab of its record current, the row selected.
void TestRoadOfEdit::problemLeadsToItsRecord()
{
    CoConfig::Computer broken;
    {
        const auto store = freshStore();
        broken = store->computers().last();
        broken.rack = CoConfig::ComponentUid<0>(999);
        store->computers().insert(broken.uid, broken);
        QVERIFY(store->write(CoConfig::ObjectComputers));
    }
    openEditor();
    auto* indicator = m_window->statusBar()->findChild<QToolButton*>(QStringLiteral("referenceCheckIndicator"));
    QVERIFY(indicator);
    QTRY_VERIFY(indicator->isVisible());
    QTest::mouseClick(indicator, Qt::LeftButton);
    auto* list = m_window->findChild<QPlainTextEdit*>();
    QVERIFY(list);
    const QStringList lines = list->toPlainText().split(QLatin1Char('\n'));
    const int line = int(std::find_if(lines.cbegin(), lines.cend(),
                                      [&](const QString& text) { return text.contains(broken.name) && text.contains(QStringLiteral("999")); })
                         - lines.cbegin());
    QVERIFY2(line < lines.size(), qPrintable(lines.join(QLatin1Char('\n'))));
    QTextCursor cursor(list->document()->findBlockByNumber(line));
    list->setTextCursor(cursor);
    QTest::keyClick(list, Qt::Key_Return);

    QCOMPARE(m_window->tabWidget()->tabText(m_window->tabWidget()->currentIndex()), QStringLiteral("ЭВМы"));
    QAbstractItemView* view = currentView(*m_window);
    QVERIFY(view);
    QCOMPARE(view->currentIndex().siblingAtColumn(0).data().toInt(), broken.uid.value);
    QVERIFY(view->selectionModel()->isRowSelected(view->currentIndex().row(), QModelIndex()));
}

QTEST_MAIN(TestRoadOfEdit)
#include "tst_roadofedit.moc"
