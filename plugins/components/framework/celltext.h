#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Rows of cells from text that a spreadsheet copies (fields apart by tabs) or that a CSV file
// holds (by commas or semicolons, fields in double quotes where they hold those, "" for a quote).
// The separator is the first line's: a tab, else the more frequent of ";" and ",".
QList<QStringList> parseCellText(const QString& text);
