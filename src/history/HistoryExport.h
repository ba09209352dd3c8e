#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

class THistory;

enum class TExportFormat { Xlsx, Csv };

// The format a file name asks for: ".xlsx" or ".csv", any case.
std::optional<TExportFormat> ExportFormatOf(const QString& path);
// The file name offered for an export: "История_<object>_<yyyy-MM-dd>" with
// the format's extension ("История_0050_2024-03-01.xlsx"); without the
// object part when there is none.
QString DefaultExportFileName(const QString& object, const QDate& date, TExportFormat format);
// The object number of the newest stored record, as its four message
// digits ("0050"); empty for an empty store.
QString ExportObjectText(const THistory& history);

// The store's rows of the records with indexes RecFrom..RecTo (either
// order; -1 and -1: every record), oldest first.
std::vector<int> ExportRowList(const THistory& history, int RecFrom, int RecTo);

struct TExportResult {
    bool Ok = false;
    QString Error; // a sentence for the user when not Ok
    int Rows = 0;  // records written
};

// Writes the header and the given store rows (in that order) to `path`, as a
// workbook or as CSV by the file's extension. The file appears whole or not
// at all (TReplacingFile): it is written under a temporary name in the same
// folder and then put in place, an existing file keeping its permissions,
// and only a regular file is replaced. No rows: an error, and no file.
TExportResult ExportHistory(const THistory& history, const std::vector<int>& rows, const QString& path,
                            const QLocale& locale = QLocale::system());
