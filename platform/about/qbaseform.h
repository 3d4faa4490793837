#pragma once

#include <QPixmap>
#include <QSplashScreen>

// A frameless window drawn over a picture, closed by a click or Escape. When no picture is
// given, a plain background of the size that the derived form asks for is painted instead.
class QBaseForm : public QSplashScreen
{
    Q_OBJECT

public:
    explicit QBaseForm(QWidget* parent = nullptr, const QPixmap& pixmap = QPixmap());
    ~QBaseForm() override;

    QPixmap picture() const { return m_picture; }

protected:
    // Resizes the window so that content of this size fits, over the picture.
    void fitContents(const QSize& contentSize);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPixmap background(const QSize& size) const;

    QPixmap m_picture;
};
