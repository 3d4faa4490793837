#include "commoneditwidget.h"

#include "commonaddbutton.h"
#include "commonmodel.h"
#include "commonsavesettingsbutton.h"
#include "commontableview.h"
#include "tabledata.h"

#include <QHBoxLayout>
#include <QSpinBox>
#include <QUndoStack>
#include <QVBoxLayout>

CommonEditWidget::CommonEditWidget(QWidget* parent)
    : QWidget(parent)
    , m_view(new CommonTableView(this))
    , m_history(new QUndoStack(this))
    , m_count(new QSpinBox(this))
    , m_addButton(new CommonAddButton(this))
    , m_saveButton(new CommonSaveSettingsButton(this))
{
    m_count->setMinimum(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_count);
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_saveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    connect(m_addButton, &QPushButton::pressed, this, &CommonEditWidget::OnAddButton);
    connect(m_saveButton, &QPushButton::pressed, this, &CommonEditWidget::SaveSettings);
}

CommonEditWidget::~CommonEditWidget()
{
    // The view lets go of the model before the model and its rows go.
    delete m_view;
}

int CommonEditWidget::newUid(int*)
{
    return -1;
}

bool CommonEditWidget::confirmRemoval(const QList<int>&)
{
    return true;
}

void CommonEditWidget::SaveSettings()
{
}

void CommonEditWidget::ReadSettings()
{
}

void CommonEditWidget::OnAddButton()
{
    m_view->AddRows(m_count->value());
}

void CommonEditWidget::setTableData(std::unique_ptr<TableData> data)
{
    auto model = std::make_unique<CommonModel>(data.get());
    // Steps put rows back through whichever model shows them then.
    model->setHistory(m_history, [this](const QVariant& rows) {
        if (m_model)
            m_model->restore(rows);
    });
    m_view->setModel(model.get());
    m_model = std::move(model);
    m_data = std::move(data);
}
