#pragma once

#include <QList>
#include <QModelIndex>
#include <QObject>
#include <QPluginLoader>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class OrvanePlugin;
class OrvanePluginInterface;
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

// Answers modal widgets in order, one handler per appearance of a modal widget. Each handler
// runs from its own timer, so a handler may open a nested modal box.
class ModalAnswerer : public QObject
{
public:
    using Handler = std::function<void(QWidget*)>;

    explicit ModalAnswerer(QObject* parent = nullptr);
    ~ModalAnswerer() override;

    void expect(const Handler& handler) { m_handlers.append(handler); }
    int pending() const { return m_handlers.size(); }
    // "class: title: text" of every modal widget met; unexpected ones were rejected.
    QStringList seen() const { return m_seen; }

private:
    void poll();

    QList<Handler> m_handlers;
    QStringList m_seen;
    // Guarded: a later dialog may be built at the address of one already gone.
    QPointer<QWidget> m_last;
    bool m_stopped = false;
};

// Handlers for the usual answers.
ModalAnswerer::Handler clickOk();
ModalAnswerer::Handler clickCancel();
// Fills the named line edits of a dialog, then presses its Ok.
ModalAnswerer::Handler fillAndOk(const QList<QPair<QString, QString>>& fields);
QString modalText(QWidget* modal);

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
    void select(const QList<QStringList>& paths);

    // Sends a context-menu request; true when a menu opened (it is closed again at once).
    bool requestContextMenu();
    QMenu* contextMenu() const;
    QMenu* addMenu() const;
    QAction* menuAction(const QString& text) const;
    // Requests the context menu and triggers the entry; false when the entry was disabled.
    bool trigger(const QString& text);

private:
    void groupBy(const QString& radioText);

    QPluginLoader m_loader;
    OrvanePluginInterface* m_factory = nullptr;
    OrvanePlugin* m_plugin = nullptr;
    std::unique_ptr<CoConfig::ComplexConfig> m_store;
    QString m_error;
};

} // namespace OperatorTest
