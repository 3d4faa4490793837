#pragma once

#include "commoneditwidget.h"

class AntennaTableData;
class QResizeEvent;

namespace CoConfig {
class ComplexConfigInterface;
}

// The "Антенна" page: the antennas of the complex and the workstation union each is bound to.
// Edits stay in the table until saveComplexConfig() writes them into the store.
class AntennaEditWidget : public CommonEditWidget
{
    Q_OBJECT

public:
    explicit AntennaEditWidget(QWidget* parent = nullptr);

    // A fresh antenna uid from the store, into the "ID" column.
    int newUid(int* column) override;
    // Antennas that pools or antenna controls hold are removed only when the engineer says so;
    // the unions' bindings are this table's own.
    bool confirmRemoval(const QList<int>& rows) override;

public Q_SLOTS:
    // Reads the antennas and unions again and shows them; an antenna listed by several unions
    // is bound to the first of them in the store's order.
    void setComplexConfig(CoConfig::ComplexConfigInterface* config);
    // Replaces the store's antennas by the rows, in table order, and rewrites the antenna list
    // of every union; the unions' other fields stay as they are. Null before a store was given.
    CoConfig::ComplexConfigInterface* saveComplexConfig();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    AntennaTableData* antennaData() const;
    void setDelegates(const QStringList& typeNames, const QStringList& stateNames,
                      const QList<QPair<QString, int>>& unions);

    CoConfig::ComplexConfigInterface* m_store = nullptr;
    QList<QPair<QString, int>> m_unionItems; // the unions' names and uids the table was loaded with
};
