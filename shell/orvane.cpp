#include "orvane.h"

#include "ui_orvane.h"

#include "orvaneedithistory.h"
#include "orvanerecordview.h"
#include "recordkind.h"
#include "cmenubar.h"
#include "complexconfig.h"
#include "globalini.h"
#include "historydialog.h"
#include "historypush.h"
#include "historyrestore.h"
#include "icons.h"
#include "orvaneplugin.h"
#include "orvaneplugininstance.h"
#include "pluginpaths.h"
#include "referencecheckindicator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

// Skipped libraries are logged here; QT_LOGGING_RULES="orvane.plugins.debug=true" shows them.
Q_LOGGING_CATEGORY(lcPlugins, "orvane.plugins", QtInfoMsg)

namespace {

const char GeometryKey[] = "Geometry";
constexpr int SavedMessageTimeoutMs = 2000;

} // namespace

Orvane::Orvane(const QStringList& arguments, QWidget* parent)
    : Orvane(arguments, nullptr, QCoreApplication::applicationDirPath(), parent)
{
}

Orvane::Orvane(const QStringList& arguments, CoConfig::ComplexConfigInterface* store, const QString& pluginFolder,
               QWidget* parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::OrvaneClass>())
    , m_store(store)
{
    qInitResources_icons();
    m_ui->setupUi(this);
    // The usual mark of unsaved work, while any tab's history is away from its saved state.
    setWindowTitle(windowTitle() + QLatin1String("[*]"));
    connect(m_ui->tabWidget, &QTabWidget::currentChanged, this, &Orvane::tabChanged);

    if (!m_store) {
        m_ownedStore = std::make_unique<CoConfig::ComplexConfig>(CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        m_store = m_ownedStore.get();
    }
    reportReadFailure();

    m_menuBar = new CMenuBar(this);
    setMenuBar(m_menuBar);
    createSaveToolBar();

    // The check runs while the plugins load: the kinds it holds are still those read, which the
    // plugins' first changes copy anyway.
    m_referenceCheck = new ReferenceCheckIndicator(statusBar());
    connect(m_referenceCheck, &ReferenceCheckIndicator::problemActivated, this, &Orvane::showProblemRecord);
    m_referenceCheck->check(*m_store);
    loadPlugins(arguments, pluginFolder);
    // The first tab became current before its plugin was known; show its tool bar now.
    tabChanged(m_ui->tabWidget->currentIndex());

    if (!restoreGeometry(Common::GlobalIni::ini().value(QLatin1String(GeometryKey)).toByteArray()))
        placeOnScreen();
}

Orvane::~Orvane()
{
    QSettings& settings = Common::GlobalIni::ini();
    settings.setValue(QLatin1String(GeometryKey), saveGeometry());
    settings.sync();

    // Plugins delete their pages below, and each removed tab would report a tab change.
    disconnect(m_ui->tabWidget, nullptr, this, nullptr);
    for (OrvanePluginInstance* instance : std::as_const(m_plugins)) {
        if (QUndoStack* history = historyOf(instance))
            disconnect(history, nullptr, this, nullptr);
    }
    hidePluginToolBar();

    delete m_menuBar;
    m_menuBar = nullptr;
    while (!m_plugins.isEmpty())
        delete m_plugins.takeFirst();
    m_pageOwners.clear();

    qCleanupResources_icons();
}

void Orvane::placeOnScreen()
{
    // The form's own size is too small to work in; two thirds of the screen, centred.
    const QRect available = screen()->availableGeometry();
    setGeometry(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, available.size() * 2 / 3, available));
}

QTabWidget* Orvane::tabWidget() const
{
    return m_ui->tabWidget;
}

QToolBar* Orvane::pluginToolBar() const
{
    return m_pluginToolBar;
}

void Orvane::reportReadFailure()
{
    if (m_store->readStatus() == 0)
        return;
    // Opening silently with part of the configuration empty would invite saving over it.
    QMessageBox box(QMessageBox::Critical, windowTitle(), tr("Ошибка при чтении конфигурации"), QMessageBox::Ok, this);
    box.setInformativeText(m_store->errorString() + QLatin1String("\n\n")
                           + tr("Нечитаемый файл не будет удалён: при сохранении он будет переименован "
                                "и оставлен рядом."));
    box.exec();
}

void Orvane::createSaveToolBar()
{
    m_saveToolBar = new QToolBar(tr("Редактор"), this);
    m_saveToolBar->setObjectName(QStringLiteral("Orvane"));
    addToolBar(m_saveToolBar);
    m_saveAction = m_saveToolBar->addAction(QIcon(QStringLiteral(":/icons/common/save.png")), tr("Сохранить"));
    m_saveAction->setShortcut(QKeySequence::Save);
    connect(m_saveAction, &QAction::triggered, this, &Orvane::save);

    m_undoAction = m_saveToolBar->addAction(QIcon::fromTheme(QStringLiteral("edit-undo"), QIcon(QStringLiteral(":/icons/common/undo.png"))),
                                            tr("Отменить"));
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction = m_saveToolBar->addAction(QIcon::fromTheme(QStringLiteral("edit-redo"), QIcon(QStringLiteral(":/icons/common/redo.png"))),
                                            tr("Повторить"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    }
    m_redoAction->setShortcuts(redoKeys);
    for (QAction* action : {m_undoAction, m_redoAction})
        action->setShortcutContext(Qt::WindowShortcut);
    m_historyAction = m_saveToolBar->addAction(
        QIcon::fromTheme(QStringLiteral("document-open-recent"), style()->standardIcon(QStyle::SP_FileDialogDetailedView)),
        tr("Журнал изменений"));
    m_historyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(m_historyAction, &QAction::triggered, this, &Orvane::showHistory);
    connect(m_undoAction, &QAction::triggered, this, [this] {
        if (QUndoStack* history = currentHistory())
            history->undo();
    });
    connect(m_redoAction, &QAction::triggered, this, [this] {
        if (QUndoStack* history = currentHistory())
            history->redo();
    });
    updateHistoryActions();
}

QUndoStack* Orvane::historyOf(const OrvanePluginInstance* instance)
{
    auto* history = instance ? qobject_cast<OrvaneEditHistory*>(instance->plugin()) : nullptr;
    return history ? history->undoStack() : nullptr;
}

QUndoStack* Orvane::currentHistory() const
{
    return historyOf(m_pageOwners.value(m_ui->tabWidget->currentWidget()));
}

void Orvane::watchHistory(OrvanePluginInstance* instance, QWidget* page)
{
    QUndoStack* history = historyOf(instance);
    if (!history)
        return;
    connect(history, &QUndoStack::indexChanged, this, &Orvane::updateHistoryActions);
    connect(history, &QUndoStack::cleanChanged, this, &Orvane::updateUnsavedMarks);
    connect(history, &QObject::destroyed, this, [this, page] { m_tabTitles.remove(page); });
}

void Orvane::updateHistoryActions()
{
    QUndoStack* history = currentHistory();
    const bool canUndo = history && history->canUndo();
    const bool canRedo = history && history->canRedo();
    m_undoAction->setEnabled(canUndo);
    m_redoAction->setEnabled(canRedo);
    QString undoTip = tr("Отменить");
    if (canUndo)
        undoTip += QLatin1String(": ") + history->undoText();
    else if (history && !history->property("historyNote").toString().isEmpty())
        undoTip += QLatin1String(": ") + history->property("historyNote").toString();
    m_undoAction->setToolTip(undoTip);
    m_redoAction->setToolTip(canRedo ? tr("Повторить") + QLatin1String(": ") + history->redoText() : tr("Повторить"));
}

void Orvane::updateUnsavedMarks()
{
    bool modified = false;
    for (int tab = 0; tab < m_ui->tabWidget->count(); ++tab) {
        QWidget* page = m_ui->tabWidget->widget(tab);
        QUndoStack* history = historyOf(m_pageOwners.value(page));
        const bool unsaved = history && !history->isClean();
        modified = modified || unsaved;
        m_ui->tabWidget->setTabText(tab, m_tabTitles.value(page) + (unsaved ? QLatin1String(" *") : QString()));
    }
    setWindowModified(modified);
    updateHistoryActions();
}

QStringList Orvane::unsavedTabs() const
{
    QStringList tabs;
    for (int tab = 0; tab < m_ui->tabWidget->count(); ++tab) {
        QWidget* page = m_ui->tabWidget->widget(tab);
        QUndoStack* history = historyOf(m_pageOwners.value(page));
        if (history && !history->isClean())
            tabs << m_tabTitles.value(page);
    }
    return tabs;
}

void Orvane::loadPlugins(const QStringList& arguments, const QString& folder)
{
    for (const QString& path : PluginPaths::find(folder, arguments)) {
        auto* instance = new OrvanePluginInstance(path);
        if (instance->isValid()) {
            addPlugin(instance);
            continue;
        }
        qCDebug(lcPlugins).noquote() << "skipped" << path << "-" << instance->errorString();
        m_skipped.append({path, instance->errorString()});
        delete instance;
    }
}

void Orvane::addPlugin(OrvanePluginInstance* instance)
{
    OrvanePlugin* plugin = instance->plugin();
    plugin->setComplexConfig(m_store);
    QWidget* page = plugin->widget();
    QMenu* menu = plugin->menu();
    if (page) {
        const QString title = plugin->name();
        page = plugin->widget(); // asked again, as the contract says the shell does; the same object
        m_ui->tabWidget->addTab(page, title);
        m_pageOwners.insert(page, instance);
        m_tabTitles.insert(page, title);
        watchHistory(instance, page);
    }
    if (menu)
        m_menuBar->AddMenuToCustomMenu(menu);
    // By signature, so that a plugin redeclaring Error in its own class is heard too.
    connect(plugin, SIGNAL(Error(QString)), this, SLOT(OnError(QString)));
    m_plugins.append(instance);
}

void Orvane::save()
{
    saveAll();
}

bool Orvane::saveAll()
{
    // A plugin that could not commit everything (the .ddt tab's file) says so by its Error signal.
    m_commitErrors.clear();
    m_failedCommits.clear();
    m_committing = true;
    for (OrvanePluginInstance* instance : std::as_const(m_plugins))
        instance->plugin()->saveComplexConfig();
    m_committing = false;

    if (!confirmOverwriteOfOutsideChanges()) {
        statusBar()->showMessage(tr("Конфигурация не сохранена"));
        return false;
    }

    // The plugins keep their edits after a failed write: a reload would read the old files.
    if (!m_store->write(CoConfig::ObjectAll)) {
        QMessageBox box(QMessageBox::Critical, windowTitle(), tr("Ошибка при сохранении конфигурации"),
                        QMessageBox::Ok, this);
        box.setInformativeText(m_store->errorString());
        box.exec();
        statusBar()->showMessage(tr("Конфигурация не сохранена"));
        return false;
    }

    // Errors of the reload replace this message. A push of the history that failed is no failed
    // save: it is tried again at the next one.
    const History::PushStatus push = History::pushStatus(m_store->configDirPath());
    if (m_commitErrors.isEmpty() && push.known && !push.ok)
        statusBar()->showMessage(tr("Конфигурация сохранена; история не отправлена в хранилище (%1), повтор при "
                                    "следующем сохранении")
                                     .arg(push.message));
    else if (m_commitErrors.isEmpty())
        statusBar()->showMessage(tr("Конфигурация сохранена"), SavedMessageTimeoutMs);
    else
        statusBar()->showMessage(tr("Конфигурация сохранена, кроме: %1").arg(m_commitErrors.join(QLatin1String("; "))));
    for (OrvanePluginInstance* instance : std::as_const(m_plugins)) {
        instance->plugin()->setComplexConfig(m_store);
        // What the tab holds now is on the disk; its history goes on from here.
        QUndoStack* history = historyOf(instance);
        if (history && !m_failedCommits.contains(instance->plugin()))
            history->setClean();
    }
    m_referenceCheck->check(*m_store);
    return m_commitErrors.isEmpty();
}

void Orvane::showHistory()
{
    HistoryDialog dialog(m_store->configDirPath(), [this](const History::HistoryEntry& entry) { return restoreVersion(entry); },
                         this);
    dialog.exec();
    activateWindow();
}

bool Orvane::restoreVersion(const History::HistoryEntry& entry)
{
    const QString when = QLocale().toString(entry.time.toLocalTime(), QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    QMessageBox question(QMessageBox::Question, windowTitle(),
                         tr("Вернуть конфигурацию к версии от %1 (%2)? Возврат будет записан как новое сохранение, "
                            "последующие сохранения останутся в журнале.")
                             .arg(when, entry.summary),
                         QMessageBox::NoButton, this);
    QPushButton* restore = question.addButton(tr("Вернуть"), QMessageBox::AcceptRole);
    question.addButton(QMessageBox::Cancel)->setText(tr("Отмена"));
    question.setDefaultButton(QMessageBox::Cancel);
    question.exec();
    if (question.clickedButton() != restore)
        return false;

    const QStringList unsaved = unsavedTabs();
    if (!unsaved.isEmpty()) {
        QMessageBox edits(QMessageBox::Question, windowTitle(),
                          tr("Во вкладках есть несохранённые изменения: %1. Сохранить их перед возвратом версии?")
                              .arg(unsaved.join(QLatin1String(", "))),
                          QMessageBox::NoButton, this);
        QPushButton* save = edits.addButton(tr("Сохранить"), QMessageBox::AcceptRole);
        QPushButton* drop = edits.addButton(tr("Не сохранять"), QMessageBox::DestructiveRole);
        edits.addButton(QMessageBox::Cancel)->setText(tr("Отмена"));
        edits.setDefaultButton(QMessageBox::Cancel);
        edits.exec();
        if (edits.clickedButton() == save) {
            if (!saveAll())
                return false;
        } else if (edits.clickedButton() != drop) {
            return false;
        }
    }

    History::HistoryEntry restored;
    QString made;
    QString error;
    if (!CoConfig::restoreFromHistory(m_store->configDirPath(), entry.id, &restored, &made, &error)) {
        QMessageBox box(QMessageBox::Critical, windowTitle(), tr("Версия не возвращена"), QMessageBox::Ok, this);
        box.setInformativeText(error);
        box.exec();
        return false;
    }
    // Every tab shows the version; what was not saved is gone, and so is each tab's history.
    m_store->read(CoConfig::ObjectAll);
    for (OrvanePluginInstance* instance : std::as_const(m_plugins)) {
        instance->plugin()->setComplexConfig(m_store);
        if (QUndoStack* history = historyOf(instance))
            history->clear();
    }
    m_referenceCheck->check(*m_store);
    statusBar()->showMessage(tr("Возвращена версия от %1").arg(when));
    return true;
}

bool Orvane::confirmOverwriteOfOutsideChanges()
{
    // Another program (the registration tool, a second editor) may have written the directory
    // since it was loaded; the editor's whole-collection save would silently undo that.
    if (m_store->updateReadStatus() == 0)
        return true;
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    tr("Конфигурация на диске изменена другой программой после загрузки. "
                       "Сохранить и заменить эти изменения?"),
                    QMessageBox::NoButton, this);
    box.addButton(QMessageBox::Ok)->setText(tr("Сохранить"));
    box.addButton(QMessageBox::Cancel)->setText(tr("Отмена"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void Orvane::hidePluginToolBar()
{
    if (m_pluginToolBar) {
        removeToolBar(m_pluginToolBar);
        m_pluginToolBar->setParent(nullptr);
    }
    m_pluginToolBar = nullptr;
}

void Orvane::tabChanged(int index)
{
    hidePluginToolBar();
    if (m_undoAction)
        updateHistoryActions();
    // Tool bars follow the tabs, not the plugin list: a plugin without a page has no tab.
    OrvanePluginInstance* instance = m_pageOwners.value(m_ui->tabWidget->widget(index));
    if (!instance)
        return;
    QToolBar* bar = instance->plugin()->toolBar();
    if (!bar)
        return;
    m_pluginToolBar = bar;
    addToolBar(bar);
    bar->show();
}

void Orvane::showProblemRecord(const ConfigCheck::ConfigProblem& problem)
{
    const QString kind = ConfigCheck::recordKindKey(problem.kind);
    for (int tab = 0; tab < m_ui->tabWidget->count(); ++tab) {
        QWidget* page = m_ui->tabWidget->widget(tab);
        const OrvanePluginInstance* instance = m_pageOwners.value(page);
        auto* view = instance ? qobject_cast<OrvaneRecordView*>(instance->plugin()) : nullptr;
        if (view && view->showRecord(kind, problem.uid)) {
            m_ui->tabWidget->setCurrentIndex(tab);
            activateWindow();
            return;
        }
    }
    statusBar()->showMessage(tr("Запись не показана ни в одной вкладке: %1").arg(problem.text()));
}

void Orvane::OnError(QString message)
{
    if (m_committing) {
        m_commitErrors.append(message);
        m_failedCommits.insert(sender());
    }
    statusBar()->showMessage(message);
}

void Orvane::closeEvent(QCloseEvent* event)
{
    QMessageBox box(QMessageBox::Question, tr("Редактор конфигурации"), tr("Сохранить изменения?"),
                    QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(QMessageBox::Ok);
    yes->setText(tr("Да"));
    QPushButton* no = box.addButton(QMessageBox::Discard);
    no->setText(tr("Нет"));
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    cancel->setText(tr("Отмена"));
    box.setEscapeButton(cancel);
    const QStringList unsaved = unsavedTabs();
    if (!unsaved.isEmpty())
        box.setInformativeText(tr("Несохранённые изменения во вкладках: %1").arg(unsaved.join(QLatin1String(", "))));
    box.exec();

    QAbstractButton* answer = box.clickedButton();
    if (answer != yes && answer != no) {
        event->ignore();
        return;
    }
    // A save that did not go through (declined, failed, or part of it not saved) keeps the
    // window and the edits, so that the cause can be mended and the save tried again.
    if (answer == yes && !saveAll()) {
        event->ignore();
        return;
    }
    // Other top-level windows (the about box) close after this one.
    QTimer::singleShot(0, qApp, &QApplication::closeAllWindows);
    event->accept();
}
