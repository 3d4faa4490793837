#pragma once

#include <QWidget>

#include <memory>

class CommonAddButton;
class CommonModel;
class CommonSaveSettingsButton;
class CommonTableView;
class QSpinBox;
class QUndoStack;
class TableData;

// A table page: the table above a row of a spin box, "Добавить" (appends as many rows as the
// spin box says) and "Сохранить". A derived page supplies the rows and the uids of new rows.
class CommonEditWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CommonEditWidget(QWidget* parent = nullptr);
    ~CommonEditWidget() override;

    // The uid for a new row, with *column set to the column it goes into; -1 when there is none.
    virtual int newUid(int* column);
    // Whether those rows may go; a page asks first about rows that others refer to.
    virtual bool confirmRemoval(const QList<int>& rows);

    CommonTableView* view() const { return m_view; }
    // The page's history: every edit of its rows, past saves and reloads.
    QUndoStack* history() const { return m_history; }

public Q_SLOTS:
    // The page's own settings ("Сохранить" asks to keep them); the base page has none.
    virtual void SaveSettings();
    virtual void ReadSettings();
    virtual void OnAddButton();

protected:
    // Shows these rows through a new model; the previous model and rows are deleted.
    void setTableData(std::unique_ptr<TableData> data);
    TableData* tableData() const { return m_data.get(); }

private:
    CommonTableView* m_view;
    std::unique_ptr<TableData> m_data;   // declared first: the model over it goes first
    std::unique_ptr<CommonModel> m_model;
    QUndoStack* m_history;
    QSpinBox* m_count;
    CommonAddButton* m_addButton;
    CommonSaveSettingsButton* m_saveButton;
};
