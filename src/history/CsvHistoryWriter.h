#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <vector>

class QIODevice;
class THistory;

// One cell of a CSV row: as it stands, or between double quotes (quotes
// inside doubled) when it holds ";", a double quote or a line end.
QByteArray CsvField(const QString& text);

// The history as CSV the way spreadsheets of a Russian locale open it:
// UTF-8 with a byte-order mark, ";" between cells, CR LF after each row; the
// captions, then one row per store row given, with the texts of the list.
// False when the device would not take the bytes.
bool WriteHistoryCsv(const THistory& history, const std::vector<int>& rows, QIODevice& out,
                     const QLocale& locale = QLocale::system());
