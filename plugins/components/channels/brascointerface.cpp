#include "brascointerface.h"

#include "channeldata.h"
#include "standardplugin.h"

OrvanePlugin* BrascoInterface::createPlugin()
{
    return new StandardPlugin(tr("Каналы"), new ChannelData());
}
