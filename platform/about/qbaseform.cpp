#include "qbaseform.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

QBaseForm::QBaseForm(QWidget* parent, const QPixmap& pixmap)
    : QSplashScreen(pixmap, Qt::WindowStaysOnTopHint)
    , m_picture(pixmap)
{
    // A dialog rather than a splash window, so that it takes the focus and Escape reaches it.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    if (parent)
        setParent(parent, windowFlags());
    setFocusPolicy(Qt::StrongFocus);
    fitContents(QSize());
}

QBaseForm::~QBaseForm() = default;

void QBaseForm::fitContents(const QSize& contentSize)
{
    const QSize size = contentSize.expandedTo(m_picture.size()).expandedTo(QSize(1, 1));
    setPixmap(background(size));
}

QPixmap QBaseForm::background(const QSize& size) const
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    gradient.setColorAt(1, QColor(0xd5, 0xdf, 0xec));
    painter.fillRect(pixmap.rect(), gradient);
    if (!m_picture.isNull()) {
        const QPoint origin((size.width() - m_picture.width()) / 2, (size.height() - m_picture.height()) / 2);
        painter.drawPixmap(origin, m_picture);
    }
    painter.setPen(QColor(0x5a, 0x6e, 0x8a));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

void QBaseForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QSplashScreen::keyPressEvent(event);
}

void QBaseForm::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

void QBaseForm::showEvent(QShowEvent* event)
{
    QSplashScreen::showEvent(event);
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}
