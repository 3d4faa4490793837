#include "complexdata.h"

namespace CoConfig {

bool operator==(const ComplexData& a, const ComplexData& b)
{
    return a.complexUid == b.complexUid && a.complexInfos == b.complexInfos && a.antennas == b.antennas
        && a.dataStorages == b.dataStorages && a.pelengators == b.pelengators && a.armUnions == b.armUnions
        && a.pelengatorUnions == b.pelengatorUnions && a.operators == b.operators
        && a.taskSetLinks == b.taskSetLinks && a.taskTransferLinks == b.taskTransferLinks
        && a.reportLinks == b.reportLinks && a.dravikLinks == b.dravikLinks && a.racks == b.racks
        && a.computers == b.computers && a.power.ups == b.power.ups && a.power.pdus == b.power.pdus
        && a.power.openSensors == b.power.openSensors && a.power.powerSockets == b.power.powerSockets
        && a.receivers.receivers == b.receivers.receivers
        && a.receivers.channelServers == b.receivers.channelServers
        && a.receivers.antennaServers == b.receivers.antennaServers
        && a.receivers.antennaPools == b.receivers.antennaPools
        && a.receivers.antennaControls == b.receivers.antennaControls
        && a.receivers.channels == b.receivers.channels && a.receivers.channelParams == b.receivers.channelParams;
}

} // namespace CoConfig
