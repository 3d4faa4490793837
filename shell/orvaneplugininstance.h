#pragma once

#include <QObject>
#include <QString>

class OrvanePlugin;
class OrvanePluginInterface;

// One plugin library as the shell sees it: the factory found in it and the plugin object that
// the factory made. A library that gives no plugin object stays invalid, with the reason kept.
class OrvanePluginInstance : public QObject
{
    Q_OBJECT

public:
    explicit OrvanePluginInstance(const QString& filePath, QObject* parent = nullptr);
    // Gives a valid plugin object back to its factory; the library stays loaded.
    ~OrvanePluginInstance() override;

    bool isValid() const { return m_valid; }
    QString filePath() const { return m_filePath; }
    OrvanePluginInterface* factory() const { return m_interface; }
    OrvanePlugin* plugin() const { return m_plugin; }
    // Why the library gave no plugin; empty when valid.
    QString errorString() const { return m_error; }

private:
    void load();

    QString m_filePath;
    QString m_error;
    bool m_valid = false;
    OrvanePluginInterface* m_interface = nullptr;
    OrvanePlugin* m_plugin = nullptr;
};
