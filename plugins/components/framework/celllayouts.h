#pragma once

#include <QFont>
#include <QPalette>
#include <QSize>
#include <QString>
#include <QStyle>
#include <QTextOption>

#include <functional>

class QStyleOptionViewItem;
class QTextLayout;

// Cell texts laid out once and kept: a table paints and measures the same few hundred texts again
// on every reload and scroll, and shaping them anew is most of what a paint of a large table costs.
// Only the GUI thread uses it.
namespace CellLayouts {

// The text laid out as item views lay out a cell's text: lines of that width, one under the
// other. Null when it takes more than one line. Kept until later texts push it out, or until a
// text in another font is asked for.
const QTextLayout* line(const QString& text, const QFont& font, const QTextOption& option, int width);

// How item views lay out the text of the cell: wrapped or not, in its direction and alignment.
QTextOption textOption(const QStyleOptionViewItem& option);
// The colours item views draw a cell of that state in.
QPalette::ColorGroup colorGroup(QStyle::State state);

// What `measure` gives for this text in this font, asked once per kind of measure and width.
QSize size(const QString& text, const QFont& font, int kind, int width, const std::function<QSize()>& measure);

} // namespace CellLayouts
