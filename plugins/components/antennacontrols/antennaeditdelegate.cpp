#include "antennaeditdelegate.h"

#include "antennas.h"
#include "antennavalue.h"
#include "antennedit.h"
#include "complexconfiginterface.h"
#include "componentuidvariant.h"

namespace CoConfig {

QWidget* AnatennaEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new Common::AntennEdit(parent);
    editor->setMinimumWidth(200);
    return editor;
}

void AnatennaEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = dynamic_cast<Common::AntennEdit*>(editor);
    if (!edit)
        return;
    QList<Common::Antenna> antennas;
    if (const ComplexConfigInterface* store = m_store) {
        // The pool that the store holds for the control, not the table's unsaved rows.
        const QVariant uid = index.sibling(index.row(), 0).data(Qt::EditRole);
        const ReceiverConfig& radio = store->receivers();
        const AntennaControl control = radio.antennaControls.value(ComponentUidVariant::toUid<8>(uid));
        const AntennaServer server = radio.antennaServers.value(control.antennaServer);
        const AntennaPool pool = radio.antennaPools.value(server.antennaPool);
        antennas = Common::antennasOf(store->antennasMap(), pool.antennaUids);
    }
    edit->setAntenns(antennas);
    // The control's own antenna; by its pattern only when the pool no longer holds it.
    const Common::Antenna own = AntennaValue::fromBytes(index.data(Qt::EditRole).toByteArray());
    if (!edit->setCurrentUid(own.uid))
        edit->setCurrentDiagram(own.diagram);
}

void AnatennaEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    // With nothing chosen (a pool without the control's antenna), or the choice left as it
    // opened, the cell keeps its antenna.
    auto* edit = dynamic_cast<Common::AntennEdit*>(editor);
    if (edit && edit->hasCurrent() && edit->isChanged())
        model->setData(index, AntennaValue::toBytes(edit->currentAntenna()), Qt::EditRole);
}

void AnatennaEditDelegate::setComplexConfig(ComplexConfigInterface* store)
{
    m_store = store;
}

} // namespace CoConfig
