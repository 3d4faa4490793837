#include "belvix.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int Margin = 24;
constexpr int Spacing = 6;

QStringList nonEmpty(const QStringList& texts)
{
    QStringList result;
    for (const QString& text : texts)
        if (!text.trimmed().isEmpty())
            result.append(text);
    return result;
}

} // namespace

Belvix::Belvix(QWidget* parent, const QPixmap& pixmap, const QString& fullName, const QString& version,
               const QStringList& modules)
    : QBaseForm(parent, pixmap)
    , m_fullName(fullName)
    , m_version(version)
    , m_modules(modules)
{
    relayout();
}

Belvix::~Belvix() = default;

void Belvix::setFullNameString(const QString& fullName)
{
    m_fullName = fullName;
    setWindowTitle(fullName);
    relayout();
}

void Belvix::setVersionString(const QString& version)
{
    m_version = version;
    relayout();
}

void Belvix::showMessage(const QStringList& lines)
{
    m_messages = lines;
    relayout();
}

void Belvix::showModules(bool shown)
{
    m_modulesShown = shown;
    relayout();
}

QList<Belvix::Line> Belvix::lines() const
{
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(font().pointSizeF() * 1.5);

    QList<Line> result;
    if (!m_fullName.trimmed().isEmpty())
        result.append({m_fullName, titleFont});
    if (!m_version.trimmed().isEmpty())
        result.append({m_version, font()});
    for (const QString& message : nonEmpty(m_messages))
        result.append({message, font()});
    if (m_modulesShown) {
        QFont moduleFont = font();
        moduleFont.setPointSizeF(font().pointSizeF() * 0.9);
        for (const QString& module : nonEmpty(m_modules))
            result.append({module, moduleFont});
    }
    return result;
}

void Belvix::relayout()
{
    int width = 0;
    int height = 0;
    const QList<Line> all = lines();
    for (const Line& line : all) {
        const QFontMetrics metrics(line.font);
        width = qMax(width, metrics.horizontalAdvance(line.text));
        height += metrics.height();
    }
    height += Spacing * qMax(0, int(all.size()) - 1);
    fitContents(QSize(qMax(width, 240) + 2 * Margin, height + 2 * Margin));
    update();
}

void Belvix::drawContents(QPainter* painter)
{
    painter->setPen(QColor(0x1d, 0x2b, 0x3f));
    int y = Margin;
    for (const Line& line : lines()) {
        const QFontMetrics metrics(line.font);
        painter->setFont(line.font);
        const QRect box(Margin, y, width() - 2 * Margin, metrics.height());
        painter->drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, line.text);
        y += metrics.height() + Spacing;
    }
}
