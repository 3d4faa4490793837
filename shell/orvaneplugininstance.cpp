#include "orvaneplugininstance.h"

#include "orvaneplugin.h"
#include "orvaneplugininterface.h"

#include <QFileInfo>
#include <QPluginLoader>

OrvanePluginInstance::OrvanePluginInstance(const QString& filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(filePath)
{
    load();
}

OrvanePluginInstance::~OrvanePluginInstance()
{
    if (m_valid && m_plugin)
        m_interface->destroyPlugin(m_plugin);
}

void OrvanePluginInstance::load()
{
    const QFileInfo info(m_filePath);
    if (!info.exists()) {
        m_error = QStringLiteral("no such file");
        return;
    }
    if (!info.isFile()) {
        m_error = QStringLiteral("not a regular file");
        return;
    }

    // The loader is only a handle: letting it go does not unload the library, so a plugin's
    // code stays loaded for the rest of the run.
    QPluginLoader loader(m_filePath);
    QObject* root = loader.instance();
    if (!root) {
        m_error = loader.errorString();
        return;
    }
    m_interface = qobject_cast<OrvanePluginInterface*>(root);
    if (!m_interface) {
        m_error = QStringLiteral("the root object %1 does not implement %2")
                      .arg(QString::fromLatin1(root->metaObject()->className()),
                           QStringLiteral(OrvanePluginInterface_iid));
        return;
    }
    m_plugin = m_interface->createPlugin();
    if (!m_plugin) {
        m_error = QStringLiteral("the factory made no plugin object");
        m_interface = nullptr;
        loader.unload();
        return;
    }
    m_valid = true;
}
