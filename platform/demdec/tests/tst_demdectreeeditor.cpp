#include "cravent.h"
#include "ddtnode.h"
#include "ddttreemodel.h"
#include "demdectreeeditor.h"
#include "serverprocess.h"
#include "testfiles.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using DemDecData::DdtNode;
using DemDecData::DemDecTreeEditor;
using TestFiles::readFile;
using TestFiles::writeFile;

namespace {

constexpr int MaxDepth = 14;

} // namespace

class TestDemDecTreeEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void uninitialisedOpensNothing();
    void editsChangeTheBytes();
    void editsFollowTheRules();
    void saveKeepsOwnerGroupAndMode_data();
    void saveKeepsOwnerGroupAndMode();
    void saveFailureKeepsTheTree_data();
    void saveFailureKeepsTheTree();
    void malformedFileKeepsTheOpenTree_data();
    void malformedFileKeepsTheOpenTree();
    void valuesAFileCannotHoldAreRefused_data();
    void valuesAFileCannotHoldAreRefused();

private:
    QString copySample(const QString& name);
    // Initialises the editor from the client and opens a copy of the sample; its path, or
    // empty when that failed.
    QString openSample(DemDecTreeEditor& editor, const QString& name);

    ServerProcess m_server;
    Cravent m_client;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDemDecTreeEditor::initTestCase()
{
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
    QSignalSpy connected(&m_client, &Cravent::OnConnected);
    m_client.Connect("127.0.0.1", m_server.port());
    QVERIFY(connected.wait(10000));
    QVERIFY(!m_client.IsOFFLine());
}

void TestDemDecTreeEditor::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestDemDecTreeEditor::copySample(const QString& name)
{
    const QString path = m_dir->filePath(QFileInfo(name).fileName());
    QFile::copy(ORVANE_SOURCE_DIR "/sample/ddt/" + name, path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

QString TestDemDecTreeEditor::openSample(DemDecTreeEditor& editor, const QString& name)
{
    const QString path = copySample(name);
    return editor.initFromClient(&m_client) && editor.openTree(path) ? path : QString();
}

void TestDemDecTreeEditor::uninitialisedOpensNothing()
{
    DemDecTreeEditor editor(MaxDepth);
    const QString path = copySample("am_voice.ddt");
    QVERIFY(!editor.isInitialized());
    QVERIFY(!editor.openTree(path));
    QVERIFY(!editor.rootItem());
    QVERIFY(editor.toByteArray().isEmpty());
    QVERIFY(editor.lastError().contains("am_voice.ddt"));

    Cravent offline;
    QVERIFY(!editor.initFromClient(&offline));
    QVERIFY(!editor.isInitialized());
}

void TestDemDecTreeEditor::editsChangeTheBytes()
{
    DemDecTreeEditor editor(MaxDepth);
    QAbstractItemModelTester treeTester(editor.model());
    auto* attributeView = editor.findChild<QTableView*>();
    QVERIFY(attributeView);
    QAbstractItemModelTester attributeTester(attributeView->model());

    QVERIFY(editor.initFromClient(&m_client));
    QCOMPARE(editor.catalogue(), m_client.catalogue());
    const QString path = copySample("telegraph.ddt");
    QVERIFY2(editor.openTree(path), qPrintable(editor.lastError()));
    QCOMPARE(editor.fileName(), path);
    const QByteArray opened = editor.toByteArray();
    QCOMPARE(opened, readFile(path));

    // A catalogue entry goes under the root with the entry's attributes.
    const QModelIndex root = editor.model()->index(0, 0);
    const QModelIndex added = editor.addTask(root, 1);
    QVERIFY(added.isValid());
    QCOMPARE(editor.model()->node(added)->values(), m_client.catalogue().entries().at(1).values);
    QVERIFY(editor.toByteArray() != opened);

    // Removing it again gives back the bytes as opened.
    QVERIFY(editor.removeNode(added));
    QCOMPARE(editor.toByteArray(), opened);

    // Editing a value in the attribute table edits the tree.
    const QModelIndex task = editor.model()->index(0, 0, root);
    QCOMPARE(editor.currentNode(), editor.model()->index(0, 0)); // opening selects the root
    editor.findChild<QTreeView*>()->setCurrentIndex(task);
    QAbstractItemModel* attributes = attributeView->model();
    QCOMPARE(attributes->rowCount(), 8);
    QCOMPARE(attributes->index(4, 0).data().toString(), QStringLiteral("name"));
    QVERIFY(attributes->setData(attributes->index(4, 1), "Другое имя"));
    QCOMPARE(editor.model()->node(task)->attribute("name"), QStringLiteral("Другое имя"));
    QCOMPARE(task.data().toString(), QStringLiteral("Другое имя"));
    QVERIFY(editor.toByteArray().contains("Другое имя"));
    QVERIFY(!attributes->setData(attributes->index(4, 0), "renamed")); // names are fixed

    // Removing the shown node empties the attribute table.
    QVERIFY(editor.removeNode(task));
    QCOMPARE(attributes->rowCount(), 0);

    editor.clear();
    QVERIFY(!editor.rootItem());
    QVERIFY(editor.toByteArray().isEmpty());
    QVERIFY(editor.fileName().isEmpty());
}

void TestDemDecTreeEditor::editsFollowTheRules()
{
    DemDecTreeEditor editor(MaxDepth);
    QAbstractItemModelTester tester(editor.model());
    QVERIFY(!openSample(editor, "am_voice.ddt").isEmpty());

    const QModelIndex root = editor.model()->index(0, 0);
    QVERIFY(!editor.removeNode(root));
    QVERIFY(!editor.addResults(root).isValid()); // results belong to a processing node
    QVERIFY(!editor.addTask(root, m_client.catalogue().size()).isValid());

    // A result added at a results node goes to the processing node above it, and takes the
    // demodulator's id and the next free result id.
    const QModelIndex am = editor.model()->index(0, 0, root);
    const QModelIndex recorder = editor.model()->index(0, 0, am);
    const QModelIndex existing = editor.model()->index(0, 0, recorder);
    QCOMPARE(editor.model()->node(existing)->kind(), DdtNode::Kind::Results);
    const QModelIndex result = editor.addResults(existing);
    QVERIFY(result.isValid());
    QCOMPARE(result.parent(), recorder);
    QCOMPARE(editor.model()->node(result)->attribute("dem"), QStringLiteral("401"));
    QCOMPARE(editor.model()->node(result)->attribute("id"), QStringLiteral("2"));

    // Processing nodes nest no deeper than the limit.
    QModelIndex deepest = recorder;
    for (int depth = 3; depth <= MaxDepth; ++depth) {
        deepest = editor.addTask(deepest, 0);
        QVERIFY(deepest.isValid());
    }
    QCOMPARE(editor.rootItem()->processingHeight(), MaxDepth);
    QVERIFY(!editor.addTask(deepest, 0).isValid());
    QVERIFY(editor.addResults(deepest).isValid());
}

void TestDemDecTreeEditor::saveKeepsOwnerGroupAndMode_data()
{
    QTest::addColumn<uint>("owner"); // -1: this process's own user
    QTest::addColumn<uint>("group");
    QTest::addColumn<uint>("mode");
    QTest::addColumn<uint>("folderMode");

    const uint self = uint(-1);
    QTest::newRow("a group-shared folder") << self << 4242u << 0640u << 02770u;
    QTest::newRow("another user's file in it") << 4243u << 4242u << 0664u << 02775u;
    QTest::newRow("a private file") << self << uint(::getegid()) << 0600u << 0700u;
}

void TestDemDecTreeEditor::saveKeepsOwnerGroupAndMode()
{
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(uint, mode);
    QFETCH(uint, folderMode);

    DemDecTreeEditor editor(MaxDepth);
    const QString path = openSample(editor, "am_voice.ddt");
    QVERIFY(!path.isEmpty());
    const QByteArray folder = QFile::encodeName(m_dir->path());
    const QByteArray name = QFile::encodeName(path);
    if (::chown(folder.constData(), uid_t(-1), gid_t(group)) != 0 || ::chown(name.constData(), uid_t(owner), gid_t(group)) != 0)
        QSKIP("needs root to give the file to another user or group");
    QCOMPARE(::chmod(folder.constData(), mode_t(folderMode)), 0);
    QCOMPARE(::chmod(name.constData(), mode_t(mode)), 0);
    struct stat before;
    QCOMPARE(::stat(name.constData(), &before), 0);

    QVERIFY(editor.addTask(QModelIndex(), 0).isValid());
    QVERIFY2(editor.save(), qPrintable(editor.lastError()));
    QCOMPARE(readFile(path), editor.toByteArray());
    struct stat after;
    QCOMPARE(::stat(name.constData(), &after), 0);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, gid_t(group));
    QCOMPARE(after.st_mode & 07777, mode_t(mode));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("am_voice.ddt")});
}

void TestDemDecTreeEditor::saveFailureKeepsTheTree_data()
{
    QTest::addColumn<bool>("folderGone"); // or a folder this user may not write
    QTest::newRow("the folder went away") << true;
    QTest::newRow("a folder this user may not write") << false;
}

void TestDemDecTreeEditor::saveFailureKeepsTheTree()
{
    QFETCH(bool, folderGone);
    DemDecTreeEditor editor(MaxDepth);
    const QString path = openSample(editor, "am_voice.ddt");
    QVERIFY(!path.isEmpty());
    QVERIFY(editor.addTask(QModelIndex(), 0).isValid());
    const QByteArray changed = editor.toByteArray();
    QVERIFY(editor.save());
    QCOMPARE(readFile(path), changed);

    // A file that cannot be replaced whole is not saved; the tree and the file stay as they were.
    QVERIFY(editor.addTask(QModelIndex(), 1).isValid());
    const QByteArray unsaved = editor.toByteArray();
    bool saved = true;
    if (folderGone) {
        QVERIFY(m_dir->remove());
        saved = editor.save();
    } else {
        // Root may write any folder: the save then runs as the user nobody, by its effective uid.
        const passwd* nobody = ::getpwnam("nobody");
        const bool root = ::geteuid() == 0;
        if (root && !nobody)
            QSKIP("needs the user nobody to meet the folder's mode");
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                         | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::WriteOther));
        if (root)
            QCOMPARE(::seteuid(nobody->pw_uid), 0);
        saved = editor.save();
        if (root)
            QCOMPARE(::seteuid(0), 0);
        QVERIFY2(editor.lastError().contains(QString::fromLocal8Bit(std::strerror(EACCES))), qPrintable(editor.lastError()));
        QCOMPARE(readFile(path), changed);
    }
    QVERIFY(!saved);
    QVERIFY2(editor.lastError().contains("am_voice.ddt"), qPrintable(editor.lastError()));
    QCOMPARE(editor.toByteArray(), unsaved);
    QCOMPARE(editor.fileName(), path);
}

void TestDemDecTreeEditor::malformedFileKeepsTheOpenTree_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("where");
    QTest::newRow("unknown element")
        << QByteArray("<?xml version=\"1.0\"?>\n<proc_node>\n<bogus/>\n</proc_node>\n") << "строка 3";
    QTest::newRow("not xml at all") << QByteArray("\x01\x02garbage") << "строка 1";
}

void TestDemDecTreeEditor::malformedFileKeepsTheOpenTree()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, where);

    DemDecTreeEditor editor(MaxDepth);
    const QString good = openSample(editor, "am_voice.ddt");
    QVERIFY(!good.isEmpty());
    const QByteArray opened = editor.toByteArray();
    const QString bad = m_dir->filePath("bad.ddt");
    QVERIFY(writeFile(bad, content));

    QVERIFY(!editor.openTree(bad));
    QVERIFY2(editor.lastError().contains("bad.ddt") && editor.lastError().contains(where),
             qPrintable(editor.lastError()));
    auto* message = editor.findChild<QLabel*>();
    QVERIFY(message && !message->isHidden());
    QCOMPARE(message->text(), editor.lastError());
    QCOMPARE(editor.fileName(), good);
    QCOMPARE(editor.toByteArray(), opened);

    QVERIFY(!editor.openTree(m_dir->filePath("missing.ddt")));
    QVERIFY(editor.lastError().contains("missing.ddt"));
    QVERIFY(editor.openTree(good));
    QVERIFY(message->isHidden());
}

void TestDemDecTreeEditor::valuesAFileCannotHoldAreRefused_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("held");
    QTest::newRow("control character") << QStringLiteral("a\x01b") << false;
    QTest::newRow("escape") << QStringLiteral("\x1b[0m") << false;
    QTest::newRow("not a character") << QString(QChar(0xFFFE)) << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << false;
    QTest::newRow("tab, line breaks") << QStringLiteral("a\tb\r\nc") << true;
    QTest::newRow("beyond the basic plane") << QString::fromUtf8("\xF0\x9F\x93\xA1") << true;
}

void TestDemDecTreeEditor::valuesAFileCannotHoldAreRefused()
{
    QFETCH(QString, value);
    QFETCH(bool, held);

    DemDecTreeEditor editor(MaxDepth);
    const QString path = openSample(editor, "am_voice.ddt");
    QVERIFY(!path.isEmpty());
    const QByteArray original = readFile(path);
    const QModelIndex task = editor.model()->index(0, 0, editor.model()->index(0, 0));
    editor.findChild<QTreeView*>()->setCurrentIndex(task);
    QAbstractItemModel* attributes = editor.findChild<QTableView*>()->model();
    auto* message = editor.findChild<QLabel*>();

    // Typed or pasted into the attribute table, such a value is refused with a word why.
    QCOMPARE(attributes->setData(attributes->index(4, 1), value), held);
    QCOMPARE(message->isHidden(), held);
    if (!held)
        QVERIFY2(message->text().contains("name"), qPrintable(message->text()));

    // Whatever way it got into the tree, a save never writes a file the editor cannot read back.
    editor.model()->setAttribute(task, 4, value);
    QCOMPARE(editor.save(), held);
    if (!held) {
        QVERIFY2(editor.lastError().contains("am_voice.ddt"), qPrintable(editor.lastError()));
        QCOMPARE(readFile(path), original);
        return;
    }
    QVERIFY2(editor.openTree(path), qPrintable(editor.lastError()));
    QCOMPARE(editor.model()->node(editor.model()->index(0, 0, editor.model()->index(0, 0)))->attribute("name"), value);
}

QTEST_MAIN(TestDemDecTreeEditor)
#include "tst_demdectreeeditor.moc"
