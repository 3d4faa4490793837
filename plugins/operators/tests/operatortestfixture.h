#pragma once

#include "modalanswerer.h"
#include "pluginlibrary.h"

#include <QList>
#include <QModelIndex>
#include <QStringList>

#include <memory>

class OrvanePlugin;
class QAbstractItemModel;
class QAction;
class QMenu;
class QPushButton;
class QTreeView;
class QWidget;

namespace CoConfig {
class ComplexConfig;
}

namespace OperatorTest {

// Writes the known complex into an empty directory:
//   unions "Пост 1" {АРМ-10, АРМ-11}, "Пост 2" {АРМ-11, АРМ-12}; АРМ-13 in no union;
//   АРМ-10: ivanov -> 100, ghost -> 999 (no such operator); АРМ-11: ivanov2 -> 100, petrov -> 101;
//   АРМ-12: none; АРМ-13: sidorov -> 102;
//   operators 100 Иванов Иван Иванович, 101 Петров Пётр Петрович, 102 Сидоров Семён,
//   103 Кузнецов Карл Карлович.
bool writeKnownComplex(const QString& dir);

// One line per row, depth-first: two spaces per level, then the four column texts joined by "|".
QStringList dumpTree(const QAbstractItemModel* model);

// Fills the named line edits of a dialog, then presses its Ok.
ModalAnswerer::Handler fillAndOk(const QList<QPair<QString, QString>>& fields);

// The operator plugin loaded from its library, over a fresh store of a configuration directory.
class PelluxHarness
{
public:
    explicit PelluxHarness(const QString& configDir);
    ~PelluxHarness();

    bool isLoaded() const { return m_plugin != nullptr; }
    QString loadError() const { return m_error; }
    OrvanePlugin* plugin() const { return m_plugin; }
    CoConfig::ComplexConfig* store() const { return m_store.get(); }

    QWidget* page() const;
    QTreeView* view() const;
    // The view's current model, with a QAbstractItemModelTester attached.
    QAbstractItemModel* model() const;
    QStringList tree() const { return dumpTree(model()); }

    void groupByUnion() { groupBy(QStringLiteral("Объединению АРМов")); }
    void groupByOperator() { groupBy(QStringLiteral("Операторам")); }
    QPushButton* button(const QString& text) const;

    // The index of the row reached through column-0 texts from the top level.
    QModelIndex find(const QStringList& path) const;
    // False, and the running test failed, when a path leads nowhere.
    bool select(const QList<QStringList>& paths);

    // Sends a context-menu request; true when a menu opened (it is closed again at once).
    bool requestContextMenu();
    QMenu* contextMenu() const;
    QMenu* addMenu() const;
    QAction* menuAction(const QString& text) const;
    // Requests the context menu and triggers the entry; false when the entry was disabled.
    bool trigger(const QString& text);

private:
    void groupBy(const QString& radioText);

    PluginLibrary m_library;
    OrvanePlugin* m_plugin = nullptr;
    std::unique_ptr<CoConfig::ComplexConfig> m_store;
    QString m_error;
};

} // namespace OperatorTest
