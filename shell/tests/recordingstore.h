#pragma once

#include "complexconfig.h"

// The real store over a directory, with each write appended to the application's "fixtureLog"
// (as "store:write"), beside the calls that the fixture plugins record.
class RecordingStore : public CoConfig::ComplexConfig
{
    Q_OBJECT

public:
    explicit RecordingStore(const QString& dirPath, QObject* parent = nullptr);

    bool write(int types) override;
};
