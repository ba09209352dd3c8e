#pragma once

#include "HistoryRec.h"

#include <QLocale>
#include <QString>

// How a column of the history goes into a spreadsheet: index, object, code,
// partition, zone and global index as numbers, the time as a date-time, the
// rest (the message included) as text.
enum class TCellType { Number, DateTime, Text };

TCellType ColumnType(int column);
// The value of a number column (column: a THistoryColumn).
double ColumnNumber(const THistoryRec& rec, int column);
// Whether the record's time can go into a date-time cell: a real date, not
// the "no date" value, which a spreadsheet cannot show (its days start in
// 1900); such a time goes in as the text the list shows.
bool HasSheetDate(const THistoryRec& rec);

// A Qt date or time format ("dd.MM.yyyy", "h:mm:ss AP t") as a spreadsheet
// number format ("dd.mm.yyyy", "h:mm:ss AM/PM"): months and minutes both
// become "m" (the spreadsheet tells them apart by their neighbours), the
// time zone is left out, and letters that are no field are kept as text.
QString SpreadsheetFormat(const QString& qtFormat);
// The locale's short date and long time format, as the time cells show them.
QString SpreadsheetDateTimeFormat(const QLocale& locale);
