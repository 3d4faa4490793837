#pragma once

#include "qbaseform.h"

#include <QStringList>

// The about box: the program's full name, its version, message lines and, on request, the list
// of its modules. The window grows to fit its texts; empty texts take no line.
class Belvix : public QBaseForm
{
    Q_OBJECT

public:
    explicit Belvix(QWidget* parent = nullptr, const QPixmap& pixmap = QPixmap(),
                    const QString& fullName = QString(), const QString& version = QString(),
                    const QStringList& modules = QStringList());
    ~Belvix() override;

    QString fullNameString() const { return m_fullName; }
    void setFullNameString(const QString& fullName);

    QString versionString() const { return m_version; }
    void setVersionString(const QString& version);

    QStringList messages() const { return m_messages; }
    using QSplashScreen::showMessage;
    void showMessage(const QStringList& lines);

    QStringList modules() const { return m_modules; }
    bool modulesShown() const { return m_modulesShown; }
    void showModules(bool shown = true);

protected:
    void drawContents(QPainter* painter) override;

private:
    struct Line
    {
        QString text;
        QFont font;
    };
    QList<Line> lines() const;
    void relayout();

    QString m_fullName;
    QString m_version;
    QStringList m_messages;
    QStringList m_modules;
    bool m_modulesShown = false;
};
