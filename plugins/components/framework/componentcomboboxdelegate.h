#pragma once

#include "cellitemdelegate.h"
#include "componentlabel.h"
#include "componentparent.h"
#include "componentpath.h"
#include "componentstore.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSize>

#include <type_traits>

// The item of a reference combo that sets none.
inline QString noneText()
{
    return QCoreApplication::translate("ComponentComboBoxDelegate", "---");
}

// Edits a reference to a component of type `type` with a combo box: "---" (none), then every
// record of the last snapshot of the store, in uid order. With a parent type, each record is
// listed as "parent/record".
template <typename T, int type, typename ParentT = int, int parentType = -1>
class ComponentComboBoxDelegate : public CellItemDelegate
{
public:
    using Map = QMap<CoConfig::ComponentUid<type>, T>;
    static constexpr bool hasParent = !std::is_same_v<ParentT, int>;

    void setRecords(const Map& records) { m_records = records; }
    void setStore(const CoConfig::ComplexConfigInterface* store) { m_store = store; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* combo = new QComboBox(parent);
        combo->addItem(noneText(), QVariant(QSize(-1, type)));
        for (auto it = m_records.cbegin(); it != m_records.cend(); ++it)
            combo->addItem(QIcon(), itemText(it.value()), QVariant(QSize(it.key().value, it.key().type)));
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setCurrentIndex(combo->findData(index.data(Qt::EditRole), Qt::UserRole, Qt::MatchExactly));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        // No current item writes an invalid value, which the uid rule turns into "none".
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            model->setData(index, combo->currentData(Qt::UserRole), Qt::EditRole);
    }

    QString itemText(const T& record) const
    {
        if constexpr (hasParent) {
            static_assert(ComponentParent<T>::type == parentType, "the parent type does not match the record");
            if (!m_store)
                return QLatin1Char('/') + componentLabel(record);
            return componentPath(*m_store, record, 2);
        } else {
            return componentLabel(record);
        }
    }

private:
    Map m_records;
    const CoConfig::ComplexConfigInterface* m_store = nullptr;
};
