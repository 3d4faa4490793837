#include "rastelwidget.h"

#include "cravent.h"
#include "demdectreeeditor.h"
#include "globalconfig.h"
#include "openeditors.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QSplitter>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {
constexpr int EditorMaxDepth = 14;
constexpr unsigned int SearchPort = 11310;
constexpr unsigned int SearchTimeoutMs = 1000;
}

RastelWidget::RastelWidget(QWidget* parent)
    : QWidget(parent)
{
    m_client = new Cravent(this);
    connect(m_client, &Cravent::OnConnected, this, &RastelWidget::clientConnected);
    connect(m_client, &Cravent::OnSearch_AnswerRecieved, this, &RastelWidget::onServerFound);

    m_model = new QFileSystemModel(this);
    m_model->setReadOnly(true);
    connect(m_model, &QFileSystemModel::rootPathChanged, this, &RastelWidget::pathChanged);

    setupUi();
    changeDDTDir(QString());
    m_client->Connect(Common::GlobalConfig::AddressDDServer(nullptr, QString()),
                      quint16(Common::GlobalConfig::PortDDServer(nullptr, 0)));
}

RastelWidget::~RastelWidget()
{
    // Unsaved changes are offered for saving here too, not lost with the page.
    closeFile();
}

void RastelWidget::setupUi()
{
    auto* defaultFolder = new QPushButton(tr("Папка по-умолчанию"), this);
    connect(defaultFolder, &QPushButton::pressed, this, qOverload<>(&RastelWidget::changeDDTDir));
    auto* chooseFolder = new QPushButton(tr("Выбрать папку..."), this);
    connect(chooseFolder, &QPushButton::pressed, this, &RastelWidget::selectDDTDir);
    m_serverButton = new QPushButton(tr("Обновить сервер ДД"), this);
    connect(m_serverButton, &QPushButton::pressed, this, &RastelWidget::rescanServers);
    connect(this, &RastelWidget::editorInitOk, m_serverButton, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaultFolder);
    buttons->addWidget(chooseFolder);
    buttons->addItem(new QSpacerItem(10, 10, QSizePolicy::Expanding, QSizePolicy::Minimum));
    buttons->addWidget(m_serverButton);

    m_folderMessage = new QLabel(this);
    m_folderMessage->setWordWrap(true);
    m_folderMessage->hide();

    m_view = new QTreeView;
    m_editor = new DemDecData::DemDecTreeEditor(EditorMaxDepth, nullptr);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_view);
    splitter->addWidget(m_editor);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_folderMessage);
    layout->addWidget(splitter, 1);

    m_view->setModel(m_model);
    for (int section = 1; section <= 3; ++section)
        m_view->header()->hideSection(section);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) { selectedItem(selected); });
}

void RastelWidget::clientConnected()
{
    if (m_client->IsOFFLine() || m_editor->isInitialized())
        return;
    m_editor->initFromClient(m_client);
    if (m_editor->isInitialized()) {
        emit editorInitOk();
        openedBytes = m_editor->toByteArray();
    }
}

void RastelWidget::rescanServers()
{
    m_client->FindServers(SearchPort, SearchTimeoutMs);
}

void RastelWidget::onServerFound(QList<DemDecData::QServerStatus> list)
{
    if (!list.isEmpty())
        m_client->Connect(list.first());
}

void RastelWidget::selectDDTDir()
{
    const QString folder = QFileDialog::getExistingDirectory(nullptr, tr("Укажите корневую папку с файлами .ddt"),
                                                             QString(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        changeDDTDir(folder);
}

void RastelWidget::changeDDTDir(const QString& path)
{
    const QString configured = path.isEmpty() ? Common::GlobalConfig::DdtDir(nullptr, QString()) : path;
    const QString folder = configured.isEmpty() ? QString() : QDir(configured).absolutePath();
    if (!folder.isEmpty() && folder == m_shownFolder)
        return;
    if (!closeFile())
        return;

    // A folder that is not there shows nothing rather than the whole file system.
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        m_shownFolder.clear();
        m_view->hide();
        showFolderMessage(folder.isEmpty() ? tr("Папка файлов .ddt не задана в настройках")
                                           : tr("Папка %1 не найдена").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    m_folderMessage->hide();
    m_view->show();
    m_model->setNameFilters(QStringList(QString()));
    m_model->setRootPath(folder);
    m_model->setNameFilters(QStringList(QStringLiteral("*.ddt")));
    m_model->setNameFilterDisables(false);
    m_view->setRootIndex(m_model->index(folder));
    m_shownFolder = folder;
}

void RastelWidget::changeDDTDir()
{
    changeDDTDir(QString());
}

void RastelWidget::pathChanged(const QString&)
{
}

void RastelWidget::selectedItem(const QItemSelection& selection)
{
    if (!m_editor->isInitialized() || m_reselecting)
        return;
    const QModelIndexList indexes = selection.indexes();
    const QModelIndex index = indexes.isEmpty() ? QModelIndex() : indexes.first();
    if (m_model->isDir(index))
        return;
    const QString path = m_model->filePath(index);
    if (!closeFile()) {
        reselectOpenFile();
        return;
    }
    m_editor->openTree(path);
    openedBytes = m_editor->toByteArray();
}

bool RastelWidget::isChanged()
{
    if (!m_editor->rootItem())
        return false;
    // An attribute still being typed is part of the file.
    Common::commitOpenEditors(m_editor);
    return m_editor->toByteArray() != openedBytes;
}

bool RastelWidget::saveFile(QString* error)
{
    if (!isChanged())
        return true;
    if (!m_editor->save()) {
        *error = m_editor->lastError();
        return false;
    }
    openedBytes = m_editor->toByteArray();
    m_editor->history()->setClean();
    return true;
}

QUndoStack* RastelWidget::history() const
{
    return m_editor->history();
}

bool RastelWidget::closeFile()
{
    if (!m_editor->rootItem())
        return true;
    if (isChanged()) {
        const QMessageBox::StandardButton answer =
            QMessageBox::warning(nullptr, tr("Внимание!"), tr("Исходный файл изменен! Сохранить?"),
                                 QMessageBox::Save | QMessageBox::Discard);
        if (answer == QMessageBox::Save && !m_editor->save()) {
            QMessageBox::critical(nullptr, tr("Ошибка"), m_editor->lastError());
            return false;
        }
    }
    m_editor->clear();
    openedBytes.clear();
    return true;
}

void RastelWidget::showFolderMessage(const QString& message)
{
    m_folderMessage->setText(message);
    m_folderMessage->show();
}

void RastelWidget::reselectOpenFile()
{
    const QModelIndex open = m_model->index(m_editor->fileName());
    if (!open.isValid())
        return;
    // The file stays open as it is: selecting it here must not close and read it again.
    m_reselecting = true;
    m_view->selectionModel()->select(open, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_reselecting = false;
}
