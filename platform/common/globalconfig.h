#pragma once

#include <QString>
#include <QStringList>

namespace Common {

// Values of the workstation's settings (GlobalIni). Each getter sets *ok (when given) to whether
// the value is configured and valid, and returns the default otherwise.
class GlobalConfig
{
public:
    // The configuration directory of the complex. ORVANE_CONFIG_DIR overrides the settings.
    static QString ConfigDir(bool* ok, const QString& def);

    // The uid of the workstation the program runs on ("Arm/Uid").
    static int ArmUID(bool* ok, const int& def);

    // The folder of .ddt files ("DemDec/DdtDir").
    static QString DdtDir(bool* ok, const QString& def);

    // The demodulation/decoding server ("DemDec/Address", "DemDec/Port").
    static QString AddressDDServer(bool* ok, const QString& def);
    static int PortDDServer(bool* ok, const int& def);

    // Where a search for demodulation/decoding servers sends its query ("DemDec/SearchAddresses");
    // loopback unless the engineer sets the network's broadcast address.
    static QStringList SearchAddressesDDServer();

    // Whether each write of the configuration is recorded in its history ("History/Enabled";
    // ORVANE_HISTORY=0 or 1 overrides it); on unless set off.
    static bool HistoryEnabled();

    // The git remote the history is pushed to after each recorded save ("History/Remote";
    // ORVANE_HISTORY_REMOTE overrides it); empty for none.
    static QString HistoryRemote();
};

} // namespace Common
