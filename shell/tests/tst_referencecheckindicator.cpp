#include "complexconfig.h"
#include "modalanswerer.h"
#include "orvane.h"
#include "referencecheckindicator.h"
#include "referenceproblemsdialog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QProcess>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace CoConfig;

namespace {

const QString RacksPlugin = QStringLiteral("orvane-10-racks.so");
const QString MissingRack = QStringLiteral("ЭВМ 100 «АРМ оператора», Стойка: нет такой записи: Стойка 7");
const QString UnnamedRack = QStringLiteral("Стойка 1, Название: не заполнено");

// Rack 1 without a name, and a computer standing in rack 7, which does not exist.
bool writeBrokenComplex(const QString& dir)
{
    ComplexConfig store(dir, 0, 0);
    store.racks().insert(ComponentUid<0>(1), Rack{ComponentUid<0>(1), QString(), QStringLiteral("С1")});
    Computer computer;
    computer.uid = ComponentUid<1>(100);
    computer.rack = ComponentUid<0>(7);
    computer.name = QStringLiteral("АРМ оператора");
    computer.ipAddress = QStringLiteral("192.168.10.100");
    store.computers().insert(computer.uid, computer);
    return store.write(ObjectAll);
}

QAbstractItemModel* racksModel(const Orvane& window)
{
    QWidget* page = window.tabWidget()->widget(0);
    auto* view = page ? qobject_cast<QAbstractItemView*>(page) : nullptr;
    if (!view && page)
        view = page->findChild<QAbstractItemView*>();
    return view ? view->model() : nullptr;
}

QAction* racksAction(const Orvane& window, const QString& text)
{
    QToolBar* bar = window.pluginToolBar();
    if (!bar)
        return nullptr;
    for (QAction* action : bar->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestReferenceCheckIndicator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void countsUntilFixedAndSaved();
    void cleanComplexShowsNothing();

private:
    QTemporaryDir m_settings;
};

void TestReferenceCheckIndicator::initTestCase()
{
    // The window keeps its geometry in the workstation's settings: never the engineer's own.
    QVERIFY(m_settings.isValid());
    qputenv("ORVANE_SETTINGS", QFile::encodeName(m_settings.filePath(QStringLiteral("orvane.ini"))));
}

void TestReferenceCheckIndicator::countsUntilFixedAndSaved()
{
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(writeBrokenComplex(dir));
    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    ModalAnswerer answerer;
    Orvane window({RacksPlugin}, &store, QStringLiteral(ORVANE_BIN_DIR));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto* indicator = window.statusBar()->findChild<ReferenceCheckIndicator*>();
    QVERIFY(indicator);
    // The check runs beside the window; the indicator follows once it is done.
    QTRY_VERIFY(indicator->isVisible());
    QCOMPARE(indicator->text(), QStringLiteral("Ошибок в ссылках: 2"));

    QTest::mouseClick(indicator, Qt::LeftButton);
    ReferenceProblemsDialog* dialog = indicator->problemsDialog();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    QCOMPARE(dialog->text(), UnnamedRack + QLatin1Char('\n') + MissingRack);

    // Naming the rack and saving leaves one problem; the save goes ahead as ever.
    QAbstractItemModel* racks = racksModel(window);
    QVERIFY(racks);
    QVERIFY(racks->setData(racks->index(0, 1), QStringLiteral("Стойка управления")));
    window.saveAction()->trigger();
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Конфигурация сохранена"));
    QCOMPARE(ComplexConfig(dir, ObjectRacks, 0).racks().value(ComponentUid<0>(1)).name,
             QStringLiteral("Стойка управления"));
    QTRY_COMPARE(indicator->text(), QStringLiteral("Ошибок в ссылках: 1"));
    QVERIFY(indicator->isVisible());
    QCOMPARE(dialog->text(), MissingRack);

    // Adding rack 7 mends the computer's reference.
    QAction* add = racksAction(window, QStringLiteral("Добавить"));
    QVERIFY(add);
    add->trigger();
    racks = racksModel(window);
    QVERIFY(racks && racks->rowCount() == 2);
    QVERIFY(racks->setData(racks->index(1, 0), QSize(7, 0)));
    QVERIFY(racks->setData(racks->index(1, 1), QStringLiteral("Стойка связи")));
    window.saveAction()->trigger();
    indicator->waitForCheck();
    QVERIFY(indicator->isHidden());
    QCOMPARE(dialog->text(), QString());
    QCOMPARE(answerer.seen(), QStringList());

    // Removed again and saved, rack 7 is named as the tables showed it before.
    auto* view = window.tabWidget()->widget(0)->findChild<QAbstractItemView*>();
    QVERIFY(view);
    view->selectionModel()->select(racks->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    answerer.clickNext(QStringLiteral("Да"));
    racksAction(window, QStringLiteral("Удалить"))->trigger();
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(racks->rowCount(), 1);
    window.saveAction()->trigger();
    // Asked again while that check runs: this one follows it, with the names it gathered.
    window.saveAction()->trigger();
    indicator->waitForCheck();
    QCOMPARE(indicator->text(), QStringLiteral("Ошибок в ссылках: 1"));
    QCOMPARE(dialog->text(), MissingRack + QStringLiteral(" «Стойка связи»"));
}

void TestReferenceCheckIndicator::cleanComplexShowsNothing()
{
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral(ORVANE_SOURCE_DIR "/sample/complex"), dir})
            == 0);
    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    Orvane window({RacksPlugin}, &store, QStringLiteral(ORVANE_BIN_DIR));
    auto* indicator = window.statusBar()->findChild<ReferenceCheckIndicator*>();
    QVERIFY(indicator);
    indicator->waitForCheck();
    QVERIFY(indicator->isHidden());
    QVERIFY(indicator->problems().isEmpty());
}

QTEST_MAIN(TestReferenceCheckIndicator)
#include "tst_referencecheckindicator.moc"
