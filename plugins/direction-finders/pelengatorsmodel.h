#pragma once

#include "records.h"

#include <QAbstractItemModel>
#include <QList>

class QUndoStack;
#include <QString>

namespace CoConfig {
class ComplexConfigInterface;
}

// The direction finders of the store as a tree: a row per record, under it "ID", "Координаты",
// the capability flags (with a row per capability bit) and "Полоса".
// An index's internal id holds its level (1 to 3) and the position of its record in the list, with
// room for every position.
// Store records come first, in reverse store order, then the virtual ones in store order.
// Adding and removing write through to the store at once; ticks and replaced records reach it
// with writeConfig().
class PelengatorsModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Level { RecordLevel = 1, FieldLevel = 2, CapabilityLevel = 3 };
    enum FieldRow { UidRow, CoordinatesRow, CapabilitiesRow, BandRow, FieldRowCount };
    static constexpr int CapabilityRowCount = 7;

    PelengatorsModel(QObject* parent, bool editable, CoConfig::ComplexConfigInterface* store);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    bool isEditable() const { return m_editable; }
    CoConfig::ComplexConfigInterface* store() const { return m_store; }
    static int levelOf(const QModelIndex& index);
    // The position of the record that the index belongs to, at any level; -1 when none.
    int positionOf(const QModelIndex& index) const;
    // The top-level index of the record at that position.
    QModelIndex recordIndex(int position, int column = 0) const;
    // The record of the index at any level; a default record for an invalid index.
    CoConfig::Pelengator pelengatorAt(const QModelIndex& index) const;

    void add(const CoConfig::Pelengator& pelengator);
    void replace(const QModelIndex& index, const CoConfig::Pelengator& pelengator);
    void remove(const QModelIndex& index);
    bool uidExists(int uid) const;
    // Replaces the store's direction finders by the list.
    CoConfig::ComplexConfigInterface* writeConfig();
    // Every addition, edit, removal and tick becomes a step of this history.
    void setHistory(QUndoStack* history) { m_history = history; }

private:
    void load();
    void stepped(const QString& text, const QList<CoConfig::Pelengator>& before);
    // The list as a step left it; additions and removals reach the store at once, as edits do.
    void restore(const QList<CoConfig::Pelengator>& records);
    QModelIndex make(int row, int column, int level, int position) const;
    QVariant display(int level, int row, int column, const CoConfig::Pelengator& record) const;

    QString m_titles[2];
    QList<CoConfig::Pelengator> m_pelengators;
    // Records without a uid cannot be shown or addressed, but a save must not drop them.
    QList<CoConfig::Pelengator> m_withoutUid;
    bool m_editable;
    CoConfig::ComplexConfigInterface* m_store;
    QUndoStack* m_history = nullptr;
};
