#include "pelengatorsview.h"

#include "complexconfiginterface.h"
#include "pelengatoredit.h"
#include "pelengatorsmodel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>

#include <cmath>

using CoConfig::Pelengator;

PelengatorsView::PelengatorsView(CoConfig::ComplexConfigInterface* store, bool editable, QWidget* parent)
    : QTreeView(parent), m_model(new PelengatorsModel(this, editable, store))
{
    setModel(m_model);
    setColumnWidth(0, 256);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { selectionChanged(current); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &PelengatorsView::onContextMenu);

    // The selection looks the same when the view has no focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    createMenu();

    // Once after a burst of changes: expanding all emits a signal per row.
    m_widen.setSingleShot(true);
    m_widen.setInterval(0);
    connect(&m_widen, &QTimer::timeout, this, &PelengatorsView::widenFirstColumn);
    const auto widenLater = [this] { m_widen.start(); };
    connect(this, &QTreeView::expanded, this, widenLater);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, widenLater);
    connect(m_model, &QAbstractItemModel::dataChanged, this, widenLater);
    m_widen.start();
}

void PelengatorsView::widenFirstColumn()
{
    const int wanted = sizeHintForColumn(0);
    if (wanted > columnWidth(0))
        setColumnWidth(0, wanted);
}

void PelengatorsView::createMenu()
{
    m_menu = new QMenu(this);
    m_add = m_menu->addAction(tr("Добавить"), this, &PelengatorsView::add);
    m_edit = m_menu->addAction(tr("Изменить"), this, &PelengatorsView::edit);
    m_remove = m_menu->addAction(tr("Удалить"), this, &PelengatorsView::remove);
    m_menu->addSeparator();
    m_expand = m_menu->addAction(tr("Развернуть всё"), this, &QTreeView::expandAll);
    m_collapse = m_menu->addAction(tr("Свернуть всё"), this, &QTreeView::collapseAll);
    // Shown in the menu; the view's own keys do the work (keyPressEvent).
    m_add->setShortcut(Qt::Key_Insert);
    m_edit->setShortcut(Qt::Key_F2);
    m_remove->setShortcut(QKeySequence::Delete);
    for (QAction* action : m_menu->actions())
        action->setShortcutContext(Qt::WidgetShortcut);
}

CoConfig::ComplexConfigInterface* PelengatorsView::writeConfig()
{
    return m_model->isEditable() ? m_model->writeConfig() : nullptr;
}

void PelengatorsView::selectionChanged(const QModelIndex& current)
{
    if (!current.isValid())
        return;
    const Pelengator record = m_model->pelengatorAt(current);
    emit coordChanged(MapPoint{record.longitude, record.latitude});
}

void PelengatorsView::setPelengator(MapPoint point)
{
    for (int position = m_model->rowCount() - 1; position >= 0; --position) {
        const Pelengator record = m_model->pelengatorAt(m_model->recordIndex(position));
        if (std::abs(record.longitude - point.longitude) <= 1e-12 && std::abs(record.latitude - point.latitude) <= 1e-12) {
            const QItemSelection row(m_model->recordIndex(position, 0), m_model->recordIndex(position, 1));
            selectionModel()->select(row, QItemSelectionModel::Select);
            return;
        }
    }
}

bool PelengatorsView::isVirtualRecord(const QModelIndex& index) const
{
    return m_model->positionOf(index) >= 0 && m_model->pelengatorAt(index).isVirtual;
}

void PelengatorsView::onContextMenu(const QPoint& pos)
{
    if (!m_model->isEditable())
        return;
    m_menuIndex = indexAt(pos);
    if (m_menuIndex.isValid()) {
        const QModelIndex record = m_model->recordIndex(m_model->positionOf(m_menuIndex));
        selectionModel()->setCurrentIndex(record, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    const bool editable = isVirtualRecord(m_menuIndex);
    m_edit->setEnabled(editable);
    m_remove->setEnabled(editable);
    const bool hasRows = m_model->rowCount() > 0;
    m_expand->setEnabled(hasRows);
    m_collapse->setEnabled(hasRows);
    m_menu->exec(viewport()->mapToGlobal(pos));
}

QString PelengatorsView::boxTitle() const
{
    return window()->windowTitle();
}

void PelengatorsView::add()
{
    CoConfig::ComplexConfigInterface* store = m_model->store();
    if (!m_model->isEditable() || !store)
        return;
    const int uid = store->generateObjectUid(CoConfig::ObjectPelengators);
    if (uid == -1 || m_model->uidExists(uid)) {
        QMessageBox::critical(this, boxTitle(), tr("Не удалось получить UID пеленгатора!"), QMessageBox::Ok);
        return;
    }
    PelengatorEdit dialog(uid, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_model->add(dialog.pelengator());
    const QModelIndex added = m_model->recordIndex(m_model->rowCount() - 1);
    selectionModel()->setCurrentIndex(added, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(added);
}

void PelengatorsView::edit()
{
    if (!m_model->isEditable() || !isVirtualRecord(m_menuIndex))
        return;
    PelengatorEdit dialog(m_model->pelengatorAt(m_menuIndex), this);
    // The persistent index follows the record, or is gone with it.
    if (dialog.exec() == QDialog::Accepted && isVirtualRecord(m_menuIndex))
        m_model->replace(m_menuIndex, dialog.pelengator());
}

void PelengatorsView::remove()
{
    if (!m_model->isEditable() || !isVirtualRecord(m_menuIndex))
        return;
    m_model->remove(m_menuIndex);
}

bool PelengatorsView::retryDialog()
{
    return QMessageBox::warning(this, boxTitle(),
                                tr("Пеленгатор с такими параметрами уже существует!\nПродолжить редактирование?"),
                                QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void PelengatorsView::keyPressEvent(QKeyEvent* event)
{
    if (m_model->isEditable()) {
        switch (event->key()) {
        case Qt::Key_Insert:
            add();
            return;
        case Qt::Key_Delete:
        case Qt::Key_F2:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (isVirtualRecord(currentIndex())) {
                m_menuIndex = currentIndex();
                if (event->key() == Qt::Key_Delete)
                    remove();
                else
                    edit();
                return;
            }
            break;
        default:
            break;
        }
    }
    QTreeView::keyPressEvent(event);
}
