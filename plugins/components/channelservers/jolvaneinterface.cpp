#include "jolvaneinterface.h"

#include "channelserverdata.h"
#include "standardplugin.h"

OrvanePlugin* JolvaneInterface::createPlugin()
{
    return new StandardPlugin(tr("Серверы каналов"), new ChannelServerData());
}
