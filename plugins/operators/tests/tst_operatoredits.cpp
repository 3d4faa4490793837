// Edits in one grouping keep the shown tree, the other grouping and a fresh build from the
// store in agreement: what the indexes of the working set and of the trees must get right.

#include "operatortestfixture.h"

#include "complexconfig.h"
#include "orvaneplugin.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace OperatorTest;

using Fields = QList<QPair<QString, QString>>;

namespace {

QString pathOf(QModelIndex index)
{
    QStringList path;
    for (index = index.siblingAtColumn(0); index.isValid(); index = index.parent())
        path.prepend(index.data().toString());
    return path.join(QLatin1Char('/'));
}

// Selects the row, triggers the context-menu entry and fills each dialog that opens, in order.
struct Edit
{
    QStringList path;
    QString entry;
    QList<Fields> dialogs;
};

} // namespace

using Edits = QList<Edit>;
Q_DECLARE_METATYPE(Edits)

class TstOperatorEdits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void editsAgreeWithFreshBuilds_data();
    void editsAgreeWithFreshBuilds();
    void renamedOperatorRepaintsEveryRow();

private:
    bool run(const Edit& edit);
    bool switchGrouping(bool byUnion);
    QStringList addMenuCandidates(const QStringList& path);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PelluxHarness> m_pellux;
};

void TstOperatorEdits::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeKnownComplex(m_dir->path()));
    m_pellux = std::make_unique<PelluxHarness>(m_dir->path());
    QVERIFY2(m_pellux->isLoaded(), qPrintable(m_pellux->loadError()));
}

void TstOperatorEdits::cleanup()
{
    m_pellux.reset();
    m_dir.reset();
}

bool TstOperatorEdits::run(const Edit& edit)
{
    ModalAnswerer answers;
    for (const Fields& fields : edit.dialogs)
        answers.handleNext(fillAndOk(fields));
    if (!m_pellux->select({edit.path}) || !m_pellux->trigger(edit.entry))
        return false;
    // Every dialog answered, and no other (a refused login would show a warning).
    return answers.pending() == 0 && answers.seen().size() == edit.dialogs.size();
}

bool TstOperatorEdits::switchGrouping(bool byUnion)
{
    byUnion ? m_pellux->groupByUnion() : m_pellux->groupByOperator();
    // Attaches the model tester before anything changes the new model.
    return m_pellux->model() != nullptr;
}

QStringList TstOperatorEdits::addMenuCandidates(const QStringList& path)
{
    if (!m_pellux->select({path}) || !m_pellux->requestContextMenu())
        return {QStringLiteral("no menu")};
    QStringList entries;
    for (QAction* action : m_pellux->addMenu()->actions())
        entries << action->text();
    return entries.mid(2); // after "Новый оператор" and its separator
}

void TstOperatorEdits::editsAgreeWithFreshBuilds_data()
{
    QTest::addColumn<bool>("byUnion");
    QTest::addColumn<Edits>("edits");
    QTest::addColumn<QStringList>("shown");
    // A row of the other grouping whose "Добавить" candidates depend on the registrations.
    QTest::addColumn<QStringList>("probe");

    const Fields ok;
    // АРМ-11 sits in both unions, so each registration there is shown twice; Иванов is
    // registered on АРМ-10 and АРМ-11.
    QTest::newRow("by union") << true
        << Edits{{{"Пост 1", "АРМ-10", "Иванов Иван Иванович"}, "Копировать", {}},
                 {{"Пост 2", "АРМ-12"}, "Вставить", {}},
                 {{"Пост 1", "АРМ-11"}, "Кузнецов Карл Карлович", {{{"loginEdit", "kuz"}}}},
                 {{"Пост 2", "АРМ-11", "Петров Пётр Петрович"}, "Редактировать",
                  {{{"fullNameEdit", "Петров Пётр"}, {"loginEdit", "petrov-new"}}}},
                 {{"Пост 1", "АРМ-11", "Иванов Иван Иванович"}, "Удалить", {ok}},
                 {{"Пост 1", "АРМ-10"}, "Новый оператор", {{{"fullNameEdit", "Новиков Никита"}, {"loginEdit", "novikov"}}}},
                 {{"Пост 2", "АРМ-11", "Кузнецов Карл Карлович"}, "Удалить", {ok}}}
        << QStringList{"Пост 1|||",
                       "  АРМ-10|||",
                       "    Иванов Иван Иванович|Оператор|Лейтенант|ivanov",
                       "    Новиков Никита|||novikov",
                       "  АРМ-11|||",
                       "    Петров Пётр|Старший оператор|Капитан|petrov-new",
                       "Пост 2|||",
                       "  АРМ-11|||",
                       "    Петров Пётр|Старший оператор|Капитан|petrov-new",
                       "  АРМ-12|||",
                       "    Иванов Иван Иванович|Оператор|Лейтенант|ivanov"}
        << QStringList{"Иванов Иван Иванович"};

    // Петров's login is free again once he is removed.
    QTest::newRow("by operator") << false
        << Edits{{{"Сидоров Семён"}, "Пост 1 / АРМ-11", {{{"loginEdit", "sid"}}}},
                 {{"Сидоров Семён", "Пост 2 / АРМ-11"}, "Редактировать", {{{"loginEdit", "sid2"}, {"postEdit", "Оператор"}}}},
                 {{"Иванов Иван Иванович", "Пост 1 / АРМ-10"}, "Удалить", {ok}},
                 {{"Петров Пётр Петрович"}, "Удалить", {ok}},
                 {{"Кузнецов Карл Карлович"}, "Новый оператор", {{{"fullNameEdit", "Орлов Олег"}}}},
                 {{"Орлов Олег"}, "Пост 1 / АРМ-11", {{{"loginEdit", "petrov"}}}},
                 {{"Сидоров Семён", "Пост 1 / АРМ-11"}, "Копировать", {}},
                 {{"Кузнецов Карл Карлович"}, "Вставить", {{{"loginEdit", "kuz"}}}}}
        << QStringList{"Иванов Иван Иванович|Оператор|Лейтенант|",
                       "  Пост 1 / АРМ-11|||ivanov2",
                       "  Пост 2 / АРМ-11|||ivanov2",
                       "Сидоров Семён|Оператор||",
                       "  Пост 1 / АРМ-11|||sid2",
                       "  Пост 2 / АРМ-11|||sid2",
                       "Кузнецов Карл Карлович|Инженер|Майор|",
                       "  Пост 1 / АРМ-11|||kuz",
                       "  Пост 2 / АРМ-11|||kuz",
                       "Орлов Олег|||",
                       "  Пост 1 / АРМ-11|||petrov",
                       "  Пост 2 / АРМ-11|||petrov"}
        << QStringList{"Пост 1", "АРМ-10"};
}

void TstOperatorEdits::editsAgreeWithFreshBuilds()
{
    QFETCH(bool, byUnion);
    QFETCH(Edits, edits);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, probe);

    QVERIFY(switchGrouping(byUnion));
    for (int i = 0; i < edits.size(); ++i) {
        QVERIFY2(run(edits.at(i)), qPrintable(QStringLiteral("edit %1: %2").arg(i).arg(edits.at(i).entry)));
        m_pellux->view()->expandAll();
    }
    QCOMPARE(m_pellux->tree(), shown);

    // The other grouping, built from the edited working set.
    QVERIFY(switchGrouping(!byUnion));
    const QStringList other = m_pellux->tree();
    const QStringList candidates = addMenuCandidates(probe);

    // The shell's save, then a fresh build from what the store holds.
    m_pellux->button(QStringLiteral("Сохранить"))->click();
    m_pellux->plugin()->saveComplexConfig();
    QVERIFY2(m_pellux->store()->write(CoConfig::ObjectAll), qPrintable(m_pellux->store()->errorString()));
    m_pellux->plugin()->setComplexConfig(m_pellux->store());
    m_pellux->view()->expandAll();
    QCOMPARE(m_pellux->tree(), other);
    QCOMPARE(addMenuCandidates(probe), candidates);

    QVERIFY(switchGrouping(byUnion));
    QCOMPARE(m_pellux->tree(), shown);
}

void TstOperatorEdits::renamedOperatorRepaintsEveryRow()
{
    // Rows of the operator built with the tree and added since, one gone with its twin.
    QVERIFY(switchGrouping(true));
    QVERIFY(run({{"Пост 1", "АРМ-10", "Иванов Иван Иванович"}, "Копировать", {}}));
    QVERIFY(run({{"Пост 2", "АРМ-12"}, "Вставить", {}}));
    QVERIFY(run({{"Пост 1", "АРМ-11", "Иванов Иван Иванович"}, "Удалить", {{}}}));

    QSignalSpy changed(m_pellux->model(), &QAbstractItemModel::dataChanged);
    QVERIFY(run({{"Пост 1", "АРМ-10", "Иванов Иван Иванович"}, "Редактировать", {{{"fullNameEdit", "Иванов Игорь"}}}}));
    QSet<QString> repainted;
    for (const QList<QVariant>& signal : std::as_const(changed))
        repainted << pathOf(signal.at(0).toModelIndex());
    QCOMPARE(repainted, (QSet<QString>{"Пост 1/АРМ-10/Иванов Игорь", "Пост 2/АРМ-12/Иванов Игорь"}));
}

QTEST_MAIN(TstOperatorEdits)
#include "tst_operatoredits.moc"
