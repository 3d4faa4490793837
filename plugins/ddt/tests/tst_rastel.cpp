#include "cellediting.h"
#include "cravent.h"
#include "demdectreeeditor.h"
#include "globalini.h"
#include "modalanswerer.h"
#include "orvaneedithistory.h"
#include "orvaneplugin.h"
#include "orvaneplugininterface.h"
#include "pluginlibrary.h"
#include "serverprocess.h"
#include "testfiles.h"

#include <QFile>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using DemDecData::DemDecTreeEditor;
using TestFiles::readFile;
using TestFiles::writeFile;

namespace {

constexpr int WaitMs = 10000;
const char* const Question = "Исходный файл изменен! Сохранить?";

} // namespace

class TestRastel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pluginContract();
    void connectsAndShowsDdtFiles();
    void foldersOpenWhenTheUserOpensThem();
    void withoutServerNothingOpens();
    void searchFindsServer();
    void emptySearchChangesNothing_data();
    void emptySearchChangesNothing();
    void unchangedFileAsksNothing();
    void changedFileIsOffered_data();
    void changedFileIsOffered();
    void openFileStays_data();
    void openFileStays();
    void openFileSelectedAgainIsReadAgain_data();
    void openFileSelectedAgainIsReadAgain();
    void onlyRegularFilesOpen();
    void malformedFileOpensNothing();
    void missingFolder();
    void failedSaveKeepsChanges();
    void shellSaveSavesOpenFile_data();
    void shellSaveSavesOpenFile();
    void historyOfTheOpenFile();
    void serverGoingAwayKeepsEditing();
    void unsavedChangesAtExit_data();
    void unsavedChangesAtExit();

private:
    void createPage(quint16 port, const QString& ddtDir = QString());
    // Waits (bounded) until the page's editor took the server's catalogue.
    bool editorReady() const;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    bool select(const QString& file);
    QString selectedPath() const;
    bool invoke(const char* slot, const QString& argument);
    void openChanged(const QString& file);
    QPushButton* button(const QString& text) const;
    QLabel* folderMessage() const;

    PluginLibrary m_library{QStringLiteral("orvane-70-ddt")};
    ServerProcess m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    ModalAnswerer* m_boxes = nullptr;

    OrvanePlugin* m_plugin = nullptr;
    QWidget* m_page = nullptr;
    DemDecTreeEditor* m_editor = nullptr;
    QTreeView* m_folders = nullptr;
    QFileSystemModel* m_files = nullptr;
    Cravent* m_client = nullptr;
};

void TestRastel::initTestCase()
{
    QVERIFY2(m_library.isLoaded(), qPrintable(m_library.errorString()));
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestRastel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkdir("sub"));
    const QString samples = ORVANE_SOURCE_DIR "/sample/ddt/";
    QVERIFY(QFile::copy(samples + "am_voice.ddt", path("a.ddt")));
    QVERIFY(QFile::copy(samples + "telegraph.ddt", path("b.ddt")));
    QVERIFY(QFile::copy(samples + "digital/psk_bits.ddt", path("sub/c.ddt")));
    QVERIFY(writeFile(path("notes.txt"), "not a tree"));
    for (const char* name : {"a.ddt", "b.ddt", "sub/c.ddt"})
        QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner);
    m_boxes = new ModalAnswerer(this);
}

void TestRastel::cleanup()
{
    m_library.destroy(m_plugin);
    m_plugin = nullptr;
    delete m_boxes;
    m_boxes = nullptr;
}

void TestRastel::createPage(quint16 port, const QString& ddtDir)
{
    QSettings& ini = Common::GlobalIni::ini();
    ini.clear();
    ini.setValue("DemDec/DdtDir", ddtDir.isEmpty() ? m_dir->path() : ddtDir);
    ini.setValue("DemDec/Address", "127.0.0.1");
    ini.setValue("DemDec/Port", port);
    ini.setValue("DemDec/SearchAddresses", QStringList{QStringLiteral("127.0.0.1:%1").arg(m_server.searchPort())});

    m_plugin = m_library.create();
    QVERIFY(m_plugin);
    m_page = m_plugin->widget();
    QVERIFY(m_page);
    m_editor = m_page->findChild<DemDecTreeEditor*>();
    m_client = m_page->findChild<Cravent*>();
    m_folders = nullptr;
    for (QTreeView* view : m_page->findChildren<QTreeView*>()) {
        if (auto* files = qobject_cast<QFileSystemModel*>(view->model())) {
            m_folders = view;
            m_files = files;
        }
    }
    QVERIFY(m_editor && m_client && m_folders);
}

bool TestRastel::editorReady() const
{
    if (m_editor->isInitialized())
        return true;
    QSignalSpy ready(m_page, SIGNAL(editorInitOk()));
    return ready.wait(WaitMs) && m_editor->isInitialized();
}

bool TestRastel::select(const QString& file)
{
    const QModelIndex index = m_files->index(file);
    if (!index.isValid())
        return false;
    m_folders->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

QString TestRastel::selectedPath() const
{
    const QModelIndexList rows = m_folders->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : m_files->filePath(rows.first());
}

bool TestRastel::invoke(const char* slot, const QString& argument)
{
    return argument.isNull() ? QMetaObject::invokeMethod(m_page, slot)
                             : QMetaObject::invokeMethod(m_page, slot, Q_ARG(QString, argument));
}

void TestRastel::openChanged(const QString& file)
{
    QVERIFY(editorReady());
    QVERIFY(select(file));
    QCOMPARE(m_editor->fileName(), file);
    QVERIFY(m_editor->addTask(QModelIndex(), 0).isValid());
    QVERIFY(m_editor->toByteArray() != readFile(file));
}

QPushButton* TestRastel::button(const QString& text) const
{
    for (QPushButton* candidate : m_page->findChildren<QPushButton*>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QLabel* TestRastel::folderMessage() const
{
    for (QLabel* label : m_page->findChildren<QLabel*>()) {
        if (label->parentWidget() == m_page)
            return label;
    }
    return nullptr;
}

void TestRastel::pluginContract()
{
    createPage(m_server.port());
    QCOMPARE(m_plugin->name(), QStringLiteral("Файлы .ddt"));
    QCOMPARE(m_plugin->widget(), m_page);
    QVERIFY(!m_plugin->menu());
    QVERIFY(!m_plugin->toolBar());
    QVERIFY(m_page->metaObject()->indexOfSignal("editorInitOk()") >= 0);
    for (const char* text : {"Папка по-умолчанию", "Выбрать папку...", "Обновить сервер ДД"})
        QVERIFY2(button(QString::fromUtf8(text)), text);
    m_library.factory()->destroyPlugin(nullptr);
}

void TestRastel::connectsAndShowsDdtFiles()
{
    createPage(m_server.port());
    QVERIFY(editorReady());
    QVERIFY(button("Обновить сервер ДД")->isHidden());
    QCOMPARE(m_editor->catalogue(), m_client->catalogue());

    // Only .ddt files show, sub-folders included.
    const QModelIndex root = m_folders->rootIndex();
    QCOMPARE(m_files->filePath(root), m_dir->path());
    const QModelIndex sub = m_files->index(path("sub"));
    QTRY_COMPARE_WITH_TIMEOUT(m_files->rowCount(root), 3, WaitMs);
    QStringList shown;
    for (int row = 0; row < m_files->rowCount(root); ++row)
        shown << m_files->index(row, 0, root).data().toString();
    shown.sort();
    QCOMPARE(shown, (QStringList{"a.ddt", "b.ddt", "sub"}));
    m_folders->expand(sub);
    QTRY_COMPARE_WITH_TIMEOUT(m_files->rowCount(sub), 1, WaitMs);

    QVERIFY(select(path("sub/c.ddt")));
    QCOMPARE(m_editor->fileName(), path("sub/c.ddt"));
    QVERIFY(m_editor->rootItem());
    QVERIFY(m_boxes->boxes().isEmpty());
}

void TestRastel::foldersOpenWhenTheUserOpensThem()
{
    // Folders below folders, as under "/" or a home folder.
    QString deepest = path("sub");
    for (int level = 0; level < 4; ++level) {
        deepest += "/f";
        QVERIFY(QDir().mkpath(deepest + "/g"));
    }
    createPage(m_server.port());
    QSignalSpy loaded(m_files, &QFileSystemModel::directoryLoaded);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.contains({m_dir->path()}), WaitMs);

    // Nothing below the shown folder is opened or read by itself...
    const QModelIndex sub = m_files->index(path("sub"));
    QVERIFY(!m_folders->isExpanded(sub));
    QVERIFY(m_files->canFetchMore(sub));

    // ... only what the user opens, one level at a time.
    m_folders->expand(sub);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.contains({path("sub")}), WaitMs);
    const QModelIndex f = m_files->index(path("sub/f"));
    QVERIFY(f.isValid());
    QVERIFY(!m_folders->isExpanded(f));
    QVERIFY(m_files->canFetchMore(f));
}

void TestRastel::withoutServerNothingOpens()
{
    createPage(ServerProcess::unusedPort());
    QSignalSpy outcome(m_client, &Cravent::OnConnected);
    QVERIFY(outcome.wait(WaitMs));
    QVERIFY(outcome.first().first().value<QNetData::QError>().isError());
    QVERIFY(!m_editor->isInitialized());
    QVERIFY(!button("Обновить сервер ДД")->isHidden());

    QVERIFY(select(path("a.ddt")));
    QVERIFY(!m_editor->rootItem());
    QVERIFY(m_boxes->boxes().isEmpty());
}

void TestRastel::searchFindsServer()
{
    createPage(ServerProcess::unusedPort());
    QSignalSpy outcome(m_client, &Cravent::OnConnected);
    QVERIFY(outcome.wait(WaitMs));
    QVERIFY(!m_editor->isInitialized());

    button("Обновить сервер ДД")->click();
    QVERIFY(editorReady());
    QVERIFY(button("Обновить сервер ДД")->isHidden());
    QCOMPARE(m_client->server().port(), m_server.port());
    QVERIFY(select(path("a.ddt")));
    QVERIFY(m_editor->rootItem());
}

void TestRastel::emptySearchChangesNothing_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("while offline") << false;
    QTest::newRow("while connected") << true;
}

void TestRastel::emptySearchChangesNothing()
{
    QFETCH(bool, connected);
    createPage(connected ? m_server.port() : ServerProcess::unusedPort());
    Common::GlobalIni::ini().setValue("DemDec/SearchAddresses",
                                      QStringLiteral("127.0.0.1:%1").arg(ServerProcess::unusedPort()));
    if (connected) {
        QVERIFY(editorReady());
        QVERIFY(select(path("a.ddt")));
    } else {
        QSignalSpy outcome(m_client, &Cravent::OnConnected);
        QVERIFY(outcome.wait(WaitMs));
    }

    QSignalSpy answers(m_client, &Cravent::OnSearch_AnswerRecieved);
    m_client->setMaxSearchTime(50); // nobody answers: no need to wait the page's whole second
    QVERIFY(invoke("rescanServers", QString()));
    QVERIFY(answers.wait(WaitMs));
    QVERIFY(answers.first().first().value<QList<DemDecData::QServerStatus>>().isEmpty());
    QCOMPARE(m_client->IsOFFLine(), !connected);
    QCOMPARE(m_editor->isInitialized(), connected);
    QCOMPARE(button("Обновить сервер ДД")->isHidden(), connected);
    QCOMPARE(m_editor->fileName(), connected ? path("a.ddt") : QString());
}

void TestRastel::unchangedFileAsksNothing()
{
    QElapsedTimer t; t.start();
    createPage(m_server.port());
    qWarning("page %lld", t.restart());
    QVERIFY(editorReady());
    qWarning("ready %lld", t.restart());
    QVERIFY(select(path("a.ddt")));
    qWarning("select %lld", t.restart());
    QCOMPARE(m_editor->fileName(), path("a.ddt"));
    QVERIFY(select(path("b.ddt")));
    QCOMPARE(m_editor->fileName(), path("b.ddt"));
    QVERIFY(m_boxes->boxes().isEmpty());
}

void TestRastel::changedFileIsOffered_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("save") << int(QMessageBox::Save);
    QTest::newRow("discard") << int(QMessageBox::Discard);
}

void TestRastel::changedFileIsOffered()
{
    QFETCH(int, answer);
    createPage(m_server.port());
    const QByteArray original = readFile(path("a.ddt"));
    openChanged(path("a.ddt"));
    const QByteArray changed = m_editor->toByteArray();

    m_boxes->clickNext(QMessageBox::StandardButton(answer));
    QVERIFY(select(path("b.ddt")));
    QCOMPARE(m_boxes->boxes().size(), 1);
    const ModalAnswerer::Box box = m_boxes->boxes().first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.title, QStringLiteral("Внимание!"));
    QCOMPARE(box.text, QString::fromUtf8(Question));
    QCOMPARE(m_editor->fileName(), path("b.ddt"));
    QCOMPARE(readFile(path("a.ddt")), answer == QMessageBox::Save ? changed : original);

    // Opened again, the file reads as it was left.
    QVERIFY(select(path("a.ddt")));
    QCOMPARE(m_editor->toByteArray(), answer == QMessageBox::Save ? changed : original);
    QCOMPARE(m_boxes->boxes().size(), 1);
}

void TestRastel::openFileStays_data()
{
    QTest::addColumn<QByteArray>("action");
    QTest::newRow("the shown folder chosen again") << QByteArray("same folder");
    QTest::newRow("the shown folder by another path") << QByteArray("same folder, other spelling");
    QTest::newRow("the default folder button") << QByteArray("default button");
    QTest::newRow("a folder row selected") << QByteArray("folder row");
    QTest::newRow("the folder dialog cancelled") << QByteArray("cancelled dialog");
}

void TestRastel::openFileStays()
{
    QFETCH(QByteArray, action);
    createPage(m_server.port());
    openChanged(path("a.ddt"));
    const QByteArray changed = m_editor->toByteArray();

    if (action == "same folder")
        QVERIFY(invoke("changeDDTDir", m_dir->path()));
    else if (action == "same folder, other spelling")
        QVERIFY(invoke("changeDDTDir", m_dir->path() + "/sub/../"));
    else if (action == "default button")
        button("Папка по-умолчанию")->click();
    else if (action == "folder row")
        QVERIFY(select(path("sub")));
    else if (action == "cancelled dialog")
        QVERIFY(invoke("selectDDTDir", QString()));

    QCOMPARE(m_editor->fileName(), path("a.ddt"));
    QCOMPARE(m_editor->toByteArray(), changed);
    QCOMPARE(m_files->filePath(m_folders->rootIndex()), m_dir->path());
    // Only the cancelled folder dialog was shown; no question was asked.
    QCOMPARE(m_boxes->boxes().size(), action == "cancelled dialog" ? 1 : 0);
    if (action == "cancelled dialog")
        QCOMPARE(m_boxes->boxes().first().icon, QMessageBox::NoIcon);
}

void TestRastel::openFileSelectedAgainIsReadAgain_data()
{
    QTest::addColumn<bool>("change");
    QTest::addColumn<int>("answer");
    QTest::newRow("unchanged") << false << int(QMessageBox::NoButton);
    QTest::newRow("changed, saved") << true << int(QMessageBox::Save);
    QTest::newRow("changed, discarded") << true << int(QMessageBox::Discard);
}

void TestRastel::openFileSelectedAgainIsReadAgain()
{
    QFETCH(bool, change);
    QFETCH(int, answer);
    createPage(m_server.port());
    QVERIFY(editorReady());
    QVERIFY(select(path("a.ddt")));
    if (change)
        QVERIFY(m_editor->addTask(QModelIndex(), 0).isValid());
    const QByteArray edited = m_editor->toByteArray();
    // Another program rewrites the file meanwhile; the user looks at a folder, then at the file.
    QVERIFY(QFile::remove(path("a.ddt")) && QFile::copy(path("b.ddt"), path("a.ddt")));
    QVERIFY(select(path("sub")));
    QCOMPARE(m_editor->fileName(), path("a.ddt"));

    if (change)
        m_boxes->clickNext(QMessageBox::StandardButton(answer));
    QVERIFY(select(path("a.ddt")));
    QCOMPARE(m_boxes->boxes().size(), change ? 1 : 0);
    if (change)
        QCOMPARE(m_boxes->boxes().first().text, QString::fromUtf8(Question));
    const QByteArray onDisk = answer == QMessageBox::Save ? edited : readFile(path("b.ddt"));
    QCOMPARE(readFile(path("a.ddt")), onDisk);
    QCOMPARE(m_editor->fileName(), path("a.ddt"));
    QCOMPARE(m_editor->toByteArray(), onDisk);
}

void TestRastel::onlyRegularFilesOpen()
{
    // A .ddt file listed in the folder is replaced by a FIFO before the user selects it (the
    // folder view shows no FIFOs, but it cannot follow every change at once).
    createPage(m_server.port());
    QVERIFY(editorReady());
    QVERIFY(select(path("b.ddt")));
    QVERIFY(QFile::copy(path("b.ddt"), path("pipe.ddt")));
    QTRY_VERIFY_WITH_TIMEOUT(m_files->index(path("pipe.ddt")).isValid(), WaitMs);
    const QByteArray fifo = QFile::encodeName(path("pipe.ddt"));
    QVERIFY(QFile::remove(path("pipe.ddt")));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);

    // A writer meets a reader that waits on the FIFO, so that a failure ends instead of hanging.
    std::thread writer([fifo] {
        const int fd = ::open(fifo.constData(), O_WRONLY | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    });
    const bool selected = select(path("pipe.ddt"));
    const int release = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer.join();
    ::close(release);

    QVERIFY(selected);
    QVERIFY(!m_editor->rootItem());
    QVERIFY2(m_editor->lastError().contains("pipe.ddt") && m_editor->lastError().contains("не обычный файл"),
             qPrintable(m_editor->lastError()));
    QVERIFY(m_boxes->boxes().isEmpty());
}

void TestRastel::malformedFileOpensNothing()
{
    createPage(m_server.port());
    QVERIFY(writeFile(path("bad.ddt"), "<?xml version=\"1.0\"?>\n<proc_node>\n<processing_node>\n</proc_node>\n"));
    QVERIFY(editorReady());
    QVERIFY(select(path("a.ddt")));

    QVERIFY(select(path("bad.ddt")));
    QVERIFY(!m_editor->rootItem());
    QVERIFY(m_editor->toByteArray().isEmpty());
    QVERIFY2(m_editor->lastError().contains("bad.ddt") && m_editor->lastError().contains("строка 4"),
             qPrintable(m_editor->lastError()));

    QVERIFY(select(path("b.ddt")));
    QCOMPARE(m_editor->fileName(), path("b.ddt"));
    QVERIFY(m_boxes->boxes().isEmpty());
}

void TestRastel::missingFolder()
{
    const QString missing = path("later");
    createPage(m_server.port(), missing);
    QVERIFY(m_folders->isHidden());
    QVERIFY(folderMessage() && !folderMessage()->isHidden());
    QVERIFY(folderMessage()->text().contains(missing));

    // Once the folder exists, the default folder button shows it.
    QVERIFY(QDir(m_dir->path()).mkdir("later"));
    QVERIFY(QFile::copy(path("b.ddt"), path("later/d.ddt")));
    button("Папка по-умолчанию")->click();
    QVERIFY(!m_folders->isHidden());
    QVERIFY(folderMessage()->isHidden());
    QCOMPARE(m_files->filePath(m_folders->rootIndex()), missing);

    // Moving to a folder that is not there closes the open file, asking first.
    openChanged(path("later/d.ddt"));
    m_boxes->clickNext(QMessageBox::Discard);
    QVERIFY(invoke("changeDDTDir", path("nowhere")));
    QCOMPARE(m_boxes->boxes().size(), 1);
    QVERIFY(!m_editor->rootItem());
    QVERIFY(m_folders->isHidden());
    QVERIFY(folderMessage()->text().contains(path("nowhere")));
}

void TestRastel::failedSaveKeepsChanges()
{
    createPage(m_server.port());
    const QByteArray original = readFile(path("a.ddt"));
    openChanged(path("a.ddt"));
    const QByteArray changed = m_editor->toByteArray();
    QVERIFY(QFile::setPermissions(path("a.ddt"), QFile::ReadOwner | QFile::ReadGroup));

    m_boxes->clickNext(QMessageBox::Save);
    QVERIFY(select(path("b.ddt")));
    QCOMPARE(m_boxes->boxes().size(), 2);
    const ModalAnswerer::Box failure = m_boxes->boxes().at(1);
    QCOMPARE(failure.icon, QMessageBox::Critical);
    QVERIFY2(failure.text.contains(path("a.ddt")), qPrintable(failure.text));
    QCOMPARE(readFile(path("a.ddt")), original);
    QCOMPARE(m_editor->fileName(), path("a.ddt"));
    QCOMPARE(m_editor->toByteArray(), changed);
    QCOMPARE(selectedPath(), path("a.ddt"));

    // Changing folder fails the same way and keeps the folder.
    m_boxes->clickNext(QMessageBox::Save);
    QVERIFY(invoke("changeDDTDir", path("sub")));
    QCOMPARE(m_boxes->boxes().size(), 4);
    QCOMPARE(m_files->filePath(m_folders->rootIndex()), m_dir->path());
    QCOMPARE(m_editor->toByteArray(), changed);

    // Writable again, the save goes through.
    QVERIFY(QFile::setPermissions(path("a.ddt"), QFile::ReadOwner | QFile::WriteOwner));
    m_boxes->clickNext(QMessageBox::Save);
    QVERIFY(select(path("b.ddt")));
    QCOMPARE(m_boxes->boxes().size(), 5);
    QCOMPARE(readFile(path("a.ddt")), changed);
    QCOMPARE(m_editor->fileName(), path("b.ddt"));
}

void TestRastel::shellSaveSavesOpenFile_data()
{
    QTest::addColumn<bool>("writable");
    QTest::newRow("written") << true;
    QTest::newRow("read-only file: said, changes kept") << false;
}

// The shell's save saves the changed file, with the attribute value still being typed; a failed
// save says why through the plugin's Error and keeps the changes. Nothing is asked.
void TestRastel::shellSaveSavesOpenFile()
{
    QFETCH(bool, writable);
    createPage(m_server.port());
    const QByteArray original = readFile(path("a.ddt"));
    openChanged(path("a.ddt"));
    auto* attributes = m_editor->findChild<QTableView*>();
    QVERIFY(attributes);
    QVERIFY(attributes->model()->rowCount() > 0);
    const QModelIndex value = attributes->model()->index(0, 1);
    auto* line = qobject_cast<QLineEdit*>(CellEditing::openByDoubleClick(attributes, value));
    QVERIFY(line);
    const QString typed = QStringLiteral("набрано-без-Return");
    line->setText(typed);
    if (!writable)
        QVERIFY(QFile::setPermissions(path("a.ddt"), QFile::ReadOwner | QFile::ReadGroup));

    QSignalSpy errors(m_plugin, SIGNAL(Error(QString)));
    m_plugin->saveComplexConfig();
    QVERIFY(m_boxes->boxes().isEmpty());
    QCOMPARE(m_editor->toByteArray().contains(typed.toUtf8()), true);
    QCOMPARE(readFile(path("a.ddt")), writable ? m_editor->toByteArray() : original);
    QCOMPARE(errors.size(), writable ? 0 : 1);
    if (!writable) {
        QVERIFY2(errors.at(0).at(0).toString().contains(path("a.ddt")), qPrintable(errors.at(0).at(0).toString()));
        return;
    }
    // Saved: another file opens without the question.
    QVERIFY(select(path("b.ddt")));
    QCOMPARE(m_editor->fileName(), path("b.ddt"));
    QVERIFY(m_boxes->boxes().isEmpty());
}

// A node added and an attribute edited are steps of the plugin's history, each taken back to
// the very bytes; a save makes it clean, another file starts it again.
void TestRastel::historyOfTheOpenFile()
{
    createPage(m_server.port());
    const QByteArray original = readFile(path("a.ddt"));
    openChanged(path("a.ddt"));
    auto* history = qobject_cast<OrvaneEditHistory*>(m_plugin);
    QVERIFY(history && history->undoStack());
    QUndoStack* stack = history->undoStack();
    QCOMPARE(stack->count(), 1);
    QCOMPARE(stack->undoText(), QStringLiteral("Добавление узла"));
    const QByteArray added = m_editor->toByteArray();
    QAbstractItemModel* attributes = m_editor->findChild<QTableView*>()->model();
    QVERIFY(attributes->setData(attributes->index(0, 1), QStringLiteral("изменено")));
    QCOMPARE(stack->undoText(), QStringLiteral("Изменение атрибута"));
    const QByteArray edited = m_editor->toByteArray();

    stack->undo();
    QCOMPARE(m_editor->toByteArray(), added);
    stack->undo();
    QCOMPARE(m_editor->toByteArray(), original);
    stack->redo();
    stack->redo();
    QCOMPARE(m_editor->toByteArray(), edited);

    QVERIFY(!stack->isClean());
    m_plugin->saveComplexConfig();
    QVERIFY(stack->isClean());
    QVERIFY(select(path("b.ddt")));
    QCOMPARE(stack->count(), 0);
}

void TestRastel::serverGoingAwayKeepsEditing()
{
    ServerProcess server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    createPage(server.port());
    openChanged(path("a.ddt"));
    const QByteArray changed = m_editor->toByteArray();

    server.stop();
    QTRY_VERIFY_WITH_TIMEOUT(m_client->IsOFFLine(), WaitMs);
    QVERIFY(m_editor->isInitialized());
    QCOMPARE(m_editor->toByteArray(), changed);

    m_boxes->clickNext(QMessageBox::Save);
    QVERIFY(select(path("b.ddt")));
    QCOMPARE(readFile(path("a.ddt")), changed);
    QCOMPARE(m_editor->fileName(), path("b.ddt"));
}

void TestRastel::unsavedChangesAtExit_data()
{
    QTest::addColumn<bool>("change");
    QTest::addColumn<int>("answer");
    QTest::newRow("changed, saved") << true << int(QMessageBox::Save);
    QTest::newRow("changed, discarded") << true << int(QMessageBox::Discard);
    QTest::newRow("unchanged") << false << int(QMessageBox::Save);
}

void TestRastel::unsavedChangesAtExit()
{
    QFETCH(bool, change);
    QFETCH(int, answer);
    // Written by hand in another layout than the editor's, so that a rewrite would show.
    QByteArray original = readFile(path("a.ddt"));
    original.replace("    ", "\t").replace('"', '\'').replace("?>\n", "?>\n<!-- written by hand -->\n");
    QVERIFY(writeFile(path("a.ddt"), original));
    createPage(m_server.port());
    QVERIFY(editorReady());
    QVERIFY(select(path("a.ddt")));
    QVERIFY2(m_editor->rootItem(), qPrintable(m_editor->lastError()));
    QVERIFY(m_editor->toByteArray() != original);
    if (change)
        QVERIFY(m_editor->addTask(QModelIndex(), 0).isValid());
    const QByteArray edited = m_editor->toByteArray();

    if (change)
        m_boxes->clickNext(QMessageBox::StandardButton(answer));
    m_library.destroy(m_plugin);
    m_plugin = nullptr;
    QCOMPARE(m_boxes->boxes().size(), change ? 1 : 0);
    if (change)
        QCOMPARE(m_boxes->boxes().first().text, QString::fromUtf8(Question));
    QCOMPARE(readFile(path("a.ddt")), change && answer == QMessageBox::Save ? edited : original);
}

QTEST_MAIN(TestRastel)
#include "tst_rastel.moc"
