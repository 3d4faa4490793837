#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <memory>

class CMenuBar;
namespace History {
struct HistoryEntry;
}
class QUndoStack;
class OrvanePluginInstance;
class ReferenceCheckIndicator;
class QTabWidget;
class QToolBar;

namespace CoConfig {
class ComplexConfigInterface;
}

namespace ConfigCheck {
struct ConfigProblem;
}

namespace Ui {
class OrvaneClass;
}

// The editor's main window: a tab per plugin, the save tool bar, the plugins and help menus,
// and the one configuration store of the run, which every plugin is handed.
class Orvane : public QMainWindow
{
    Q_OBJECT

public:
    struct SkippedLibrary
    {
        QString filePath;
        QString reason;
    };

    // The program's window: its own store over the workstation's configuration directory,
    // plugins from the program's folder (or those named by the arguments).
    explicit Orvane(const QStringList& arguments, QWidget* parent = nullptr);
    // The same over a store that the caller owns and keeps alive longer than the window
    // (null: the window makes its own), with plugins from the given folder.
    Orvane(const QStringList& arguments, CoConfig::ComplexConfigInterface* store, const QString& pluginFolder,
           QWidget* parent = nullptr);
    ~Orvane() override;

    QList<OrvanePluginInstance*> plugins() const { return m_plugins; }
    // The libraries that were tried and gave no plugin, with the loader's reason.
    QList<SkippedLibrary> skippedLibraries() const { return m_skipped; }
    CMenuBar* cMenuBar() const { return m_menuBar; }
    QTabWidget* tabWidget() const;
    QToolBar* saveToolBar() const { return m_saveToolBar; }
    QAction* saveAction() const { return m_saveAction; }
    // Undo and redo on the current tab's history, beside "Сохранить".
    QAction* undoAction() const { return m_undoAction; }
    QAction* redoAction() const { return m_redoAction; }
    // "Журнал изменений": the directory's saves, and the way back to any of them.
    QAction* historyAction() const { return m_historyAction; }
    // The titles of the tabs whose history is away from its saved state.
    QStringList unsavedTabs() const;
    // The tool bar of the current tab's plugin, when it has one.
    QToolBar* pluginToolBar() const;

public Q_SLOTS:
    void save();
    void tabChanged(int index);
    void OnError(QString message);
    // The tab of the record that a problem of the reference check is found in, with its row current.
    void showProblemRecord(const ConfigCheck::ConfigProblem& problem);
    void showHistory();
    // Writes the configuration as the save left it, after a question (and one about unsaved
    // edits, saved or dropped first); every tab then shows it. False when nothing was written.
    bool restoreVersion(const History::HistoryEntry& entry);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void reportReadFailure();
    void placeOnScreen(); // when no geometry was saved
    void createSaveToolBar();
    void loadPlugins(const QStringList& arguments, const QString& folder);
    void addPlugin(OrvanePluginInstance* instance);
    void hidePluginToolBar();
    bool saveAll(); // true when every plugin's commit and the write succeeded
    bool confirmOverwriteOfOutsideChanges();
    static QUndoStack* historyOf(const OrvanePluginInstance* instance);
    QUndoStack* currentHistory() const;
    void watchHistory(OrvanePluginInstance* instance, QWidget* page);
    void updateHistoryActions();
    void updateUnsavedMarks();

    std::unique_ptr<Ui::OrvaneClass> m_ui;
    std::unique_ptr<CoConfig::ComplexConfigInterface> m_ownedStore;
    CoConfig::ComplexConfigInterface* m_store = nullptr;
    CMenuBar* m_menuBar = nullptr;
    QToolBar* m_saveToolBar = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_historyAction = nullptr;
    QHash<const QWidget*, QString> m_tabTitles;         // tab page -> its plugin's name
    QList<OrvanePluginInstance*> m_plugins;             // owned, in load order
    QHash<const QWidget*, OrvanePluginInstance*> m_pageOwners; // tab page -> its plugin
    QList<SkippedLibrary> m_skipped;
    QPointer<QToolBar> m_pluginToolBar;                 // the plugin's; never deleted here
    ReferenceCheckIndicator* m_referenceCheck = nullptr; // in the status bar
    bool m_committing = false;                          // while the plugins commit into the store
    QStringList m_commitErrors;                         // what they reported meanwhile
    QSet<const QObject*> m_failedCommits;               // the plugins that reported them
};
