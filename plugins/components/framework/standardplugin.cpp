#include "standardplugin.h"

#include "componentclipboard.h"
#include "counterdialog.h"
#include "openeditors.h"
#include "referrers.h"
#include "removalquestion.h"
#include "standarddata.h"
#include "standarddelegate.h"
#include "standardeditactions.h"
#include "standardmodel.h"
#include "standardtablepage.h"
#include "standardtableview.h"
#include "textpaste.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QUndoStack>

StandardPlugin::StandardPlugin(const QString& name, StandardData* data)
    : m_name(name), m_undo(new QUndoStack(this)), m_data(data), m_actions(new StandardEditActions(name, this)),
      m_model(new StandardModel(data, this)), m_page(new StandardTablePage(m_model)), m_view(m_page->view())
{
    m_model->setUndoStack(m_undo);
    const std::pair<int, void (StandardPlugin::*)()> commands[] = {
        {StandardEditActions::Add, &StandardPlugin::add},
        {StandardEditActions::Remove, &StandardPlugin::remove},
        {StandardEditActions::Edit, &StandardPlugin::edit},
        {StandardEditActions::Fill, &StandardPlugin::fill},
        {StandardEditActions::FillWithCounter, &StandardPlugin::fillWithCounter},
        {StandardEditActions::Copy, &StandardPlugin::copy},
        {StandardEditActions::Paste, &StandardPlugin::paste},
    };
    for (const auto& [key, slot] : commands) {
        QAction* action = m_actions->action(key);
        connect(action, &QAction::triggered, this, slot);
        m_view->addAction(action); // the table's context menu
    }

    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (StandardDelegate* holder = m_data->createDelegate(column)) {
            m_delegates.append(holder);
            m_view->setItemDelegateForColumn(column, holder->delegate());
        }
    }
}

StandardPlugin::~StandardPlugin()
{
    // The page and its view first: they must not outlive the model and the delegates they use.
    delete m_page;
    delete m_model;
    delete m_actions;
    qDeleteAll(m_delegates);
}

QString StandardPlugin::name() const
{
    return m_name;
}

void StandardPlugin::setComplexConfig(CoConfig::ComplexConfigInterface* store)
{
    for (StandardDelegate* holder : std::as_const(m_delegates))
        holder->setComplexConfig(store);
    m_store = store;
    // The history reaches back past a save; records that changed otherwise end it.
    if (m_model->load(store) && m_undo->count() > 0) {
        m_undo->clear();
        m_undo->setProperty("historyNote", tr("история вкладки закончилась: записи изменены другой программой"));
    }
}

void StandardPlugin::saveComplexConfig()
{
    // The cell being typed in is part of the save.
    Common::commitOpenEditors(m_page);
    if (m_store)
        m_model->save(m_store);
    m_view->viewport()->update();
}

QWidget* StandardPlugin::widget()
{
    return m_page;
}

QMenu* StandardPlugin::menu()
{
    return nullptr;
}

QToolBar* StandardPlugin::toolBar()
{
    return m_actions->toolBar();
}

void StandardPlugin::add()
{
    if (!m_model->appendRecord())
        reportNoFreshUid();
}

void StandardPlugin::remove()
{
    const QList<int> rows = m_page->selectedRows();
    if (rows.isEmpty())
        return;
    // Records that others refer to are removed only when the engineer says so.
    if (m_store) {
        QSet<int> uids;
        uids.reserve(rows.size());
        for (const int row : rows)
            uids.insert(m_data->uidAt(row));
        const ConfigCheck::Referrers referrers =
            ConfigCheck::referrersOf(*m_store, ConfigCheck::RecordKind(m_data->recordType()), uids);
        if (!referrers.isEmpty() && !Common::confirmRemoval(m_view, referrers.summary(), referrers.names()))
            return;
    }
    m_model->removeRecords(rows);
}

void StandardPlugin::edit()
{
    m_view->edit(m_view->currentIndex());
}

void StandardPlugin::fill()
{
    const QModelIndex current = m_page->currentIndex();
    if (!current.isValid())
        return;
    const QList<int> rows = m_page->selectedRows();
    // One uid in several rows would lose all but one of their records at the next save.
    if (m_data->isOwnUid(current.column()) && (rows.size() > 1 || (rows.size() == 1 && rows.first() != current.row()))) {
        Q_EMIT Error(tr("У каждой записи свой идентификатор: заполнить им другие строки нельзя"));
        return;
    }
    const QVariant value = current.data(Qt::EditRole);
    m_model->setColumnData(rows, current.column(), [&value](int) { return value; });
}

void StandardPlugin::fillWithCounter()
{
    const QModelIndex current = m_page->currentIndex();
    // Uid, reference and other special columns have their own delegate and take no counter.
    if (!current.isValid() || m_view->itemDelegateForColumn(current.column()))
        return;
    CounterDialog dialog;
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_model->setColumnData(m_page->selectedRows(), current.column(),
                           [&dialog](int n) { return QVariant(dialog.counterText(n)); },
                           tr("Заполнить счётчиком (%1 ячеек)"));
}

void StandardPlugin::copy()
{
    const QList<int> rows = m_page->selectedRows();
    auto* mimeData = new QMimeData();
    mimeData->setData(ComponentClipboard::mimeType, m_data->copyRecords(rows));
    mimeData->setText(m_page->plainText(rows)); // for a spreadsheet or a text editor
    QApplication::clipboard()->setMimeData(mimeData, QClipboard::Clipboard);
}

void StandardPlugin::paste()
{
    const QMimeData* mimeData = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!mimeData)
        return;
    if (mimeData->hasFormat(ComponentClipboard::mimeType)) {
        if (m_model->pasteRecords(mimeData->data(ComponentClipboard::mimeType)) < 0)
            reportNoFreshUid();
        return;
    }
    if (mimeData->hasText())
        pasteText(mimeData->text());
}

void StandardPlugin::pasteText(const QString& text)
{
    int uidColumn = -1;
    for (int column = 0; column < m_model->columnCount() && uidColumn < 0; ++column)
        uidColumn = m_data->isOwnUid(column) ? column : -1;
    const TextPaste paste = TextPaste::read(text, m_view, *m_data, m_page->currentIndex(), uidColumn);
    if (!paste.problems.isEmpty()) {
        QMessageBox::warning(m_view, m_view->window()->windowTitle(), paste.problemText(), QMessageBox::Ok);
        return;
    }
    // A block goes down the rows shown; all or nothing: the uids of the rows it adds come first.
    const QList<int> rows = paste.titled ? QList<int>() : m_page->shownRowsFrom(paste.firstRow, int(paste.lines.size()));
    const int added = int(paste.lines.size() - rows.size());
    QList<int> uids;
    uids.reserve(added);
    for (int k = 0; k < added; ++k) {
        const int uid = m_model->freshUid();
        if (uid < 0) {
            reportNoFreshUid();
            return;
        }
        uids << uid;
    }
    m_model->setCells(rows, paste.lines, uids, tr("Вставка текста (%1 строк)").arg(paste.lines.size()));
}

void StandardPlugin::reportNoFreshUid()
{
    Q_EMIT Error(tr("Не удалось получить новый идентификатор"));
}

bool StandardPlugin::showRecord(const QString& kind, int uid)
{
    if (kind != ConfigCheck::recordKindKey(ConfigCheck::RecordKind(m_data->recordType())))
        return false;
    for (int row = 0; row < m_data->rowCount(); ++row) {
        if (m_data->uidAt(row) != uid)
            continue;
        const QModelIndex shown = m_page->shownIndex(m_model->index(row, 0));
        if (!shown.isValid())
            return false; // hidden by the find line
        m_view->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(shown);
        return true;
    }
    return false;
}
