#include "pluginlibrary.h"

#include "orvaneplugin.h"
#include "orvaneplugininterface.h"

PluginLibrary::PluginLibrary(const QString& name) : m_loader(filePath(name))
{
    m_root = m_loader.instance();
    m_factory = qobject_cast<OrvanePluginInterface*>(m_root);
    if (!m_root)
        m_error = m_loader.errorString();
    else if (!m_factory)
        m_error = QStringLiteral("%1 does not implement %2").arg(m_loader.fileName(), QLatin1String(OrvanePluginInterface_iid));
}

PluginLibrary::~PluginLibrary()
{
    destroyAll();
}

QString PluginLibrary::filePath(const QString& name)
{
    return QStringLiteral(ORVANE_BIN_DIR "/%1.so").arg(name);
}

OrvanePlugin* PluginLibrary::create()
{
    OrvanePlugin* plugin = m_factory ? m_factory->createPlugin() : nullptr;
    if (plugin)
        m_plugins.append(plugin);
    return plugin;
}

void PluginLibrary::destroy(OrvanePlugin* plugin)
{
    if (!plugin || !m_plugins.removeOne(plugin))
        return;
    m_factory->destroyPlugin(plugin);
}

void PluginLibrary::destroyAll()
{
    // In creation order, as a caller that destroys one by one would.
    while (!m_plugins.isEmpty())
        m_factory->destroyPlugin(m_plugins.takeFirst());
}
