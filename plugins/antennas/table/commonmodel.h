#pragma once

#include <QAbstractItemModel>

#include <functional>

class QUndoStack;
class TableData;

// A flat table over a TableData, which it neither owns nor replaces. Edits arrive with the edit
// role only; the data is asked for the display role and the user role.
class CommonModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit CommonModel(TableData* data, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // True for every edit, whatever the data made of it: the cell shows what was kept.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Rows go in between the existing rows or after the last; false for any other place.
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    // Removes the rows of that range that exist; false when none does.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Every edit becomes a step of the history; a step puts rows back through restore, which
    // reaches whatever model then shows the page.
    void setHistory(QUndoStack* history, std::function<void(const QVariant&)> restore);
    // The edits between these two are one step, named by text.
    void beginStep(const QString& text);
    void endStep();
    // Replaces every row with a snapshot of the data's.
    void restore(const QVariant& snapshot);

private:
    void stepped(const QString& text, const QVariant& before);

    TableData* const m_data;
    QUndoStack* m_history = nullptr;
    std::function<void(const QVariant&)> m_restore;
    QString m_stepText;
    QVariant m_stepBefore;
    int m_stepDepth = 0;
};
