// The operator page driven as a user would: dialogs, actions, copy and paste, save and reload.

#include "operatortestfixture.h"

#include "complexconfig.h"
#include "orvaneplugin.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace OperatorTest;

using Fields = QList<QPair<QString, QString>>;

namespace {

const QString warningTaken = QStringLiteral("QMessageBox: Ошибка: Пользователь с таким логином уже существует");
const QString warningEmpty = QStringLiteral("QMessageBox: Ошибка: Введите логин");

// Operators of the store as "uid surname/name/thirdname/post/rank".
QStringList storedOperators(const CoConfig::ComplexConfigInterface& store)
{
    QStringList result;
    for (const Common::Operator& op : store.operators())
        result << QStringLiteral("%1 %2/%3/%4/%5/%6").arg(op.uid).arg(op.surname, op.name, op.thirdname, op.post, op.rank);
    return result;
}

// The registrations of a workstation as sorted "login=uid".
QStringList storedLogins(const CoConfig::ComplexConfigInterface& store, int armUid)
{
    QStringList result;
    const auto registrations = store.computers().value(CoConfig::ComponentUid<1>(armUid)).registrations;
    for (auto it = registrations.cbegin(); it != registrations.cend(); ++it)
        result << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
    result.sort();
    return result;
}

} // namespace

class TstOperatorPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void pluginStartsGroupedByOperator();
    void addGroupedByUnion();
    void addGroupedByOperator();
    void editFullName_data();
    void editFullName();
    void unchangedDialogKeepsNameParts();
    void editLogin();
    void removeOperatorAndRegistration();
    void removeStopsAtItemNotRemoved();
    void copyPasteGroupedByUnion();
    void copyPasteGroupedByOperator();
    void registerThroughAddMenu();
    void copyBufferDoesNotOutliveModel_data();
    void copyBufferDoesNotOutliveModel();
    void saveWritesStoreAndDisk();
    void cancelDropsEdits();
    void reloadAfterShellSave();
    void reloadAfterASaveShowsOutsideChanges_data();
    void reloadAfterASaveShowsOutsideChanges();
    void unreadableOperatorsKeepLogins();
    void screenshots();

private:
    // "petrov12" registered for Петров on АРМ-12 through the tree's context menu.
    void registerPetrovOnArm12();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PelluxHarness> m_pellux;
};

void TstOperatorPage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeKnownComplex(m_dir->path()));
    m_pellux = std::make_unique<PelluxHarness>(m_dir->path());
    QVERIFY2(m_pellux->isLoaded(), qPrintable(m_pellux->loadError()));
}

void TstOperatorPage::cleanup()
{
    m_pellux.reset();
    m_dir.reset();
}

void TstOperatorPage::pluginStartsGroupedByOperator()
{
    OrvanePlugin* plugin = m_pellux->plugin();
    QCOMPARE(plugin->name(), QStringLiteral("Оператор"));
    QVERIFY(!plugin->menu());
    QVERIFY(!plugin->toolBar());
    QCOMPARE(plugin->widget(), m_pellux->page());
    QCOMPARE(m_pellux->page()->windowTitle(), QStringLiteral("Редактор конфигурации. Операторы"));
    QCOMPARE(m_pellux->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ФИО / АРМ"));
    for (QRadioButton* radio : m_pellux->page()->findChildren<QRadioButton*>())
        QCOMPARE(radio->isChecked(), radio->text() == QStringLiteral("Операторам"));
    // "Добавить" and "Удалить" are kept off the page.
    QVERIFY(!m_pellux->button(QStringLiteral("Добавить"))->isVisible());
    QVERIFY(!m_pellux->button(QStringLiteral("Удалить"))->isVisible());
    QVERIFY(m_pellux->button(QStringLiteral("Сохранить"))->isVisible());
}

void TstOperatorPage::addGroupedByUnion()
{
    m_pellux->groupByUnion();
    m_pellux->select({{"Пост 2", "АРМ-11"}});
    ModalAnswerer answers;
    const Fields person = {{"fullNameEdit", "Смирнов Сергей Сергеевич"}, {"postEdit", "Оператор"}};
    answers.handleNext(fillAndOk(person + Fields{{"loginEdit", ""}}));
    answers.clickNext(QMessageBox::Ok);
    answers.handleNext(fillAndOk({{"loginEdit", "petrov"}}));
    answers.clickNext(QMessageBox::Ok);
    answers.handleNext(fillAndOk({{"loginEdit", "smirnov"}}));
    QVERIFY(m_pellux->trigger(QStringLiteral("Новый оператор")));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().at(1), warningEmpty);
    QCOMPARE(answers.seen().at(3), warningTaken);

    // Shown under АРМ-11 in both unions.
    const QString row = QStringLiteral("    Смирнов Сергей Сергеевич|Оператор||smirnov");
    QCOMPARE(m_pellux->tree().count(row), 2);

    QVERIFY(m_pellux->button(QStringLiteral("Сохранить")));
    m_pellux->button(QStringLiteral("Сохранить"))->click();
    const QStringList logins = storedLogins(*m_pellux->store(), 11);
    QCOMPARE(logins.size(), 3);
    const int uid = logins.filter(QStringLiteral("smirnov=")).value(0).section(QLatin1Char('='), 1).toInt();
    QVERIFY(uid > 0);
    QVERIFY(!QList<int>({100, 101, 102, 103, 999}).contains(uid));
    QCOMPARE(m_pellux->store()->operatorsMap().value(uid).surname, QStringLiteral("Смирнов"));
}

void TstOperatorPage::addGroupedByOperator()
{
    m_pellux->select({{"Сидоров Семён"}});
    bool loginEnabled = true;
    QStringList shownUids;
    auto newOperator = [&](const QString& fullName) {
        return [&, fullName](QWidget* dialog) {
            loginEnabled = loginEnabled && dialog->findChild<QLineEdit*>("loginEdit")->isEnabled();
            shownUids << dialog->findChild<QLineEdit*>("uidEdit")->text();
            fillAndOk({{"fullNameEdit", fullName}})(dialog);
        };
    };
    ModalAnswerer answers;
    answers.handleNext(newOperator(QStringLiteral("Орлов Олег Олегович")));
    answers.handleNext(newOperator(QStringLiteral("Белов Борис Борисович")));
    QVERIFY(m_pellux->trigger(QStringLiteral("Новый оператор")));
    QVERIFY(m_pellux->trigger(QStringLiteral("Новый оператор")));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().size(), 2);
    // No registration is made here, so no login is asked.
    QVERIFY(!loginEnabled);
    QCOMPARE(shownUids.size(), 2);
    QVERIFY(shownUids.at(0) != shownUids.at(1));

    const QStringList tree = m_pellux->tree();
    QCOMPARE(tree.mid(tree.size() - 2), (QStringList{"Орлов Олег Олегович|||", "Белов Борис Борисович|||"}));

    m_pellux->plugin()->saveComplexConfig();
    const auto& stored = m_pellux->store()->operatorsMap();
    QCOMPARE(stored.size(), 6);
    QCOMPARE(stored.value(shownUids.at(0).toInt()).surname, QStringLiteral("Орлов"));
    QCOMPARE(stored.value(shownUids.at(1).toInt()).surname, QStringLiteral("Белов"));
}

void TstOperatorPage::editFullName_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("stored");

    QTest::newRow("three words") << "Кузнецов Карл Карлович" << "103 Кузнецов/Карл/Карлович/Главный инженер/Майор";
    QTest::newRow("two spaces") << "Кузнецов  Карлович" << "103 Кузнецов//Карлович/Главный инженер/Майор";
    QTest::newRow("one word") << "Кузнецов" << "103 Кузнецов///Главный инженер/Майор";
    QTest::newRow("four words") << "Кузнецов Карл Карлович Младший"
                                << "103 Кузнецов/Карл/Карлович Младший/Главный инженер/Майор";
}

void TstOperatorPage::editFullName()
{
    QFETCH(QString, fullName);
    QFETCH(QString, stored);

    // Grouped by operator, an operator row: the login is locked and not validated.
    const QModelIndex row = m_pellux->find({"Кузнецов Карл Карлович"});
    QString shownName;
    bool uidEditable = true;
    bool loginEnabled = true;
    ModalAnswerer answers;
    answers.handleNext([&](QWidget* dialog) {
        shownName = dialog->findChild<QLineEdit*>("fullNameEdit")->text();
        auto* uid = dialog->findChild<QLineEdit*>("uidEdit");
        uidEditable = uid->isEnabled() && !uid->isReadOnly();
        loginEnabled = dialog->findChild<QLineEdit*>("loginEdit")->isEnabled();
        QCOMPARE(uid->text(), QStringLiteral("103"));
        fillAndOk({{"fullNameEdit", fullName}, {"postEdit", "Главный инженер"}})(dialog);
    });
    const QRect rect = m_pellux->view()->visualRect(row);
    QVERIFY(rect.isValid());
    // A widget double click arrives after the press and release of the first click.
    QTest::mouseClick(m_pellux->view()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(m_pellux->view()->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(shownName, QStringLiteral("Кузнецов Карл Карлович"));
    QVERIFY(!uidEditable);
    QVERIFY(!loginEnabled);

    m_pellux->button(QStringLiteral("Сохранить"))->click();
    QCOMPARE(storedOperators(*m_pellux->store()).filter(QRegularExpression("^103 ")), QStringList{stored});
    QCOMPARE(m_pellux->store()->operatorCount(), 4);
}

// OK without a change keeps the three parts, even where the full name would split otherwise.
void TstOperatorPage::unchangedDialogKeepsNameParts()
{
    CoConfig::ComplexConfig& store = *m_pellux->store();
    store.operatorsMap()[103] = Common::Operator{103, "Безфамильный", "", "Отчество", "Майор", "Инженер"};
    QVERIFY(store.write(CoConfig::ObjectOperators));
    m_pellux->plugin()->setComplexConfig(&store);
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    m_pellux->select({{"Безфамильный Отчество"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Редактировать")));
    QCOMPARE(answers.pending(), 0);
    m_pellux->plugin()->saveComplexConfig();
    QCOMPARE(storedOperators(store).filter(QRegularExpression("^103 ")), QStringList{"103 /Безфамильный/Отчество/Инженер/Майор"});
}

void TstOperatorPage::editLogin()
{
    m_pellux->groupByUnion();
    m_pellux->select({{"Пост 1", "АРМ-11", "Петров Пётр Петрович"}});
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok); // its own login is not taken
    answers.handleNext(fillAndOk({{"loginEdit", "ivanov2"}}));
    answers.clickNext(QMessageBox::Ok);
    answers.handleNext(fillAndOk({{"loginEdit", "petrov2"}, {"rankEdit", "Майор"}}));
    QVERIFY(m_pellux->trigger(QStringLiteral("Редактировать")));
    QCOMPARE(answers.seen().size(), 1);
    QVERIFY(m_pellux->trigger(QStringLiteral("Редактировать")));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().mid(2), (QStringList{warningTaken, answers.seen().at(1)}));

    const QString row = QStringLiteral("    Петров Пётр Петрович|Старший оператор|Майор|petrov2");
    QCOMPARE(m_pellux->tree().count(row), 2);
    m_pellux->button(QStringLiteral("Сохранить"))->click();
    QCOMPARE(storedLogins(*m_pellux->store(), 11), (QStringList{"ivanov2=100", "petrov2=101"}));
}

void TstOperatorPage::removeOperatorAndRegistration()
{
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Cancel);
    answers.clickNext(QMessageBox::Ok);
    answers.clickNext(QMessageBox::Ok);
    // Иванов with his children, and Сидоров, registered only on АРМ-13 outside every union.
    m_pellux->select({{"Иванов Иван Иванович"}, {"Сидоров Семён"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Удалить")));
    QCOMPARE(m_pellux->tree().size(), 9);
    QVERIFY(m_pellux->trigger(QStringLiteral("Удалить")));
    // A registration shown through two unions goes from both.
    m_pellux->select({{"Петров Пётр Петрович", "Пост 1 / АРМ-11"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Удалить")));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().at(0).section(": ", 2), QStringLiteral("Удалить выделенных операторов?"));
    QCOMPARE(answers.seen().at(2).section(": ", 2), QStringLiteral("Удалить выделенные АРМы?"));
    QCOMPARE(answers.seen().at(0).section(": ", 1, 1), QStringLiteral("Редактор конфигурации. Операторы"));

    QCOMPARE(m_pellux->tree(), (QStringList{"Петров Пётр Петрович|Старший оператор|Капитан|",
                                            "Кузнецов Карл Карлович|Инженер|Майор|"}));
    m_pellux->plugin()->saveComplexConfig();
    QCOMPARE(m_pellux->store()->operatorsMap().keys(), (QList<int>{101, 103}));
    // No registration of a removed or missing operator survives, in a union or not.
    for (int arm : {10, 11, 12, 13})
        QCOMPARE(storedLogins(*m_pellux->store(), arm), QStringList());
}

void TstOperatorPage::removeStopsAtItemNotRemoved()
{
    m_pellux->groupByUnion();
    m_pellux->select({{"Пост 1", "АРМ-11", "Петров Пётр Петрович"},
                      {"Пост 2", "АРМ-12"},
                      {"Пост 1", "АРМ-10", "Иванов Иван Иванович"}});
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    // The page's own "Удалить" button does not look at the types.
    m_pellux->button(QStringLiteral("Удалить"))->click();
    QCOMPARE(answers.pending(), 0);
    const QStringList tree = m_pellux->tree();
    QVERIFY(!tree.join('\n').contains(QStringLiteral("petrov")));
    QVERIFY(tree.contains(QStringLiteral("    Иванов Иван Иванович|Оператор|Лейтенант|ivanov")));
    QCOMPARE(m_pellux->view()->selectionModel()->selectedIndexes().size(), 2);
}

void TstOperatorPage::copyPasteGroupedByUnion()
{
    m_pellux->groupByUnion();
    m_pellux->select({{"Пост 1", "АРМ-10", "Иванов Иван Иванович"}, {"Пост 1", "АРМ-11", "Петров Пётр Петрович"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Копировать")));
    ModalAnswerer answers; // none expected: a login already on the target is skipped silently
    m_pellux->select({{"Пост 2", "АРМ-12"}});
    m_pellux->button(QStringLiteral("Вставить"))->click();
    m_pellux->select({{"Пост 1", "АРМ-11", "Иванов Иван Иванович"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Вставить")));
    QCOMPARE(answers.seen(), QStringList());

    m_pellux->plugin()->saveComplexConfig();
    QCOMPARE(storedLogins(*m_pellux->store(), 12), (QStringList{"ivanov=100", "petrov=101"}));
    QCOMPARE(storedLogins(*m_pellux->store(), 11), (QStringList{"ivanov2=100", "ivanov=100", "petrov=101"}));
    // АРМ-10, АРМ-12, and АРМ-11 through both of its unions.
    QCOMPARE(m_pellux->tree().count(QStringLiteral("    Иванов Иван Иванович|Оператор|Лейтенант|ivanov")), 4);
}

void TstOperatorPage::copyPasteGroupedByOperator()
{
    m_pellux->select({{"Иванов Иван Иванович", "Пост 1 / АРМ-10"}, {"Иванов Иван Иванович", "Пост 2 / АРМ-11"}});
    m_pellux->button(QStringLiteral("Копировать"))->click();
    m_pellux->select({{"Кузнецов Карл Карлович"}});
    ModalAnswerer answers;
    answers.handleNext(fillAndOk({{"loginEdit", "kuz10"}}));
    answers.handleNext(fillAndOk({{"loginEdit", "kuz11"}}));
    QVERIFY(m_pellux->trigger(QStringLiteral("Вставить")));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().size(), 2);
    const QString label = QStringLiteral("Введите логин для оператора Кузнецов Карл Карлович АРМа ");
    QVERIFY2(answers.seen().at(0).endsWith(label + QStringLiteral("Пост 1 / АРМ-10")), qPrintable(answers.seen().at(0)));
    QVERIFY2(answers.seen().at(1).endsWith(label + QStringLiteral("Пост 2 / АРМ-11")), qPrintable(answers.seen().at(1)));

    const QStringList tree = m_pellux->tree();
    const int kuznetsov = tree.indexOf(QStringLiteral("Кузнецов Карл Карлович|Инженер|Майор|"));
    QCOMPARE(tree.mid(kuznetsov + 1), (QStringList{"  Пост 1 / АРМ-10|||kuz10", "  Пост 1 / АРМ-11|||kuz11",
                                                   "  Пост 2 / АРМ-11|||kuz11"}));
}

void TstOperatorPage::registerThroughAddMenu()
{
    m_pellux->select({{"Сидоров Семён"}});
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    answers.clickNext(QMessageBox::Ok);
    answers.handleNext(fillAndOk({{"loginEdit", "sidorov"}}));
    QVERIFY(m_pellux->trigger(QStringLiteral("Пост 2 / АРМ-12")));
    QCOMPARE(answers.seen().at(1), warningEmpty);
    QVERIFY(m_pellux->tree().contains(QStringLiteral("  Пост 2 / АРМ-12|||sidorov")));

    m_pellux->groupByUnion();
    m_pellux->select({{"Пост 1", "АРМ-11"}});
    answers.handleNext(fillAndOk({{"loginEdit", "petrov"}}));
    answers.clickNext(QMessageBox::Ok);
    answers.handleNext(fillAndOk({{"loginEdit", "kuznetsov"}}));
    QVERIFY(m_pellux->trigger(QStringLiteral("Кузнецов Карл Карлович")));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().at(4), warningTaken);

    m_pellux->plugin()->saveComplexConfig();
    QCOMPARE(storedLogins(*m_pellux->store(), 12), QStringList{"sidorov=102"});
    QCOMPARE(storedLogins(*m_pellux->store(), 11), (QStringList{"ivanov2=100", "kuznetsov=103", "petrov=101"}));
}

void TstOperatorPage::copyBufferDoesNotOutliveModel_data()
{
    QTest::addColumn<QString>("between");
    QTest::newRow("view switched") << "switch";
    QTest::newRow("cancelled") << "cancel";
    QTest::newRow("reloaded by the shell") << "reload";
    QTest::newRow("copied item removed") << "remove";
}

void TstOperatorPage::copyBufferDoesNotOutliveModel()
{
    QFETCH(QString, between);

    m_pellux->groupByUnion();
    const QStringList copied = {"Пост 1", "АРМ-11", "Петров Пётр Петрович"};
    m_pellux->select({copied});
    m_pellux->button(QStringLiteral("Копировать"))->click();

    ModalAnswerer answers;
    if (between == QLatin1String("switch")) {
        m_pellux->groupByOperator();
        m_pellux->select({{"Кузнецов Карл Карлович"}});
        m_pellux->button(QStringLiteral("Вставить"))->click();
        m_pellux->groupByUnion();
    } else if (between == QLatin1String("cancel")) {
        m_pellux->button(QStringLiteral("Отменить"))->click();
    } else if (between == QLatin1String("reload")) {
        m_pellux->plugin()->setComplexConfig(m_pellux->store());
    } else {
        answers.clickNext(QMessageBox::Ok);
        QVERIFY(m_pellux->trigger(QStringLiteral("Удалить")));
    }
    m_pellux->view()->expandAll();
    m_pellux->select({{"Пост 2", "АРМ-12"}});
    m_pellux->button(QStringLiteral("Вставить"))->click();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.seen().filter(QStringLiteral("LoginDialog")), QStringList());
    QCOMPARE(m_pellux->tree().last(), QStringLiteral("  АРМ-12|||"));
}

void TstOperatorPage::saveWritesStoreAndDisk()
{
    // The computer editor commits before this one and may carry stale registrations.
    m_pellux->store()->computers()[CoConfig::ComponentUid<1>(12)].registrations.insert("stale", 100);
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    m_pellux->select({{"Сидоров Семён"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Удалить")));
    answers.handleNext(fillAndOk({{"loginEdit", "kuz"}}));
    m_pellux->select({{"Кузнецов Карл Карлович"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Пост 1 / АРМ-10")));
    QCOMPARE(answers.pending(), 0);

    // The shell's save: every plugin commits, the store writes, a fresh store reads it back.
    m_pellux->plugin()->saveComplexConfig();
    QVERIFY2(m_pellux->store()->write(CoConfig::ObjectAll), qPrintable(m_pellux->store()->errorString()));
    CoConfig::ComplexConfig reread(m_dir->path(), 1, 64);
    for (const CoConfig::ComplexConfigInterface* store :
         {static_cast<CoConfig::ComplexConfigInterface*>(m_pellux->store()),
          static_cast<CoConfig::ComplexConfigInterface*>(&reread)}) {
        QCOMPARE(store->operatorsMap().keys(), (QList<int>{100, 101, 103}));
        QCOMPARE(storedLogins(*store, 10), (QStringList{"ivanov=100", "kuz=103"}));
        QCOMPARE(storedLogins(*store, 11), (QStringList{"ivanov2=100", "petrov=101"}));
        QCOMPARE(storedLogins(*store, 12), QStringList());
        QCOMPARE(storedLogins(*store, 13), QStringList());
    }
}

void TstOperatorPage::cancelDropsEdits()
{
    const QStringList original = m_pellux->tree();
    ModalAnswerer answers;
    answers.clickNext(QMessageBox::Ok);
    answers.handleNext(fillAndOk({{"fullNameEdit", "Другой Человек"}}));
    m_pellux->select({{"Петров Пётр Петрович"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Удалить")));
    m_pellux->select({{"Иванов Иван Иванович"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Редактировать")));
    QCOMPARE(answers.pending(), 0);
    QVERIFY(m_pellux->tree() != original);

    m_pellux->button(QStringLiteral("Отменить"))->click();
    m_pellux->view()->expandAll();
    QCOMPARE(m_pellux->tree(), original);
    m_pellux->plugin()->saveComplexConfig();
    QCOMPARE(m_pellux->store()->operatorsMap().value(100).surname, QStringLiteral("Иванов"));
}

void TstOperatorPage::registerPetrovOnArm12()
{
    ModalAnswerer answers;
    answers.handleNext(fillAndOk({{"loginEdit", "petrov12"}}));
    m_pellux->select({{"Петров Пётр Петрович"}});
    QVERIFY(m_pellux->trigger(QStringLiteral("Пост 2 / АРМ-12")));
}

void TstOperatorPage::reloadAfterShellSave()
{
    registerPetrovOnArm12();
    if (QTest::currentTestFailed())
        return;
    m_pellux->plugin()->saveComplexConfig();
    QVERIFY(m_pellux->store()->write(CoConfig::ObjectAll));
    QTreeView* view = m_pellux->view();
    m_pellux->plugin()->setComplexConfig(m_pellux->store());
    QCOMPARE(m_pellux->view(), view);
    view->expandAll();
    const QStringList tree = m_pellux->tree();
    QCOMPARE(tree.mid(tree.indexOf("Петров Пётр Петрович|Старший оператор|Капитан|") + 1, 3),
             (QStringList{"  Пост 1 / АРМ-11|||petrov", "  Пост 2 / АРМ-11|||petrov", "  Пост 2 / АРМ-12|||petrov12"}));

    // The buttons act on the tree that is shown.
    ModalAnswerer answers;
    m_pellux->select({{"Петров Пётр Петрович", "Пост 2 / АРМ-12"}});
    m_pellux->button(QStringLiteral("Копировать"))->click();
    m_pellux->select({{"Сидоров Семён"}});
    answers.handleNext(fillAndOk({{"loginEdit", "sidorov12"}}));
    m_pellux->button(QStringLiteral("Вставить"))->click();
    QCOMPARE(answers.pending(), 0);
    QVERIFY(m_pellux->tree().contains(QStringLiteral("  Пост 2 / АРМ-12|||sidorov12")));
}

// A save's reload takes the tab's own edits without reading them again; what another program
// then writes is shown.
void TstOperatorPage::reloadAfterASaveShowsOutsideChanges_data()
{
    QTest::addColumn<bool>("edited");
    QTest::newRow("nothing edited here") << false;
    QTest::newRow("a login added here") << true;
}

void TstOperatorPage::reloadAfterASaveShowsOutsideChanges()
{
    QFETCH(bool, edited);
    if (edited)
        registerPetrovOnArm12();
    if (QTest::currentTestFailed())
        return;
    m_pellux->plugin()->saveComplexConfig();
    QVERIFY(m_pellux->store()->write(CoConfig::ObjectAll));
    m_pellux->plugin()->setComplexConfig(m_pellux->store());
    m_pellux->view()->expandAll();
    QCOMPARE(m_pellux->tree().contains(QStringLiteral("  Пост 2 / АРМ-12|||petrov12")), edited);
    m_pellux->plugin()->saveComplexConfig(); // the reloaded set commits the same again
    QCOMPARE(storedLogins(*m_pellux->store(), 12).contains(QStringLiteral("petrov12=101")), edited);
    // A workstation and a union renamed elsewhere: the same tree shows the new names.
    {
        CoConfig::ComplexConfig other(m_dir->path(), CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        other.computers()[CoConfig::ComponentUid<1>(11)].name = QStringLiteral("АРМ-11а");
        other.armUnionsMap()[1].name = QStringLiteral("Пост 1а");
        QVERIFY2(other.write(CoConfig::ObjectAll), qPrintable(other.errorString()));
    }
    m_pellux->plugin()->setComplexConfig(m_pellux->store());
    QVERIFY(m_pellux->tree().join(QLatin1Char('\n')).contains(QStringLiteral("Пост 1а / АРМ-11а")));
    {
        CoConfig::ComplexConfig other(m_dir->path(), CoConfig::ObjectAll, 0);
        other.operatorsMap()[102].surname = QStringLiteral("Семёнов");
        QVERIFY2(other.write(CoConfig::ObjectAll), qPrintable(other.errorString()));
    }
    m_pellux->plugin()->setComplexConfig(m_pellux->store());
    m_pellux->view()->expandAll();
    const QString tree = m_pellux->tree().join(QLatin1Char('\n'));
    QVERIFY2(tree.contains(QStringLiteral("Семёнов Семён")), qPrintable(tree));
    QCOMPARE(tree.contains(QStringLiteral("Пост 2 / АРМ-12|||petrov12")), edited);
}

// With the operators unreadable nobody knows which operators exist: a save keeps every login.
void TstOperatorPage::unreadableOperatorsKeepLogins()
{
    m_pellux.reset();
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("operators/operators.xml"))));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("operators")));
    QFile broken(m_dir->filePath(QStringLiteral("operators/operators.xml")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("<operators><operator uid=");
    broken.close();
    m_pellux = std::make_unique<PelluxHarness>(m_dir->path());
    QVERIFY(m_pellux->isLoaded());
    QVERIFY(m_pellux->store()->readStatus() & CoConfig::ObjectOperators);

    m_pellux->plugin()->saveComplexConfig();
    QCOMPARE(storedLogins(*m_pellux->store(), 10), (QStringList{"ghost=999", "ivanov=100"}));
    QCOMPARE(storedLogins(*m_pellux->store(), 11), (QStringList{"ivanov2=100", "petrov=101"}));
    QCOMPARE(storedLogins(*m_pellux->store(), 13), QStringList{"sidorov=102"});
}

void TstOperatorPage::screenshots()
{
    const QString dir = QStringLiteral(ORVANE_TEST_BIN_DIR "/screenshots");
    QVERIFY(QDir().mkpath(dir));
    QWidget* page = m_pellux->page();
    m_pellux->view()->expandAll();
    QVERIFY(page->grab().save(dir + QStringLiteral("/operators-by-operator.png")));
    m_pellux->groupByUnion();
    QVERIFY(page->grab().save(dir + QStringLiteral("/operators-by-union.png")));
}

QTEST_MAIN(TstOperatorPage)
#include "tst_operatorpage.moc"
