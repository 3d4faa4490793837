#pragma once

#include <QProxyStyle>

// The style of the component tables: the application's own, but the texts of plain cells (a text
// that fits its cell on one line, with no icon nor check box) are drawn and measured from laid-out
// texts kept between paints, so they look the same and cost no shaping after the first paint.
class CellTextStyle : public QProxyStyle
{
public:
    // One for every table; the application owns it.
    static CellTextStyle* instance();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;

private:
    CellTextStyle() = default;
};
