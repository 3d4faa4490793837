#pragma once

#include "historyentry.h"
#include "recordchanges.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// What orvane-history prints: a line of text or a JSON object for each entry and change.

// "3f2a9c01b2  2025-05-12 10:04:31  ivanov@arm1 АРМ 100 Sulvane  Операторы: 1 добавлен".
QString entryLine(const History::HistoryEntry& entry);
QJsonObject entryJson(const History::HistoryEntry& entry);
QJsonObject fileChangesJson(const History::FileChanges& file);
