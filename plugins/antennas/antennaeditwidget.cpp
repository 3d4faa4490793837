#include "antennaeditwidget.h"

#include "antennatabledata.h"
#include "comboboxdelegate.h"
#include "commontableview.h"
#include "complexconfiginterface.h"
#include "lineeditdelegate.h"
#include "referrers.h"
#include "removalquestion.h"
#include "openeditors.h"

#include <QHash>
#include <QIntValidator>
#include <QSet>
#include <QUndoStack>

#include <algorithm>

namespace {

QStringList typeNames()
{
    return {AntennaEditWidget::tr("Тип антенны не определен"), AntennaEditWidget::tr("Антенна типа \"БС-2\""),
            AntennaEditWidget::tr("Вибратор"), AntennaEditWidget::tr("Наклонный луч")};
}

QStringList stateNames()
{
    return {AntennaEditWidget::tr("Вкл."), AntennaEditWidget::tr("Выкл.")};
}

} // namespace

AntennaEditWidget::AntennaEditWidget(QWidget* parent) : CommonEditWidget(parent)
{
}

int AntennaEditWidget::newUid(int* column)
{
    *column = AntennaTableData::Uid;
    return m_store ? m_store->generateObjectUid(CoConfig::ObjectAntennas) : -1;
}

bool AntennaEditWidget::confirmRemoval(const QList<int>& rows)
{
    if (!m_store || !antennaData())
        return true;
    QSet<int> uids;
    for (const int row : rows)
        uids.insert(antennaData()->rows().value(row).uid);
    const ConfigCheck::Referrers referrers =
        ConfigCheck::referrersOf(*m_store, ConfigCheck::RecordKind::Antenna, uids, 5, {ConfigCheck::RecordKind::ArmUnion});
    return referrers.isEmpty() || Common::confirmRemoval(this, referrers.summary(), referrers.names());
}

AntennaTableData* AntennaEditWidget::antennaData() const
{
    return static_cast<AntennaTableData*>(tableData());
}

void AntennaEditWidget::setComplexConfig(CoConfig::ComplexConfigInterface* config)
{
    if (!config)
        return;
    config->read(CoConfig::ObjectAntennas);
    config->read(CoConfig::ObjectArmUnions);

    const QList<Common::Antenna> antennas = config->antennas();
    const QList<CoConfig::ArmUnion> unions = config->armUnions();
    QList<QPair<QString, int>> unionItems;
    QHash<int, int> unionOfAntenna; // antenna uid -> the first union listing it
    for (const CoConfig::ArmUnion& armUnion : unions) {
        unionItems.append({armUnion.name, armUnion.uid});
        for (int antennaUid : armUnion.antennaUids)
            unionOfAntenna.insert(antennaUid, unionOfAntenna.value(antennaUid, armUnion.uid));
    }
    QList<AntennaRow> rows;
    rows.reserve(antennas.size());
    for (const Common::Antenna& antenna : antennas)
        rows.append(AntennaRow::fromAntenna(antenna, unionOfAntenna.value(antenna.uid, -1)));

    // The rows the table holds, as after a save of its own: it stays as it is, with its
    // selection and place.
    if (antennaData() && unionItems == m_unionItems && antennaData()->rows() == rows) {
        m_store = config;
        return;
    }

    // The history reaches back past a save; rows that changed otherwise end it.
    const auto byUid = [](const AntennaRow& a, const AntennaRow& b) { return a.uid < b.uid; };
    QList<AntennaRow> held = antennaData() ? antennaData()->rows() : QList<AntennaRow>();
    QList<AntennaRow> fresh = rows;
    std::stable_sort(held.begin(), held.end(), byUid);
    std::stable_sort(fresh.begin(), fresh.end(), byUid);
    if (held != fresh && history()->count() > 0) {
        history()->clear();
        history()->setProperty("historyNote", tr("история вкладки закончилась: записи изменены другой программой"));
    }

    const QStringList types = typeNames();
    const QStringList states = stateNames();
    setTableData(std::make_unique<AntennaTableData>(types, states, rows, unions));
    setDelegates(types, states, unionItems);
    view()->fitRowsToContents();
    view()->resizeColumnsToContents();
    m_store = config;
    m_unionItems = unionItems;
}

void AntennaEditWidget::setDelegates(const QStringList& typeNames, const QStringList& stateNames,
                                     const QList<QPair<QString, int>>& unions)
{
    QStringList unionTexts = {tr("Нет привязки")};
    QVariantList unionValues = {-1};
    for (const auto& armUnion : unions) {
        unionTexts.append(armUnion.first);
        unionValues.append(armUnion.second);
    }
    auto* diagram = new LineEditDelegate(view());
    diagram->setValidator(new QIntValidator(0, 360));
    QList<QPair<int, QAbstractItemDelegate*>> delegates = {
        {AntennaTableData::Type, new ComboBoxDelegate(typeNames, {-1, 0, 1, 2}, view())},
        {AntennaTableData::Diagram, diagram},
        {AntennaTableData::Azimuth, new LineEditDelegate(view())},
        {AntennaTableData::State, new ComboBoxDelegate(stateNames, {1, 0}, view())},
        {AntennaTableData::ArmUnion, new ComboBoxDelegate(unionTexts, unionValues, view())}};
    for (const auto& column : delegates) {
        // The delegates of the previous load go with their rows.
        if (QAbstractItemDelegate* previous = view()->itemDelegateForColumn(column.first))
            previous->deleteLater();
        view()->setItemDelegateForColumn(column.first, column.second);
    }
}

CoConfig::ComplexConfigInterface* AntennaEditWidget::saveComplexConfig()
{
    if (!m_store || !antennaData())
        return m_store;
    Common::commitOpenEditors(this);
    // A union's list of antennas is changed only where the table changed it: an antenna moved
    // leaves the union it was shown in (the first that lists it) for the one chosen, a removed
    // one leaves every union; the order and the other unions' lists stay as they are.
    QList<CoConfig::ArmUnion> unions = m_store->armUnions();
    QHash<int, int> unionAt; // union uid -> its place in the list
    QHash<int, int> shownIn; // antenna uid -> the union it was shown in
    for (int n = 0; n < unions.size(); ++n) {
        unionAt.insert(unions[n].uid, n);
        for (int antennaUid : std::as_const(unions[n].antennaUids))
            shownIn.insert(antennaUid, shownIn.value(antennaUid, unions[n].uid));
    }
    bool unionsChanged = false;
    QSet<int> kept;
    m_store->clearAntennas();
    for (const AntennaRow& row : antennaData()->rows()) {
        m_store->addAntenna(row.toAntenna());
        kept.insert(row.uid);
        const int shown = shownIn.value(row.uid, -1);
        if (row.armUnionUid == shown)
            continue;
        if (shown != -1)
            unionsChanged |= unions[unionAt.value(shown)].antennaUids.removeAll(row.uid) > 0;
        const auto chosen = unionAt.constFind(row.armUnionUid);
        if (row.armUnionUid != -1 && chosen != unionAt.cend() && !unions[chosen.value()].antennaUids.contains(row.uid)) {
            unions[chosen.value()].antennaUids.append(row.uid);
            unionsChanged = true;
        }
    }
    for (CoConfig::ArmUnion& armUnion : unions)
        unionsChanged |= armUnion.antennaUids.removeIf([&](int uid) { return !kept.contains(uid); }) > 0;
    if (unionsChanged) {
        m_store->clearArmUnions();
        for (const CoConfig::ArmUnion& armUnion : std::as_const(unions))
            m_store->addArmUnion(armUnion);
    }
    return m_store;
}

void AntennaEditWidget::resizeEvent(QResizeEvent* event)
{
    CommonEditWidget::resizeEvent(event);
    view()->fitRowsToContents();
}
