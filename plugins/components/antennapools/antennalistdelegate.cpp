#include "antennalistdelegate.h"

#include "antennas.h"
#include "antennaslistwidget.h"
#include "complexconfiginterface.h"

#include <QStringList>

namespace CoConfig {

namespace {

const QSize windowSize(150, 400);

QList<Common::Antenna> antennasOf(const ComplexConfigInterface* store, const QVariant& value)
{
    static const QMap<int, Common::Antenna> none;
    return Common::antennasOf(store ? store->antennasMap() : none, antennaUidsOf(value));
}

} // namespace

QList<int> antennaUidsOf(const QVariant& value)
{
    const QVariantList list = value.toList();
    QList<int> uids;
    uids.reserve(list.size());
    for (const QVariant& uid : list)
        uids.append(int(quint32(quint64(uid.toLongLong())))); // the low 32 bits
    return uids;
}

AnatennaListDelegate::~AnatennaListDelegate()
{
    // A detached editor has no parent that would delete it with the view.
    const QList<QWidget*> open = m_editors.keys();
    m_editors.clear();
    qDeleteAll(open);
}

QWidget* AnatennaListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const ComplexConfigInterface* store = m_store;
    auto* editor = new Common::AntennasListWidget(store ? store->antennas() : QList<Common::Antenna>(), parent);
    m_editors.insert(editor, option.rect);
    connect(editor, &QObject::destroyed, this, [this, editor] { m_editors.remove(editor); });
    return editor;
}

void AnatennaListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* list = dynamic_cast<Common::AntennasListWidget*>(editor);
    if (!list)
        return;
    if (QWidget* parent = list->parentWidget()) {
        // Under the edited cell, as a window of its own.
        const QPoint at = parent->mapToGlobal(m_editors.value(list).bottomLeft());
        list->setParent(nullptr);
        list->setWindowTitle(index.model()->headerData(index.column(), Qt::Horizontal).toString());
        list->resize(windowSize);
        list->move(at);
    }
    list->setSelectedAntennas(antennasOf(m_store, index.data(Qt::EditRole)));
}

void AnatennaListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* list = dynamic_cast<Common::AntennasListWidget*>(editor)) {
        QVariantList uids;
        for (const Common::Antenna& antenna : list->selectedAntennas())
            uids.append(antenna.uid);
        model->setData(index, uids, Qt::EditRole);
    }
    m_editors.remove(editor);
}

QString AnatennaListDelegate::displayText(const QVariant& value, const QLocale&) const
{
    QStringList diagrams;
    for (const Common::Antenna& antenna : antennasOf(m_store, value))
        diagrams.append(QString::number(antenna.diagram));
    return diagrams.join(QStringLiteral(", "));
}

void AnatennaListDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const
{
    if (!editor->isWindow())
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
}

void AnatennaListDelegate::setComplexConfig(ComplexConfigInterface* store)
{
    m_store = store;
}

} // namespace CoConfig
