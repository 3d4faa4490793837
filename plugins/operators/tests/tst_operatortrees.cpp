// The two operator trees and the enabling rules of their context menus.

#include "operatortestfixture.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace OperatorTest;

using Paths = QList<QStringList>;

class TstOperatorTrees : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void trees_data();
    void trees();
    void contextMenu_data();
    void contextMenu();
    void addMenuCandidates_data();
    void addMenuCandidates();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PelluxHarness> m_pellux;
};

void TstOperatorTrees::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeKnownComplex(m_dir->path()));
    m_pellux = std::make_unique<PelluxHarness>(m_dir->path());
    QVERIFY2(m_pellux->isLoaded(), qPrintable(m_pellux->loadError()));
}

void TstOperatorTrees::cleanup()
{
    m_pellux.reset();
    m_dir.reset();
}

void TstOperatorTrees::trees_data()
{
    QTest::addColumn<bool>("byUnion");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("rows");

    // Сидоров is registered only outside unions; АРМ-11 sits in both unions; the registration
    // "ghost" on АРМ-10 names no operator.
    QTest::newRow("by operator") << false
        << QStringList{"ФИО / АРМ", "Должность", "Звание", "Логин"}
        << QStringList{"Иванов Иван Иванович|Оператор|Лейтенант|",
                       "  Пост 1 / АРМ-10|||ivanov",
                       "  Пост 1 / АРМ-11|||ivanov2",
                       "  Пост 2 / АРМ-11|||ivanov2",
                       "Петров Пётр Петрович|Старший оператор|Капитан|",
                       "  Пост 1 / АРМ-11|||petrov",
                       "  Пост 2 / АРМ-11|||petrov",
                       "Сидоров Семён|||",
                       "Кузнецов Карл Карлович|Инженер|Майор|"};
    QTest::newRow("by union") << true
        << QStringList{"Объединение / АРМ / ФИО", "Должность", "Звание", "Логин"}
        << QStringList{"Пост 1|||",
                       "  АРМ-10|||",
                       "    Иванов Иван Иванович|Оператор|Лейтенант|ivanov",
                       "  АРМ-11|||",
                       "    Иванов Иван Иванович|Оператор|Лейтенант|ivanov2",
                       "    Петров Пётр Петрович|Старший оператор|Капитан|petrov",
                       "Пост 2|||",
                       "  АРМ-11|||",
                       "    Иванов Иван Иванович|Оператор|Лейтенант|ivanov2",
                       "    Петров Пётр Петрович|Старший оператор|Капитан|petrov",
                       "  АРМ-12|||"};
}

void TstOperatorTrees::trees()
{
    QFETCH(bool, byUnion);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, rows);

    if (byUnion)
        m_pellux->groupByUnion();
    QAbstractItemModel* model = m_pellux->model();
    QStringList shownHeaders;
    for (int column = 0; column < model->columnCount(); ++column)
        shownHeaders << model->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(shownHeaders, headers);
    QCOMPARE(m_pellux->tree(), rows);

    // Switching away and back builds the same tree again.
    byUnion ? m_pellux->groupByOperator() : m_pellux->groupByUnion();
    byUnion ? m_pellux->groupByUnion() : m_pellux->groupByOperator();
    QCOMPARE(m_pellux->tree(), rows);
}

void TstOperatorTrees::contextMenu_data()
{
    QTest::addColumn<bool>("byUnion");
    QTest::addColumn<Paths>("selection");
    // Редактировать, Новый оператор, Добавить, Удалить, Копировать, Вставить; empty: no menu.
    QTest::addColumn<QString>("enabled");

    const QStringList union1 = {"Пост 1"};
    const QStringList arm10 = {"Пост 1", "АРМ-10"};
    const QStringList arm12 = {"Пост 2", "АРМ-12"};
    const QStringList ivanovOn10 = {"Пост 1", "АРМ-10", "Иванов Иван Иванович"};
    const QStringList petrovOn11 = {"Пост 1", "АРМ-11", "Петров Пётр Петрович"};
    const QStringList ivanovOn11 = {"Пост 2", "АРМ-11", "Иванов Иван Иванович"};
    QTest::newRow("union: nothing selected") << true << Paths{} << QString();
    QTest::newRow("union: a union") << true << Paths{union1} << "000000";
    QTest::newRow("union: a workstation") << true << Paths{arm10} << "011001";
    QTest::newRow("union: two workstations") << true << Paths{arm10, arm12} << "010001";
    QTest::newRow("union: workstation, then operator") << true << Paths{arm10, ivanovOn10} << "010000";
    QTest::newRow("union: an operator") << true << Paths{petrovOn11} << "111111";
    QTest::newRow("union: two operators") << true << Paths{petrovOn11, ivanovOn11} << "010110";
    QTest::newRow("union: operator, then workstation") << true << Paths{ivanovOn10, arm12} << "010000";

    const QStringList ivanov = {"Иванов Иван Иванович"};
    const QStringList petrov = {"Петров Пётр Петрович"};
    const QStringList ivanovReg = {"Иванов Иван Иванович", "Пост 1 / АРМ-10"};
    const QStringList petrovReg = {"Петров Пётр Петрович", "Пост 2 / АРМ-11"};
    QTest::newRow("operator: nothing selected") << false << Paths{} << QString();
    QTest::newRow("operator: an operator") << false << Paths{ivanov} << "111101";
    QTest::newRow("operator: two operators") << false << Paths{ivanov, petrov} << "010100";
    QTest::newRow("operator: a registration") << false << Paths{ivanovReg} << "111111";
    QTest::newRow("operator: two registrations") << false << Paths{ivanovReg, petrovReg} << "010110";
    QTest::newRow("operator: registration, then operator") << false << Paths{ivanovReg, petrov} << "010000";
    QTest::newRow("operator: operator, then registration") << false << Paths{petrov, ivanovReg} << "010000";
}

void TstOperatorTrees::contextMenu()
{
    QFETCH(bool, byUnion);
    QFETCH(Paths, selection);
    QFETCH(QString, enabled);

    if (byUnion)
        m_pellux->groupByUnion();
    m_pellux->select(selection);
    const bool opened = m_pellux->requestContextMenu();
    QCOMPARE(opened, !enabled.isEmpty());
    if (!opened) {
        QVERIFY(!m_pellux->trigger(QStringLiteral("Новый оператор")));
        return;
    }

    QMenu* menu = m_pellux->contextMenu();
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(entries, (QStringList{"Редактировать", "Добавить", "Удалить", "Копировать", "Вставить", "-",
                                   "Развернуть все", "Свернуть все"}));

    QString shown;
    for (const char* text : {"Редактировать", "Новый оператор", "Добавить", "Удалить", "Копировать", "Вставить"})
        shown += m_pellux->menuAction(QString::fromUtf8(text))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(shown, enabled);
    QVERIFY(m_pellux->menuAction(QStringLiteral("Развернуть все"))->isEnabled());
    QVERIFY(m_pellux->menuAction(QStringLiteral("Свернуть все"))->isEnabled());
}

void TstOperatorTrees::addMenuCandidates_data()
{
    QTest::addColumn<bool>("byUnion");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("candidates");

    QTest::newRow("union: workstation") << true << QStringList{"Пост 1", "АРМ-11"}
                                        << QStringList{"Сидоров Семён", "Кузнецов Карл Карлович"};
    QTest::newRow("union: operator on a workstation")
        << true << QStringList{"Пост 1", "АРМ-10", "Иванов Иван Иванович"}
        << QStringList{"Петров Пётр Петрович", "Сидоров Семён", "Кузнецов Карл Карлович"};
    QTest::newRow("operator: registered in both unions") << false << QStringList{"Иванов Иван Иванович"}
                                                         << QStringList{"Пост 2 / АРМ-12"};
    QTest::newRow("operator: registered outside unions")
        << false << QStringList{"Сидоров Семён"}
        << QStringList{"Пост 1 / АРМ-10", "Пост 1 / АРМ-11", "Пост 2 / АРМ-11", "Пост 2 / АРМ-12"};
    QTest::newRow("operator: a registration") << false << QStringList{"Петров Пётр Петрович", "Пост 2 / АРМ-11"}
                                              << QStringList{"Пост 1 / АРМ-10", "Пост 2 / АРМ-12"};
}

void TstOperatorTrees::addMenuCandidates()
{
    QFETCH(bool, byUnion);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, candidates);

    if (byUnion)
        m_pellux->groupByUnion();
    m_pellux->select({selected});
    QVERIFY(m_pellux->requestContextMenu());
    QStringList entries;
    for (QAction* action : m_pellux->addMenu()->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(entries, (QStringList{"Новый оператор", "-"} + candidates));
}

QTEST_MAIN(TstOperatorTrees)
#include "tst_operatortrees.moc"
