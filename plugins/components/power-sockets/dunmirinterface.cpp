#include "dunmirinterface.h"

#include "powersocketdata.h"
#include "standardplugin.h"

OrvanePlugin* DunmirInterface::createPlugin()
{
    return new StandardPlugin(tr("Розетки питания"), new PowerSocketData());
}
