#include "historydialog.h"

#include "historychangesmodel.h"
#include "configrepository.h"
#include "historyfiles.h"
#include "historylog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { Time, Author, Workstation, Program, Summary };

QString authorOf(const History::HistoryEntry& entry)
{
    return entry.host.isEmpty() ? entry.login : entry.login + QLatin1Char('@') + entry.host;
}

} // namespace

HistoryDialog::HistoryDialog(const QString& dir, Restore restore, QWidget* parent)
    : QDialog(parent)
    , m_dir(dir)
    , m_restore(std::move(restore))
    , m_state(new QLabel(this))
    , m_list(new QTreeWidget(this))
    , m_changes(new QListView(this))
    , m_lines(new HistoryChangesModel(this))
    , m_restoreButton(new QPushButton(tr("Вернуть эту версию"), this))
{
    setWindowTitle(tr("Журнал изменений"));
    setObjectName(QStringLiteral("historyDialog"));
    m_state->setWordWrap(true);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({tr("Время"), tr("Автор"), tr("АРМ"), tr("Программа"), tr("Изменения")});
    m_list->header()->setStretchLastSection(true);
    m_changes->setObjectName(QStringLiteral("historyChanges"));
    m_changes->setModel(m_lines);
    m_changes->setUniformItemSizes(true);
    m_changes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* copy = new QAction(tr("Копировать"), m_changes);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    m_changes->addAction(copy);
    m_changes->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy, &QAction::triggered, this, &HistoryDialog::copyLines);
    connect(&m_finding, &QFutureWatcher<Found>::finished, this, &HistoryDialog::changesFound);
    m_restoreButton->setEnabled(false);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_list);
    splitter->addWidget(m_changes);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Закрыть"));
    buttons->addButton(m_restoreButton, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_state);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    resize(900, 600);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &HistoryDialog::showChanges);
    connect(m_restoreButton, &QPushButton::clicked, this, &HistoryDialog::restoreSelected);
    reload();
}

bool HistoryDialog::reload()
{
    m_list->clear();
    m_entries.clear();
    m_lines->show({}, {});
    m_restoreButton->setEnabled(false);
    const History::ConfigRepository repository = History::ConfigRepository::open(m_dir, false);
    if (!repository.isReady()) {
        m_state->setText(repository.state() == History::ConfigRepository::Missing
                             ? tr("История изменений ещё не начата: она начнётся с первого сохранения.")
                             : tr("История изменений не ведётся: %1").arg(repository.reason()));
        return false;
    }
    QString error;
    if (!History::HistoryLog::entries(m_dir, &m_entries, &error)) {
        m_state->setText(tr("История изменений не прочитана: %1").arg(error));
        return false;
    }
    m_state->setText(tr("Сохранений: %1").arg(m_entries.size()));
    QList<QTreeWidgetItem*> items;
    items.reserve(m_entries.size());
    for (const History::HistoryEntry& entry : std::as_const(m_entries)) {
        items.append(new QTreeWidgetItem(
            {QLocale().toString(entry.time.toLocalTime(), QStringLiteral("dd.MM.yyyy HH:mm:ss")), authorOf(entry),
             entry.workstation, entry.program, entry.summary}));
    }
    m_list->addTopLevelItems(items);
    for (int column = Time; column < Summary; ++column)
        m_list->resizeColumnToContents(column);
    if (!items.isEmpty())
        m_list->setCurrentItem(items.first());
    return true;
}

void HistoryDialog::showChanges()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    m_restoreButton->setEnabled(row >= 0 && bool(m_restore));
    m_findingRow = row;
    if (row < 0) {
        m_finding.setFuture(QFuture<Found>());
        m_lines->show({}, {});
        return;
    }
    m_lines->show({}, tr("Изменения этого сохранения читаются…"));
    // A selection changed meanwhile takes the watcher: what the earlier one finds is dropped.
    m_finding.setFuture(QtConcurrent::run([dir = m_dir, id = m_entries.at(row).id] {
        Found found;
        History::HistoryEntry entry;
        QString error;
        if (!History::HistoryLog::changesOf(dir, id, CoConfig::configHistoryFiles().recordFiles, &entry,
                                            &found.changes, &error))
            found.fallback = error;
        else
            found.fallback = entry.summary;
        return found;
    }));
}

void HistoryDialog::changesFound()
{
    if (m_finding.future().isValid() && m_finding.future().resultCount() > 0) {
        Found found = m_finding.result();
        m_lines->show(std::move(found.changes), found.fallback);
    }
    m_findingRow = -1;
}

QStringList HistoryDialog::shownLines() const
{
    QStringList lines;
    for (int row = 0; row < m_lines->rowCount(); ++row)
        lines.append(m_lines->line(row));
    return lines;
}

void HistoryDialog::copyLines()
{
    QModelIndexList rows = m_changes->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (const QModelIndex& index : std::as_const(rows))
        lines.append(m_lines->line(index.row()));
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void HistoryDialog::restoreSelected()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || !m_restore)
        return;
    if (m_restore(m_entries.at(row)))
        reload();
}
