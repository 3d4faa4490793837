#pragma once

#include <QMenuBar>

class CustomMenu;
class HelpMenu;

// The main window's menu bar: "Плагины", then "Помощь".
class CMenuBar : public QMenuBar
{
    Q_OBJECT

public:
    explicit CMenuBar(QWidget* parent = nullptr);
    ~CMenuBar() override;

    CustomMenu* customMenu() const { return m_customMenu; }
    HelpMenu* helpMenu() const { return m_helpMenu; }

public Q_SLOTS:
    // Adds a plugin's menu under "Плагины"; the plugin keeps owning it.
    void AddMenuToCustomMenu(QMenu* Menu);

private:
    HelpMenu* m_helpMenu;
    CustomMenu* m_customMenu;
};
