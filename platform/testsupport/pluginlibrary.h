#pragma once

#include <QList>
#include <QPluginLoader>
#include <QString>

class OrvanePlugin;
class OrvanePluginInterface;

// A plugin library of the program's folder loaded through the contract, as the shell loads it.
// Plugins made through it are destroyed through its factory, at the latest with it; the library
// itself stays loaded, as the shell leaves it.
class PluginLibrary
{
public:
    // The file name without its suffix, e.g. "orvane-10-racks".
    explicit PluginLibrary(const QString& name);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    static QString filePath(const QString& name);

    bool isLoaded() const { return m_factory != nullptr; }
    QString errorString() const { return m_error; }
    QObject* root() const { return m_root; }
    OrvanePluginInterface* factory() const { return m_factory; }

    // A new plugin from the factory, or null when the library gave no factory or no plugin.
    OrvanePlugin* create();
    void destroy(OrvanePlugin* plugin);
    void destroyAll();

private:
    QPluginLoader m_loader;
    QObject* m_root = nullptr;
    OrvanePluginInterface* m_factory = nullptr;
    QString m_error;
    QList<OrvanePlugin*> m_plugins;
};
