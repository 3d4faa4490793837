#include "modalanswerer.h"
#include "orvaneplugin.h"
#include "pluginlibrary.h"
#include "teststore.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

// What is the channel server editor's own: which member each column shows and
// edits, the board cells' tooltip and numbers in the port columns. What every component table
// shares is checked by tst_componenttables.

using CoConfig::ComponentUid;

namespace {

const QString library = QStringLiteral("orvane-31-channel-servers");

CoConfig::ChannelServer server(int uid, int computer, int board)
{
    return CoConfig::ChannelServer{ComponentUid<3>(uid), ComponentUid<1>(computer), true, board, "СК-1", 5001, 5002, 5003};
}

// The store's channel servers as uid, computer, x64, board, name and the three ports.
QVariantList members(const CoConfig::ChannelServer& s)
{
    return {s.uid.value, s.computer.value, s.x64, s.board, s.name, s.controlPort, s.signalPort, s.dacPort};
}

} // namespace

class TestJolvane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void columnsShowAndEditTheirMember_data();
    void columnsShowAndEditTheirMember();
    void boardCellsExplainAutomaticStart();
    void portCountersStoreNumbers_data();
    void portCountersStoreNumbers();

private:
    // The plugin over the store holding those servers.
    QTableView* open(const QList<CoConfig::ChannelServer>& servers);

    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<PluginLibrary> m_library;
    OrvanePlugin* m_plugin = nullptr;
};

void TestJolvane::init()
{
    m_store = std::make_unique<TestStore>();
    m_store->get()->racks().insert(ComponentUid<0>(1), CoConfig::Rack{ComponentUid<0>(1), "Приёмная стойка", "СП"});
    for (const auto& [uid, rack, name] : {std::tuple{10, 1, "Сервер КВ"}, std::tuple{11, -1, "Сервер УКВ"}}) {
        CoConfig::Computer computer;
        computer.uid = ComponentUid<1>(uid);
        computer.rack = ComponentUid<0>(rack);
        computer.name = QString::fromUtf8(name);
        m_store->get()->computers().insert(computer.uid, computer);
    }
    m_library = std::make_unique<PluginLibrary>(library);
}

void TestJolvane::cleanup()
{
    m_library.reset();
    m_store.reset();
    m_plugin = nullptr;
}

QTableView* TestJolvane::open(const QList<CoConfig::ChannelServer>& servers)
{
    for (const CoConfig::ChannelServer& s : servers)
        m_store->get()->receivers().channelServers.insert(s.uid, s);
    m_plugin = m_library->create();
    if (!m_plugin)
        return nullptr;
    m_plugin->setComplexConfig(m_store->get());
    return m_plugin->widget()->findChild<QTableView*>();
}

void TestJolvane::columnsShowAndEditTheirMember_data()
{
    QTest::addColumn<int>("computer"); // of the server in the store
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("shown");
    QTest::addColumn<QVariant>("edited");
    QTest::addColumn<QVariantList>("saved");

    QTest::newRow("ID") << 10 << 0 << QVariant(3) << QVariant(QSize(8, 3))
                        << QVariantList{8, 10, true, 2, "СК-1", 5001, 5002, 5003};
    QTest::newRow("Плата") << 10 << 1 << QVariant(2) << QVariant(-1) << QVariantList{3, 10, true, -1, "СК-1", 5001, 5002, 5003};
    QTest::newRow("Название") << 10 << 2 << QVariant("СК-1") << QVariant("СК-2")
                              << QVariantList{3, 10, true, 2, "СК-2", 5001, 5002, 5003};
    QTest::newRow("x64") << 10 << 3 << QVariant("Да") << QVariant(false) << QVariantList{3, 10, false, 2, "СК-1", 5001, 5002, 5003};
    QTest::newRow("Компьютер") << 10 << 4 << QVariant("Приёмная стойка/Сервер КВ") << QVariant(QSize(11, 1))
                               << QVariantList{3, 11, true, 2, "СК-1", 5001, 5002, 5003};
    QTest::newRow("Компьютер: no rack") << 11 << 4 << QVariant("/Сервер УКВ") << QVariant(QSize(-1, 1))
                                        << QVariantList{3, -1, true, 2, "СК-1", 5001, 5002, 5003};
    QTest::newRow("Компьютер: removed") << 12 << 4 << QVariant("/") << QVariant(QSize(10, 1))
                                        << QVariantList{3, 10, true, 2, "СК-1", 5001, 5002, 5003};
    QTest::newRow("Компьютер: none") << -1 << 4 << QVariant() << QVariant(QSize(10, 1))
                                     << QVariantList{3, 10, true, 2, "СК-1", 5001, 5002, 5003};
    QTest::newRow("Порт управления") << 10 << 5 << QVariant(5001) << QVariant(6001)
                                     << QVariantList{3, 10, true, 2, "СК-1", 6001, 5002, 5003};
    QTest::newRow("Порт сигнала") << 10 << 6 << QVariant(5002) << QVariant(6002)
                                  << QVariantList{3, 10, true, 2, "СК-1", 5001, 6002, 5003};
    QTest::newRow("Порт ЦАК") << 10 << 7 << QVariant(5003) << QVariant(6003)
                              << QVariantList{3, 10, true, 2, "СК-1", 5001, 5002, 6003};
}

void TestJolvane::columnsShowAndEditTheirMember()
{
    QFETCH(int, computer);
    QFETCH(int, column);
    QFETCH(QVariant, shown);
    QFETCH(QVariant, edited);
    QFETCH(QVariantList, saved);

    QTableView* view = open({server(3, computer, 2)});
    QVERIFY(view);
    const QModelIndex cell = view->model()->index(0, column);
    QCOMPARE(cell.data(Qt::DisplayRole), shown);
    QVERIFY(view->model()->setData(cell, edited));
    m_plugin->saveComplexConfig();
    QCOMPARE(m_store->get()->receivers().channelServers.size(), 1);
    QCOMPARE(members(m_store->get()->receivers().channelServers.first()), saved);
}

void TestJolvane::boardCellsExplainAutomaticStart()
{
    QTableView* view = open({server(1, 10, -1), server(2, 10, 0), server(3, 11, 4)});
    QVERIFY(view);
    const QString tip = QStringLiteral("Если индекс платы больше или равен нулю, то planning будет автоматически стартовать сервер");
    for (int row = 0; row < 3; ++row)
        QCOMPARE(view->model()->index(row, 1).data(Qt::ToolTipRole).toString(), tip);
    QCOMPARE(view->model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Через какую плату осуществляется доступ к каналу"));
    QVERIFY(!view->model()->index(0, 2).data(Qt::ToolTipRole).isValid());
}

void TestJolvane::portCountersStoreNumbers_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QList<int>>("ports");

    QTest::newRow("number") << "[C]" << QList<int>({7000, 7010, 5001});
    QTest::newRow("letters") << "P-[C]" << QList<int>({0, 0, 5001});
}

// Counter texts go into a port column as numbers; a text that is no number stores 0.
void TestJolvane::portCountersStoreNumbers()
{
    QFETCH(QString, mask);
    QFETCH(QList<int>, ports);

    QTableView* view = open({server(1, 10, 0), server(2, 10, 1), server(3, 10, 2)});
    QVERIFY(view);
    QItemSelectionModel* selection = view->selectionModel();
    for (int row : {0, 1})
        selection->select(view->model()->index(row, 5), QItemSelectionModel::Select);
    selection->setCurrentIndex(view->model()->index(0, 5), QItemSelectionModel::NoUpdate);

    bool answered = false;
    ModalAnswerer answers;
    answers.handleNext([&](QWidget* modal) {
        auto* text = modal->findChild<QLineEdit*>(QStringLiteral("mask"));
        auto* start = modal->findChild<QSpinBox*>(QStringLiteral("start"));
        auto* step = modal->findChild<QSpinBox*>(QStringLiteral("step"));
        if (!text || !start || !step)
            return ModalAnswerer::dismiss(modal);
        text->setText(mask);
        start->setValue(7000);
        step->setValue(10);
        answered = true;
        qobject_cast<QDialog*>(modal)->accept();
    });
    m_plugin->toolBar()->actions().at(4)->trigger(); // "Заполнить счётчиком"
    QVERIFY(answered);

    m_plugin->saveComplexConfig();
    QList<int> saved;
    for (const CoConfig::ChannelServer& s : std::as_const(m_store->get()->receivers().channelServers))
        saved.append(s.controlPort);
    QCOMPARE(saved, ports);
}

QTEST_MAIN(TestJolvane)
#include "tst_jolvane.moc"
