#include "celltext.h"

QList<QStringList> parseCellText(const QString& text)
{
    const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
    QChar separator = QLatin1Char('\t');
    if (!firstLine.contains(separator))
        separator = firstLine.count(QLatin1Char(';')) > firstLine.count(QLatin1Char(',')) ? QLatin1Char(';') : QLatin1Char(',');

    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != QLatin1Char('"'))
                cell += c;
            else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                cell += text.at(++i);
            else
                quoted = false;
        } else if (c == QLatin1Char('"') && cell.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == separator) {
            row << cell;
            cell.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            wasQuoted = false;
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty() || wasQuoted) {
        row << cell;
        rows << row;
    }
    return rows;
}
