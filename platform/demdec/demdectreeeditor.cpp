#include "demdectreeeditor.h"

#include "cravent.h"
#include "ddtattributemodel.h"
#include "ddtformat.h"
#include "ddttreemodel.h"
#include "posixio.h"
#include "regularfile.h"
#include "snapshotstep.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace DemDecData {

namespace {

constexpr int MaxDepthLimit = 64;

bool markedReadOnly(const QFileInfo& file)
{
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return file.exists() && !(file.permissions() & anyWrite);
}

} // namespace

DemDecTreeEditor::DemDecTreeEditor(int maxDepth, QWidget* parent)
    : QWidget(parent)
    , m_model(new DdtTreeModel(std::clamp(maxDepth, 1, MaxDepthLimit), this))
    , m_attributes(new DdtAttributeModel(m_model, this))
    , m_history(new QUndoStack(this))
{
    setupUi();
    updateActions();
}

DemDecTreeEditor::~DemDecTreeEditor() = default;

void DemDecTreeEditor::setupUi()
{
    m_catalogueBox = new QComboBox(this);
    m_catalogueBox->setToolTip(tr("Демодуляторы и декодеры сервера ДД"));
    m_addTaskButton = new QPushButton(tr("Добавить узел"), this);
    m_addResultsButton = new QPushButton(tr("Добавить результат"), this);
    m_removeButton = new QPushButton(tr("Удалить"), this);

    auto* actions = new QHBoxLayout;
    actions->addWidget(m_catalogueBox, 1);
    actions->addWidget(m_addTaskButton);
    actions->addWidget(m_addResultsButton);
    actions->addWidget(m_removeButton);

    m_treeView = new QTreeView;
    m_treeView->setModel(m_model);
    m_treeView->header()->setStretchLastSection(false);
    m_treeView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_attributeView = new QTableView;
    m_attributeView->setModel(m_attributes);
    m_attributeView->horizontalHeader()->setStretchLastSection(true);
    m_attributeView->verticalHeader()->hide();

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_treeView);
    splitter->addWidget(m_attributeView);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    m_message = new QLabel(this);
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->setStyleSheet(QStringLiteral("color: darkred"));
    m_message->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(actions);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_message);

    connect(m_treeView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        m_attributes->setNode(current);
        updateActions();
    });
    connect(m_attributes, &DdtAttributeModel::valueRefused, this, [this](const QString& attribute) {
        showError(tr("Значение атрибута %1 не принято: управляющие символы в файл .ddt не записываются")
                      .arg(attribute));
        m_refusalShown = true;
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] {
        if (m_refusalShown)
            hideError();
        if (!m_stepping)
            stepped(tr("Изменение атрибута"));
    });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DemDecTreeEditor::updateActions);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DemDecTreeEditor::updateActions);
    connect(m_addTaskButton, &QPushButton::clicked, this,
            [this] { addTask(currentNode(), m_catalogueBox->currentIndex()); });
    connect(m_addResultsButton, &QPushButton::clicked, this, [this] { addResults(currentNode()); });
    connect(m_removeButton, &QPushButton::clicked, this, [this] { removeNode(currentNode()); });
}

bool DemDecTreeEditor::initFromClient(const Cravent* client)
{
    m_initialized = client && !client->IsOFFLine();
    if (m_initialized) {
        m_catalogue = client->catalogue();
        QStringList titles;
        titles.reserve(m_catalogue.size());
        for (const CatalogueEntry& entry : m_catalogue.entries())
            titles.append(entry.title());
        m_catalogueBox->clear();
        m_catalogueBox->addItems(titles);
    }
    updateActions();
    return m_initialized;
}

bool DemDecTreeEditor::openTree(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!m_initialized) {
        showError(tr("Файл %1 не открыт: нет каталога сервера ДД").arg(shown));
        return false;
    }
    QByteArray bytes;
    QString readError;
    if (!readRegularFile(path, DdtFormat::MaxFileSize, &bytes, &readError)) {
        showError(tr("Файл %1 не открыт: %2").arg(shown, readError));
        return false;
    }
    Xml::ReadError error;
    std::unique_ptr<DdtNode> root = DdtFormat::read(bytes, m_model->maxDepth(), &error);
    if (!root) {
        showError(tr("Файл %1 не открыт: %2").arg(shown, error.toString()));
        return false;
    }
    m_path = path;
    m_model->setRoot(std::move(root), QFileInfo(path).fileName());
    m_treeView->expandAll();
    select(m_model->indexOf(m_model->root()));
    hideError();
    m_history->clear();
    m_steppedBytes = toByteArray();
    return true;
}

void DemDecTreeEditor::stepped(const QString& text)
{
    const QByteArray bytes = toByteArray();
    if (bytes == m_steppedBytes)
        return;
    m_history->push(new Common::SnapshotStep<QByteArray>(text, m_steppedBytes, bytes,
                                                         [this](const QByteArray& state) { showBytes(state); }));
    m_steppedBytes = bytes;
}

void DemDecTreeEditor::showBytes(const QByteArray& bytes)
{
    std::unique_ptr<DdtNode> root = DdtFormat::read(bytes, m_model->maxDepth(), nullptr);
    if (!root)
        return;
    m_stepping = true;
    m_model->setRoot(std::move(root), QFileInfo(m_path).fileName());
    m_treeView->expandAll();
    select(m_model->indexOf(m_model->root()));
    m_stepping = false;
    m_steppedBytes = bytes;
}

const DdtNode* DemDecTreeEditor::rootItem() const
{
    return m_model->root();
}

QByteArray DemDecTreeEditor::toByteArray() const
{
    return m_model->root() ? DdtFormat::write(*m_model->root()) : QByteArray();
}

bool DemDecTreeEditor::save()
{
    if (!m_model->root()) {
        m_lastError = tr("Нет открытого файла");
        return false;
    }
    const QString shown = QDir::toNativeSeparators(m_path);
    // Even a user who may write anything must not overwrite a file marked read-only.
    if (markedReadOnly(QFileInfo(m_path))) {
        m_lastError = tr("Файл %1 не сохранен: файл только для чтения").arg(shown);
        return false;
    }
    // What is written must read back as it is: XML cannot hold every text.
    const QByteArray bytes = toByteArray();
    Xml::ReadError error;
    const std::unique_ptr<DdtNode> back = DdtFormat::read(bytes, m_model->maxDepth(), &error);
    if (!back) {
        m_lastError = tr("Файл %1 не сохранен: дерево не прочиталось бы из него (%2)").arg(shown, error.toString());
        return false;
    }
    if (!back->sameTree(*m_model->root())) {
        m_lastError = tr("Файл %1 не сохранен: в дереве есть значения, которых файл .ddt не хранит").arg(shown);
        return false;
    }
    // Replaced whole, keeping its owner, group and mode, as the configuration store keeps its files.
    QString failure;
    if (!PosixIo::replaceFile(m_path, bytes, &failure)) {
        m_lastError = tr("Файл %1 не сохранен: %2").arg(shown, failure);
        return false;
    }
    m_lastError.clear();
    return true;
}

void DemDecTreeEditor::clear()
{
    m_model->setRoot(nullptr);
    m_path.clear();
    hideError();
    m_history->clear();
    m_steppedBytes.clear();
}

QModelIndex DemDecTreeEditor::currentNode() const
{
    return m_treeView->currentIndex().siblingAtColumn(0);
}

QModelIndex DemDecTreeEditor::addTask(const QModelIndex& at, int catalogueRow)
{
    if (catalogueRow < 0 || catalogueRow >= m_catalogue.size())
        return QModelIndex();
    const QModelIndex holder = at.isValid() ? holderFor(at) : m_model->indexOf(m_model->root());
    const QStringList& values = m_catalogue.entries().at(catalogueRow).values;
    m_stepping = true;
    const QModelIndex added = m_model->appendNode(holder, std::make_unique<DdtNode>(DdtNode::Kind::Processing, values));
    m_stepping = false;
    select(added);
    stepped(tr("Добавление узла"));
    return added;
}

QModelIndex DemDecTreeEditor::addResults(const QModelIndex& at)
{
    const QModelIndex holder = holderFor(at);
    const DdtNode* task = m_model->node(holder);
    if (!task || task->kind() != DdtNode::Kind::Processing)
        return QModelIndex();
    const QStringList values{nextResultsId(), QStringLiteral("0"), task->attribute(QStringLiteral("id")), QString(),
                             task->attribute(QStringLiteral("caps"))};
    m_stepping = true;
    const QModelIndex added = m_model->appendNode(holder, std::make_unique<DdtNode>(DdtNode::Kind::Results, values));
    m_stepping = false;
    select(added);
    stepped(tr("Добавление результата"));
    return added;
}

bool DemDecTreeEditor::removeNode(const QModelIndex& at)
{
    const QModelIndex parent = at.parent();
    m_stepping = true;
    const bool removed = m_model->removeNode(at);
    m_stepping = false;
    if (!removed)
        return false;
    select(parent);
    stepped(tr("Удаление узла"));
    return true;
}

QModelIndex DemDecTreeEditor::holderFor(const QModelIndex& at) const
{
    const DdtNode* node = m_model->node(at);
    if (node && node->kind() == DdtNode::Kind::Results)
        return m_model->indexOf(node->parent());
    return m_model->indexOf(node);
}

QString DemDecTreeEditor::nextResultsId() const
{
    int highest = 0;
    QList<const DdtNode*> pending{m_model->root()};
    while (!pending.isEmpty()) {
        const DdtNode* node = pending.takeLast();
        if (!node)
            continue;
        if (node->kind() == DdtNode::Kind::Results)
            highest = std::max(highest, node->attribute(QStringLiteral("id")).toInt());
        for (int row = 0; row < node->childCount(); ++row)
            pending.append(node->child(row));
    }
    return QString::number(highest + 1);
}

void DemDecTreeEditor::select(const QModelIndex& index)
{
    if (index.isValid())
        m_treeView->setCurrentIndex(index);
    updateActions();
}

void DemDecTreeEditor::showError(const QString& message)
{
    m_refusalShown = false;
    m_lastError = message;
    m_message->setText(message);
    m_message->show();
}

void DemDecTreeEditor::hideError()
{
    m_refusalShown = false;
    m_lastError.clear();
    m_message->hide();
}

void DemDecTreeEditor::updateActions()
{
    const QModelIndex current = currentNode();
    const QModelIndex holder = current.isValid() ? holderFor(current) : m_model->indexOf(m_model->root());
    m_catalogueBox->setEnabled(m_initialized && !m_catalogue.isEmpty());
    m_addTaskButton->setEnabled(m_initialized && !m_catalogue.isEmpty()
                                && m_model->canAppend(holder, DdtNode::Kind::Processing));
    m_addResultsButton->setEnabled(m_model->canAppend(holder, DdtNode::Kind::Results));
    const DdtNode* node = m_model->node(current);
    m_removeButton->setEnabled(node && node != m_model->root());
}

} // namespace DemDecData
