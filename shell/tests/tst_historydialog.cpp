#include "complexconfig.h"
#include "historydialog.h"
#include "historylog.h"
#include "historypush.h"
#include "modalanswerer.h"
#include "orvane.h"

#include <QAbstractItemView>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace CoConfig;

namespace {

QList<History::HistoryEntry> entriesOf(const QString& dir)
{
    QList<History::HistoryEntry> entries;
    QString error;
    if (!History::HistoryLog::entries(dir, &entries, &error))
        qWarning("%s", qPrintable(error));
    return entries;
}

QString rackName(const QString& dir)
{
    return ComplexConfig(dir, ObjectRacks, 0).racks().value(ComponentUid<0>(1)).name;
}

} // namespace

// The journal of saves in the editor, and the way back to one of them, over a real store whose
// history is on.
class TestHistoryDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { qputenv("ORVANE_HISTORY", "0"); }
    void listsSavesAndTheirChanges();
    void restoresThroughTheEditor();
    void saysWhenThereIsNoHistory();
    void failedPushIsShownNotFailed();

private:
    // Rack 1 saved three times through the editor: "Стойка 1", "Стойка связи", "Стойка 3".
    void saveThreeNames();

    QTemporaryDir m_temp;
    QString m_dir;
    std::unique_ptr<ComplexConfig> m_store;
    std::unique_ptr<Orvane> m_window;
};

void TestHistoryDialog::initTestCase()
{
    QVERIFY(m_temp.isValid());
    qputenv("ORVANE_SETTINGS", QFile::encodeName(m_temp.filePath(QStringLiteral("orvane.ini"))));
    qputenv("ORVANE_HISTORY", "1");
    m_dir = m_temp.filePath(QStringLiteral("complex"));
    saveThreeNames();
}

void TestHistoryDialog::saveThreeNames()
{
    {
        ComplexConfig first(m_dir, 0, 0);
        first.racks().insert(ComponentUid<0>(1), Rack{ComponentUid<0>(1), QStringLiteral("Стойка 1"), QStringLiteral("С1")});
        QVERIFY(first.write(ObjectAll));
    }
    m_store = std::make_unique<ComplexConfig>(m_dir, ObjectAll, ObjectArmUnions);
    m_window = std::make_unique<Orvane>(QStringList{QStringLiteral("orvane-10-racks.so")}, m_store.get(),
                                        QStringLiteral(ORVANE_BIN_DIR));
    for (const QString& name : {QStringLiteral("Стойка связи"), QStringLiteral("Стойка 3")}) {
        QAbstractItemModel* racks = m_window->tabWidget()->widget(0)->findChild<QAbstractItemView*>()->model();
        QVERIFY(racks->setData(racks->index(0, 1), name));
        m_window->saveAction()->trigger();
    }
    QCOMPARE(rackName(m_dir), QStringLiteral("Стойка 3"));
}

void TestHistoryDialog::listsSavesAndTheirChanges()
{
    const QList<History::HistoryEntry> entries = entriesOf(m_dir);
    QVERIFY(entries.size() >= 3);
    History::HistoryEntry asked;
    HistoryDialog dialog(m_dir, [&](const History::HistoryEntry& entry) {
        asked = entry;
        return false;
    });
    auto* list = dialog.findChild<QTreeWidget*>();
    QCOMPARE(list->topLevelItemCount(), entries.size());
    QCOMPARE(list->topLevelItem(0)->text(4), entries.first().summary);
    QCOMPARE(list->topLevelItem(0)->text(3), entries.first().program);

    list->setCurrentItem(list->topLevelItem(1));
    QTRY_VERIFY(!dialog.isFindingChanges());
    const QString changes = dialog.shownLines().join(QLatin1Char('\n'));
    QVERIFY2(changes.contains(QStringLiteral("«Стойка 1» → «Стойка связи»")), qPrintable(changes));

    QPushButton* restore = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Вернуть эту версию"))
            restore = button;
    }
    QVERIFY(restore && restore->isEnabled());
    restore->click();
    QCOMPARE(asked.id, entries.at(1).id);
}

void TestHistoryDialog::restoresThroughTheEditor()
{
    const QList<History::HistoryEntry> before = entriesOf(m_dir);
    QAbstractItemModel* racks = m_window->tabWidget()->widget(0)->findChild<QAbstractItemView*>()->model();
    QVERIFY(racks->setData(racks->index(0, 1), QStringLiteral("Черновик")));
    QVERIFY(!m_window->unsavedTabs().isEmpty());

    // Cancelled: nothing is written, the draft stays.
    ModalAnswerer answers;
    answers.clickNext(QStringLiteral("Отмена"));
    QVERIFY(!m_window->restoreVersion(before.at(1)));
    QCOMPARE(entriesOf(m_dir).size(), before.size());

    // Returned, the draft dropped: the disk and the tab hold the version, as a new save.
    answers.clickNext(QStringLiteral("Вернуть"));
    answers.clickNext(QStringLiteral("Не сохранять"));
    QVERIFY(m_window->restoreVersion(before.at(1)));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(rackName(m_dir), QStringLiteral("Стойка связи"));
    racks = m_window->tabWidget()->widget(0)->findChild<QAbstractItemView*>()->model();
    QCOMPARE(racks->index(0, 1).data().toString(), QStringLiteral("Стойка связи"));
    QVERIFY(m_window->unsavedTabs().isEmpty());
    const QList<History::HistoryEntry> after = entriesOf(m_dir);
    QCOMPARE(after.size(), before.size() + 1);
    QCOMPARE(after.first().kind, History::ChangeKind::Restore);
    QCOMPARE(after.first().restores, before.at(1).id);
}

void TestHistoryDialog::saysWhenThereIsNoHistory()
{
    QTemporaryDir other;
    const QString dir = other.filePath(QStringLiteral("complex"));
    qputenv("ORVANE_HISTORY", "0");
    {
        ComplexConfig store(dir, 0, 0);
        store.racks().insert(ComponentUid<0>(1), Rack{ComponentUid<0>(1), QStringLiteral("Стойка"), QString()});
        QVERIFY(store.write(ObjectAll));
    }
    HistoryDialog dialog(dir, {});
    QVERIFY(!dialog.reload());
    QCOMPARE(dialog.findChild<QTreeWidget*>()->topLevelItemCount(), 0);
    qputenv("ORVANE_HISTORY", "1");
}

// A remote that is gone: the save is made, and the next one says that the history did not go.
void TestHistoryDialog::failedPushIsShownNotFailed()
{
    qputenv("ORVANE_HISTORY_REMOTE", QFile::encodeName(m_temp.filePath(QStringLiteral("gone/remote.git"))));
    QAbstractItemModel* racks = m_window->tabWidget()->widget(0)->findChild<QAbstractItemView*>()->model();
    for (const QString& name : {QStringLiteral("Стойка 4"), QStringLiteral("Стойка 5")}) {
        QVERIFY(racks->setData(racks->index(0, 1), name));
        m_window->saveAction()->trigger();
        QCOMPARE(rackName(m_dir), name);
        QTRY_VERIFY_WITH_TIMEOUT(History::pushStatus(m_dir).known, 20000);
        racks = m_window->tabWidget()->widget(0)->findChild<QAbstractItemView*>()->model();
    }
    qunsetenv("ORVANE_HISTORY_REMOTE");
    QVERIFY(!History::pushStatus(m_dir).ok);
    QVERIFY2(m_window->statusBar()->currentMessage().contains(QStringLiteral("история не отправлена")),
             qPrintable(m_window->statusBar()->currentMessage()));
}

QTEST_MAIN(TestHistoryDialog)
#include "tst_historydialog.moc"
