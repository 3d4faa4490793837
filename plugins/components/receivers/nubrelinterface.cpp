#include "nubrelinterface.h"

#include "receiverdata.h"
#include "standardplugin.h"

OrvanePlugin* NubrelInterface::createPlugin()
{
    return new StandardPlugin(tr("Приёмники"), new ReceiverData());
}
