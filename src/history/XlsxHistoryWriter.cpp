#include "XlsxHistoryWriter.h"

#include "CLocaleScope.h"
#include "ExportCells.h"
#include "HistoryUnit.h"
#include "XlsxWriterLibrary.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>

namespace {

// Column widths in characters of the default font, with room for the
// cell's margins; a bold caption is a little wider than its letters.
constexpr double kCellMargin = 2.0;
constexpr double kBoldFactor = 1.15;
constexpr double kMaxWidth = 255.0; // the spreadsheet's limit

// The number of characters of the number written out in decimal.
int DecimalWidth(qint64 value) {
    char text[24];
    return int(std::to_chars(text, text + sizeof text, value).ptr - text);
}

lxw_datetime SheetDate(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), double(t.second())};
}


} // namespace

bool WriteHistoryXlsx(const THistory& history, const std::vector<int>& rows, const QString& path,
                      const QLocale& locale, QString* error) {
    // Every number in the file is written in the C format ("45352.3",
    // "width=\"9.5\""), never with the decimal comma of the user's locale.
    const TCLocaleScope cNumbers;
    if (!cNumbers.Active()) {
        if (error)
            *error = QStringLiteral("не удалось задать формат чисел");
        return false;
    }
    const TXlsxWriterLibrary* lib = XlsxWriterLibrary(error);
    if (!lib)
        return false;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook* book = lib->workbook_new_opt(fileName.constData(), &options);
    if (!book) {
        if (error)
            *error = QStringLiteral("не удалось создать книгу");
        return false;
    }
    lxw_worksheet* sheet = lib->workbook_add_worksheet(book, "История");
    lxw_format* bold = lib->workbook_add_format(book);
    lib->format_set_bold(bold);
    lxw_format* dateTime = lib->workbook_add_format(book);
    const QByteArray dateTimeFormat = SpreadsheetDateTimeFormat(locale).toUtf8();
    lib->format_set_num_format(dateTime, dateTimeFormat.constData());

    // The time column is as wide as a full date and time in its format.
    const QString sampleTime =
        DateTimeText(QDateTime(QDate(2000, 12, 28), QTime(23, 59, 58), Qt::UTC), locale);
    std::array<double, hcColumnCount> width{};
    const QStringList captions = HistoryColumnCaptions();
    for (int column = 0; column < hcColumnCount; ++column)
        width[size_t(column)] = captions.at(column).size() * kBoldFactor;
    width[hcTime] = std::max(width[hcTime], double(sampleTime.size()));

    lxw_error failed = LXW_NO_ERROR;
    const auto check = [&](lxw_error e) {
        if (e != LXW_NO_ERROR && failed == LXW_NO_ERROR)
            failed = e;
    };
    for (int column = 0; column < hcColumnCount; ++column)
        check(lib->worksheet_write_string(sheet, 0, lxw_col_t(column), captions.at(column).toUtf8().constData(),
                                     bold));
    lib->worksheet_freeze_panes(sheet, 1, 0);

    lxw_row_t sheetRow = 1;
    for (const int row : rows) {
        const THistoryRec& rec = history.RecordAt(row);
        for (int column = 0; column < hcColumnCount; ++column) {
            const auto col = lxw_col_t(column);
            double& w = width[size_t(column)];
            const TCellType type = ColumnType(column);
            if (type == TCellType::Number) {
                const double value = ColumnNumber(rec, column);
                w = std::max(w, double(DecimalWidth(qint64(value))));
                check(lib->worksheet_write_number(sheet, sheetRow, col, value, nullptr));
            } else if (type == TCellType::DateTime && HasSheetDate(rec)) {
                lxw_datetime when = SheetDate(rec.datetime);
                check(lib->worksheet_write_datetime(sheet, sheetRow, col, &when, dateTime));
            } else {
                const QString text = history.ColumnText(rec, column, TRecordView::List, locale);
                w = std::max(w, double(text.size()));
                if (!text.isEmpty())
                    check(lib->worksheet_write_string(sheet, sheetRow, col, text.toUtf8().constData(), nullptr));
            }
        }
        ++sheetRow;
    }
    for (int column = 0; column < hcColumnCount; ++column) {
        const double w = std::min(width[size_t(column)] + kCellMargin, kMaxWidth);
        check(lib->worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column), w, nullptr));
    }

    const lxw_error closed = lib->workbook_close(book);
    if (failed == LXW_NO_ERROR)
        failed = closed;
    if (failed != LXW_NO_ERROR && error)
        *error = QString::fromUtf8(lib->lxw_strerror(failed));
    return failed == LXW_NO_ERROR;
}
