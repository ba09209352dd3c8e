#pragma once

#include <QLocale>
#include <QString>

#include <vector>

class THistory;

// The history as a spreadsheet workbook (.xlsx) at `path`: one sheet
// "История", the captions in a bold row that stays in view, then one row per
// store row given. Index, object, code, partition, zone and global index are
// numbers; the time is a date-time cell in the locale's short date and long
// time format; the other columns are text as the list shows them (the
// message without any prefix). Every column is as wide as its widest cell.
// Rows go to disk as they are written, so memory stays small whatever the
// number of rows. False, with the reason, when the file cannot be written.
bool WriteHistoryXlsx(const THistory& history, const std::vector<int>& rows, const QString& path,
                      const QLocale& locale, QString* error);
