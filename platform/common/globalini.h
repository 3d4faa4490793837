#pragma once

class QSettings;

namespace Common {

// The workstation's settings: one process-wide INI file. Its path comes from the environment
// variable ORVANE_SETTINGS when set, else "Orvane/orvane.ini" in the user's configuration folder.
class GlobalIni
{
public:
    static QSettings& ini();
};

} // namespace Common
