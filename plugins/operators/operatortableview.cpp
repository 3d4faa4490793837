#include "operatortableview.h"

#include "abstractoperatormodel.h"
#include "basetreeitem.h"
#include "complexconfiginterface.h"
#include "logindialog.h"
#include "operatoreditdialog.h"
#include "operatorsbyarmunionmodel.h"
#include "operatorsmodel.h"
#include "unioncontextmenu.h"
#include "snapshotstep.h"
#include "viewmode.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QUndoStack>

// Pushes the step of one command when it leaves, whichever way it returns.
struct OperatorTableView::Stepped
{
    OperatorTableView* view;
    QString text;
    const OperatorWorkingSet& before;
    ~Stepped() { view->stepped(text, before); }
};

OperatorTableView::OperatorTableView(CoConfig::ComplexConfigInterface* store, QWidget* parent)
    : QTreeView(parent), m_store(store)
{
    setObjectName(QStringLiteral("OperatorTableView"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row is one line of text. With tens of thousands of rows, row heights and the
    // widths that the header fits to the contents come from the rows on screen instead of
    // being measured row by row after each change.
    setUniformRowHeights(true);
    header()->setResizeContentsPrecision(0);
    if (parent)
        setWindowTitle(parent->windowTitle());
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { Edit(); });
    m_workingSet.load(m_store);
}

void OperatorTableView::setStore(CoConfig::ComplexConfigInterface* store)
{
    m_store = store;
}

void OperatorTableView::setMode(int mode)
{
    if (mode != GroupByUnion && mode != GroupByOperator) {
        m_mode = mode;
        return;
    }
    dropModel();
    BaseContextMenu* oldMenu = m_menu;
    if (mode == GroupByOperator) {
        auto* menu = new OperatorContextMenu(this);
        connect(menu, &OperatorContextMenu::ArmTriggerd, this, &OperatorTableView::AddArm);
        m_menu = menu;
        m_model = new OperatorsModel(&m_workingSet, this);
    } else {
        auto* menu = new UnionContextMenu(this);
        connect(menu, &UnionContextMenu::OpTriggered, this, &OperatorTableView::AddOp);
        m_menu = menu;
        m_model = new OperatorsByArmUnionModel(&m_workingSet, this);
    }
    QItemSelectionModel* oldSelection = selectionModel();
    setModel(m_model);
    delete oldSelection;
    delete oldMenu;
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    connect(m_menu->action(BaseContextMenu::Edit), &QAction::triggered, this, &OperatorTableView::Edit);
    connect(m_menu->action(BaseContextMenu::AddNew), &QAction::triggered, this, &OperatorTableView::Add);
    connect(m_menu->action(BaseContextMenu::Remove), &QAction::triggered, this, &OperatorTableView::Remove);
    connect(m_menu->action(BaseContextMenu::Copy), &QAction::triggered, this, &OperatorTableView::Copy);
    connect(m_menu->action(BaseContextMenu::Paste), &QAction::triggered, this, &OperatorTableView::Paste);
    connect(m_menu->action(BaseContextMenu::Expand), &QAction::triggered, this, &QTreeView::expandAll);
    connect(m_menu->action(BaseContextMenu::Collapse), &QAction::triggered, this, &QTreeView::collapseAll);
    m_mode = mode;
}

void OperatorTableView::dropModel()
{
    // The copy buffer points into the model: it must not outlive it.
    m_copyBuffer.clear();
    if (!m_model)
        return;
    QItemSelectionModel* oldSelection = selectionModel();
    setModel(nullptr);
    delete oldSelection;
    delete m_model;
    m_model = nullptr;
}

QModelIndexList OperatorTableView::selectedItems() const
{
    QModelIndexList result;
    if (!m_model || !selectionModel())
        return result;
    const QModelIndexList indexes = selectionModel()->selectedIndexes();
    for (const QModelIndex& index : indexes) {
        if (index.column() == 0)
            result << index;
    }
    return result;
}

void OperatorTableView::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndexList selected = selectedItems();
    if (!m_menu || !m_menu->prepare(m_model, selected))
        return;
    m_menu->exec(event->globalPos());
}

void OperatorTableView::Copy()
{
    m_copyBuffer.clear();
    if (!m_model)
        return;
    for (const QModelIndex& index : selectedItems()) {
        if (m_model->canCopy(index))
            m_copyBuffer << QPersistentModelIndex(index);
    }
}

void OperatorTableView::Paste()
{
    const OperatorWorkingSet before = m_workingSet;
    const Stepped step{this, tr("Вставка"), before};
    const QModelIndexList selected = selectedItems();
    if (selected.size() != 1)
        return;
    if (m_mode == GroupByUnion) {
        m_model->paste(m_copyBuffer, selected.first());
        return;
    }
    if (m_mode != GroupByOperator)
        return;
    QList<OperatorContextMenu::UnionArm> pairs;
    for (const QPersistentModelIndex& index : std::as_const(m_copyBuffer)) {
        OperatorContextMenu::UnionArm pair;
        if (index.isValid() && m_model->armAndUnionOf(index, pair.arm, pair.armUnion))
            pairs << pair;
    }
    for (const OperatorContextMenu::UnionArm& pair : std::as_const(pairs))
        AddArm(pair);
}

void OperatorTableView::Remove()
{
    const OperatorWorkingSet before = m_workingSet;
    const Stepped step{this, tr("Удаление"), before};
    const QModelIndexList selected = selectedItems();
    if (selected.isEmpty())
        return;
    QString question = tr("Удалить выделенных операторов?");
    if (m_mode == GroupByOperator && m_model->itemType(selected.first()) == BaseTreeItem::UnionArm)
        question = tr("Удалить выделенные АРМы?");
    if (QMessageBox::question(this, windowTitle(), question, QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    // Stops at the first item that the model does not remove; the rest stay selected.
    for (QModelIndexList left = selectedItems(); !left.isEmpty(); left = selectedItems()) {
        if (!m_model->remove(left.first()))
            break;
    }
}

void OperatorTableView::Edit()
{
    const OperatorWorkingSet before = m_workingSet;
    const Stepped step{this, tr("Изменение оператора"), before};
    const QModelIndexList selected = selectedItems();
    if (selected.isEmpty())
        return;
    const QPersistentModelIndex index = selected.last();
    Common::Operator op;
    if (!m_model->operatorOf(index, op))
        return;
    CoConfig::Computer arm;
    QString login;
    QStringList taken;
    if (m_model->armOf(index, arm)) {
        m_model->loginOf(index, login);
        taken = m_workingSet.logins(arm.uid.value);
        taken.removeAll(login);
    }
    const bool loginLocked = m_model->itemType(index) == BaseTreeItem::Operator;
    OperatorEditDialog dialog(loginLocked, op, login, taken, this);
    if (dialog.exec() != QDialog::Accepted || !index.isValid())
        return;
    m_model->updateOperator(dialog.operatorData());
    if (!loginLocked)
        m_model->updateLogin(index, dialog.login());
}

void OperatorTableView::Add()
{
    const OperatorWorkingSet before = m_workingSet;
    const Stepped step{this, tr("Добавление оператора"), before};
    const QModelIndexList selected = selectedItems();
    if (selected.size() != 1 || (m_mode != GroupByUnion && m_mode != GroupByOperator))
        return;
    const bool byUnion = m_mode == GroupByUnion;
    CoConfig::Computer arm;
    if (byUnion && !m_model->armOf(selected.first(), arm))
        return;
    const int uid = m_store ? m_store->generateObjectUid(CoConfig::ObjectOperators) : -1;
    if (uid == -1) {
        QMessageBox::critical(this, windowTitle(), tr("Не удалось получить UID оператора!"), QMessageBox::Ok);
        return;
    }
    // Grouped by operator the new operator gets no registration, so no login is asked.
    OperatorEditDialog dialog(!byUnion, uid, byUnion ? m_workingSet.logins(arm.uid.value) : QStringList(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (byUnion)
        m_model->addOperatorToArm(arm.uid.value, dialog.operatorData(), dialog.login());
    else
        m_model->addOperator(dialog.operatorData());
}

void OperatorTableView::AddOp(const Common::Operator& Operator)
{
    const OperatorWorkingSet before = m_workingSet;
    const Stepped step{this, tr("Регистрация оператора на АРМе"), before};
    const QModelIndexList selected = selectedItems();
    CoConfig::Computer arm;
    if (selected.size() != 1 || m_mode != GroupByUnion || !m_model->armOf(selected.first(), arm))
        return;
    LoginDialog dialog(QString(), m_workingSet.logins(arm.uid.value), this);
    if (dialog.exec() == QDialog::Accepted)
        m_model->addOperatorToArm(arm.uid.value, Operator, dialog.login());
}

void OperatorTableView::AddArm(const OperatorContextMenu::UnionArm& Arm)
{
    const OperatorWorkingSet before = m_workingSet;
    const Stepped step{this, tr("Регистрация оператора на АРМе"), before};
    const QModelIndexList selected = selectedItems();
    Common::Operator op;
    if (selected.size() != 1 || m_mode != GroupByOperator || !m_model->operatorOf(selected.first(), op))
        return;
    const QString text = tr("для оператора ") + op.surname + QLatin1Char(' ') + op.name + QLatin1Char(' ')
        + op.thirdname + QLatin1Char(' ') + tr("АРМа") + QLatin1Char(' ') + Arm.armUnion.name
        + QStringLiteral(" / ") + Arm.arm.name;
    const int armUid = Arm.arm.uid.value;
    LoginDialog dialog(text, m_workingSet.logins(armUid), this);
    if (dialog.exec() == QDialog::Accepted)
        m_model->addOperatorToArm(armUid, op, dialog.login());
}

CoConfig::ComplexConfigInterface* OperatorTableView::Save()
{
    m_workingSet.save(m_store);
    return m_store;
}

void OperatorTableView::Cancel()
{
    const OperatorWorkingSet before = m_workingSet;
    const Stepped step{this, tr("Отмена несохранённых изменений"), before};
    dropModel();
    m_workingSet.load(m_store);
    setMode(m_mode);
}

void OperatorTableView::reload()
{
    // A save's reload takes what this tab committed without reading it again (shared, so that
    // the comparison below is at once when nothing was edited here).
    OperatorWorkingSet loaded = m_workingSet;
    const bool rebased = loaded.rebase(m_store);
    if (!rebased)
        loaded.load(m_store);
    // What the tab committed comes back as it was (a save's reload): the tree stays.
    if (m_model && loaded.sameShown(m_workingSet)) {
        m_copyBuffer.clear(); // a reload forgets what was copied, as ever
        m_workingSet = loaded;
        return;
    }
    const OperatorWorkingSet before = m_workingSet;
    // The store holds this tab's edits (a save's reload): the tree shows them already, and its
    // rows are read again for what other tabs changed (a workstation renamed) in the same save.
    if (m_model && (rebased || loaded.sameLayout(m_workingSet))) {
        // Other fields than the trees are made of (a workstation renamed in its tab): the rows
        // are read again, the tree stays as it is, expanded where it was.
        m_copyBuffer.clear();
        m_workingSet = loaded;
        m_model->rowsShownAnew();
    } else {
        dropModel();
        m_workingSet = loaded;
        setMode(m_mode);
    }
    if (m_history && m_history->count() > 0 && !m_workingSet.sameEdits(before)) {
        m_history->clear();
        m_history->setProperty("historyNote", tr("история вкладки закончилась: записи изменены другой программой"));
    }
}

void OperatorTableView::stepped(const QString& text, const OperatorWorkingSet& before)
{
    if (m_history && !m_workingSet.sameEdits(before))
        m_history->push(new Common::SnapshotStep<OperatorWorkingSet>(
            text, before, m_workingSet, [this](const OperatorWorkingSet& state) { restore(state); }));
}

void OperatorTableView::restore(const OperatorWorkingSet& state)
{
    dropModel();
    m_workingSet = state;
    setMode(m_mode);
}
