#pragma once

#include <QString>
#include <QtPlugin>

// What a plugin object may offer beside OrvanePlugin: showing one record of its tab. The shell
// asks for it with qobject_cast, to lead from a problem in the configuration to its record.
class OrvaneRecordView
{
public:
    virtual ~OrvaneRecordView() {}
    // Makes the record of that kind (its class name as in the files: "Rack", "Computer") and uid
    // the current row of the tab, scrolled into view; false when the tab shows no such record.
    virtual bool showRecord(const QString& kind, int uid) = 0;
};

#define OrvaneRecordView_iid "Orvane.RecordView/1.0"
Q_DECLARE_INTERFACE(OrvaneRecordView, OrvaneRecordView_iid)
