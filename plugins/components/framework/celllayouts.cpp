#include "celllayouts.h"

#include <QCache>
#include <QHash>
#include <QStyleOptionViewItem>
#include <QTextLayout>

#include <array>

namespace {

struct LineKey
{
    QString text;
    int width;
    int layout; // alignment, direction and wrap of the text option, or the kind of a size

    bool operator==(const LineKey& other) const
    {
        return width == other.width && layout == other.layout && text == other.text;
    }
};

size_t qHash(const LineKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.text, key.width, key.layout);
}

struct Cache
{
    QFont font;
    // More than a screen of cells, a large one too: a paint finds every cell of the one before.
    QCache<LineKey, QTextLayout> lines{4096};
    QHash<LineKey, QSize> sizes;
};

// The texts of a few fonts (a table's own, a bold one): a paint that goes from one to another
// and back keeps both.
Cache& cacheFor(const QFont& font)
{
    // Left to the end of the process: the layouts hold font engines that the application frees.
    static std::array<Cache, 4>* caches = new std::array<Cache, 4>;
    static size_t oldest = 0;
    for (Cache& cache : *caches) {
        if (cache.font == font)
            return cache;
    }
    Cache& cache = (*caches)[oldest];
    oldest = (oldest + 1) % caches->size();
    cache.lines.clear();
    cache.sizes.clear();
    cache.font = font;
    return cache;
}

} // namespace

namespace CellLayouts {

const QTextLayout* line(const QString& text, const QFont& font, const QTextOption& option, int width)
{
    Cache& cache = cacheFor(font);
    const LineKey key{text, width,
                      int(option.alignment()) | int(option.textDirection()) << 16 | int(option.wrapMode()) << 20};
    QTextLayout* layout = cache.lines.object(key);
    if (!layout) {
        layout = new QTextLayout(text, font);
        layout->setTextOption(option);
        layout->setCacheEnabled(true); // keeps the shaped glyphs for the paints to come
        qreal height = 0;
        layout->beginLayout();
        for (QTextLine next = layout->createLine(); next.isValid(); next = layout->createLine()) {
            next.setLineWidth(width);
            next.setPosition(QPointF(0, height));
            height += next.height();
        }
        layout->endLayout();
        cache.lines.insert(key, layout);
    }
    return layout->lineCount() == 1 ? layout : nullptr;
}

QTextOption textOption(const QStyleOptionViewItem& option)
{
    QTextOption text;
    text.setWrapMode(option.features & QStyleOptionViewItem::WrapText ? QTextOption::WordWrap : QTextOption::ManualWrap);
    text.setTextDirection(option.direction);
    text.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    return text;
}

QPalette::ColorGroup colorGroup(QStyle::State state)
{
    if (!(state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

QSize size(const QString& text, const QFont& font, int kind, int width, const std::function<QSize()>& measure)
{
    Cache& cache = cacheFor(font);
    const LineKey key{text, width, kind};
    const auto found = cache.sizes.constFind(key);
    if (found != cache.sizes.cend())
        return *found;
    if (cache.sizes.size() >= 16384)
        cache.sizes.clear();
    const QSize measured = measure();
    cache.sizes.insert(key, measured);
    return measured;
}

} // namespace CellLayouts
