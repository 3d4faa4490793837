#pragma once

#include <QMenu>

#include <memory>

class About;
class AboutAction;

// "Помощь": the about action and the about box it shows.
class HelpMenu : public QMenu
{
    Q_OBJECT

public:
    explicit HelpMenu(QWidget* parent = nullptr);
    ~HelpMenu() override;

    About* about() const { return m_about.get(); }

private:
    AboutAction* m_aboutAction;
    std::unique_ptr<About> m_about; // a window of its own, so not a Qt child
};
