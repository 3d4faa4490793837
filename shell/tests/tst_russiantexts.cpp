// Every text the editor shows is Russian: the whole editor over a copy of the sample complex,
// with Qt's own texts translated as the program loads them. No visible text of a tab, a dialog
// or a message box may be made of Latin words only, unless each is a term ("ID", "IP", "x64"),
// a one-letter unit ("D:4/A:90"), an address or a name that the configuration itself holds (a
// login, a path).

#include "complexconfig.h"
#include "editorwindow.h"
#include "globalini.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "testfiles.h"
#include "translations.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <memory>

using namespace EditorWindow;

namespace {

const QSet<QString> Terms = {"ID", "IP", "x64", "ddt", "DDT"};
constexpr int SampledRows = 50;

// Latin words of the configuration's own values: logins, paths and such are names.
QSet<QString> namesOf(const QString& dir)
{
    QSet<QString> names;
    const QRegularExpression value(QStringLiteral("=\"([^\"]*)\""));
    const QRegularExpression word(QStringLiteral("[A-Za-z]+"));
    for (const QString& file : TestFiles::filesUnder(dir)) {
        const QString text = QString::fromUtf8(TestFiles::readFile(file));
        for (auto match = value.globalMatch(text); match.hasNext();) {
            const QString found = match.next().captured(1);
            if (found == QLatin1String("true") || found == QLatin1String("false") || found == QLatin1String("UTF-8"))
                continue;
            for (auto w = word.globalMatch(found); w.hasNext();)
                names.insert(w.next().captured());
        }
    }
    return names;
}

// Visible texts of a widget and everything in it: titles, labels, buttons, boxes, headers, cells.
QStringList textsOf(QWidget* root)
{
    QStringList texts = {root->windowTitle().remove(QLatin1String("[*]")), root->toolTip()};
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : std::as_const(widgets)) {
        if (!widget->isVisibleTo(root) && widget != root)
            continue;
        texts << widget->toolTip();
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            texts << group->title();
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            texts << line->placeholderText();
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int item = 0; item < combo->count(); ++item)
                texts << combo->itemText(item);
        }
        auto* view = qobject_cast<QAbstractItemView*>(widget);
        if (view && !qobject_cast<QHeaderView*>(view) && view->model()) {
            const QAbstractItemModel* model = view->model();
            for (int column = 0; column < model->columnCount(); ++column) {
                auto* table = qobject_cast<QTableView*>(view);
                auto* tree = qobject_cast<QTreeView*>(view);
                if ((table && table->isColumnHidden(column)) || (tree && tree->isColumnHidden(column)))
                    continue;
                texts << model->headerData(column, Qt::Horizontal).toString()
                      << model->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString();
                // As painted: a delegate of the view may show its own text for the value.
                for (int row = 0; row < qMin(SampledRows, model->rowCount()); ++row) {
                    const QModelIndex index = model->index(row, column);
                    const auto* styled = qobject_cast<const QStyledItemDelegate*>(view->itemDelegateForIndex(index));
                    texts << (styled ? styled->displayText(index.data(), QLocale()) : index.data().toString());
                }
            }
        }
    }
    for (QAction* action : root->findChildren<QAction*>())
        texts << action->text() << action->toolTip();
    return texts;
}

// Double-clicks the first row of the tab's table or tree.
void doubleClickFirstRow(Orvane& window, const QString& tab)
{
    QVERIFY2(openTab(window, tab) >= 0, qPrintable(tab));
    QAbstractItemView* view = currentView(window);
    QVERIFY(view);
    const QPoint center = view->visualRect(view->model()->index(0, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, center);
}

} // namespace

class TestRussianTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void tabs();
    void dialogs_data();
    void dialogs();
    void lineEditMenu();

private:
    // The texts of every Latin word that is neither a term nor a name, with where it was seen.
    QStringList foreign(const QStringList& texts, const QString& where) const;

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_dir;
    QSet<QString> m_names;
    std::unique_ptr<Orvane> m_window;
};

using Walk = std::function<void(Orvane&, ModalAnswerer&, const QString& dir)>;
Q_DECLARE_METATYPE(Walk)

void TestRussianTexts::initTestCase()
{
    QVERIFY2(Common::installQtTranslations(qApp), "Qt's Russian translations are not installed");
}

void TestRussianTexts::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_dir = m_temp->filePath(QStringLiteral("complex"));
    QVERIFY(TestFiles::copyFolder(QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex"), m_dir));
    m_names = namesOf(m_dir);
    qputenv("ORVANE_CONFIG_DIR", QFile::encodeName(m_dir));
    qputenv("ORVANE_LOCK_TIMEOUT_MS", "200");
    Common::GlobalIni::ini().setValue(QStringLiteral("DemDec/DdtDir"), QStringLiteral(ORVANE_SOURCE_DIR "/sample/ddt"));
    m_window = std::make_unique<Orvane>(QStringList(), nullptr, QStringLiteral(ORVANE_BIN_DIR));
    m_window->resize(1200, 800);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestRussianTexts::cleanup()
{
    m_window.reset();
    qunsetenv("ORVANE_LOCK_TIMEOUT_MS");
    m_temp.reset();
}

QStringList TestRussianTexts::foreign(const QStringList& texts, const QString& where) const
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z0-9_]*"));
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    QStringList found;
    for (QString text : texts) {
        text.remove(QLatin1Char('&'));
        if (text.contains(cyrillic))
            continue;
        for (auto match = word.globalMatch(text); match.hasNext();) {
            const QString w = match.next().captured();
            if (w.size() > 1 && !Terms.contains(w) && !m_names.contains(w)) {
                found << where + QLatin1String(": ") + text;
                break;
            }
        }
    }
    found.removeDuplicates();
    return found;
}

// Every tab with its tool bar, headers and cells.
void TestRussianTexts::tabs()
{
    QVERIFY(m_window->tabWidget()->count() > 0);
    QStringList found;
    for (int tab = 0; tab < m_window->tabWidget()->count(); ++tab) {
        m_window->tabWidget()->setCurrentIndex(tab);
        const QString title = m_window->tabWidget()->tabText(tab);
        found << foreign({title}, QStringLiteral("tab")) << foreign(textsOf(m_window->tabWidget()->widget(tab)), title);
        if (m_window->pluginToolBar())
            found << foreign(textsOf(m_window->pluginToolBar()), title + QLatin1String(" tool bar"));
    }
    found << foreign(textsOf(m_window->saveToolBar()), QStringLiteral("save tool bar"));
    for (QMenu* menu : m_window->menuBar()->findChildren<QMenu*>())
        found << foreign(textsOf(menu), QStringLiteral("menu"));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestRussianTexts::dialogs_data()
{
    QTest::addColumn<Walk>("walk");

    QTest::newRow("close question") << Walk([](Orvane& window, ModalAnswerer&, const QString&) { window.close(); });
    QTest::newRow("save failure") << Walk([](Orvane& window, ModalAnswerer&, const QString& dir) {
        const int holder = ::open(QFile::encodeName(dir + QStringLiteral("/.orvane.lock")).constData(), O_RDWR | O_CREAT, 0644);
        QVERIFY(holder >= 0 && ::flock(holder, LOCK_EX) == 0);
        window.saveAction()->trigger();
        ::close(holder);
    });
    QTest::newRow("outside change") << Walk([](Orvane& window, ModalAnswerer&, const QString& dir) {
        CoConfig::ComplexConfig other(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        other.racks().first().name = QStringLiteral("Стойка другой программы");
        QVERIFY(other.write(CoConfig::ObjectRacks));
        window.saveAction()->trigger();
    });
    QTest::newRow("counter") << Walk([](Orvane& window, ModalAnswerer&, const QString&) {
        QVERIFY(openTab(window, QStringLiteral("Стойки")) >= 0);
        QAbstractItemView* view = currentView(window);
        QVERIFY(view);
        view->selectionModel()->select(view->model()->index(0, 1), QItemSelectionModel::Select);
        view->selectionModel()->setCurrentIndex(view->model()->index(0, 1), QItemSelectionModel::NoUpdate);
        QToolBar* bar = window.pluginToolBar();
        QVERIFY(bar);
        for (QAction* action : bar->actions()) {
            if (action->text() == QStringLiteral("Заполнить счётчиком"))
                action->trigger();
        }
    });
    QTest::newRow("operator") << Walk([](Orvane& window, ModalAnswerer&, const QString&) {
        doubleClickFirstRow(window, QStringLiteral("Оператор"));
    });
    QTest::newRow("direction finder") << Walk([](Orvane& window, ModalAnswerer&, const QString&) {
        QVERIFY(openTab(window, QStringLiteral("Пеленгаторы/Quorvenы")) >= 0);
        QAbstractItemView* view = currentView(window);
        QVERIFY(view);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Insert);
    });
}

// The boxes and dialogs that the shell itself and the tabs' commands open.
void TestRussianTexts::dialogs()
{
    QFETCH(Walk, walk);
    ModalAnswerer answers;
    QStringList texts;
    answers.handleNext([&texts](QWidget* modal) {
        texts = textsOf(modal);
        ModalAnswerer::dismiss(modal);
    });
    walk(*m_window, answers, m_dir);
    QCOMPARE(answers.pending(), 0);
    QVERIFY(!texts.isEmpty());
    const QStringList found = foreign(texts, QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

// The menu of every line edit comes from Qt: translated, it is Russian.
void TestRussianTexts::lineEditMenu()
{
    QLineEdit line;
    std::unique_ptr<QMenu> menu(line.createStandardContextMenu());
    const QStringList found = foreign(textsOf(menu.get()), QStringLiteral("line edit menu"));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestRussianTexts)
#include "tst_russiantexts.moc"
