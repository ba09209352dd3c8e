#include "HistoryExport.h"

#include "CsvHistoryWriter.h"
#include "HistoryUnit.h"
#include "XlsxHistoryWriter.h"

#include "prefs/FileUtils.h"
#include "prefs/ReplacingFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace {

QString CannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

TExportResult WriteCsv(const THistory& history, const std::vector<int>& rows, const QString& path,
                       const QLocale& locale) {
    TReplacingFile file(path, TFileAccess::Shared);
    if (!file.Open())
        return {false, CannotWrite(path, file.Reason())};
    errno = 0;
    if (!WriteHistoryCsv(history, rows, file.Device(), locale))
        return {false, CannotWrite(path, errno ? SystemErrorText(errno) : file.Device().errorString())};
    if (!file.Commit())
        return {false, CannotWrite(path, file.Reason())};
    return {true, QString(), int(rows.size())};
}

// The workbook library writes to a file name: the temporary file beside the
// target, put in its place once the workbook is complete.
TExportResult WriteXlsx(const THistory& history, const std::vector<int>& rows, const QString& path,
                        const QLocale& locale) {
    TReplacingFile file(path, TFileAccess::Shared);
    if (!file.Open())
        return {false, CannotWrite(path, file.Reason())};
    QString reason;
    if (!WriteHistoryXlsx(history, rows, file.TemporaryPath(), locale, &reason))
        return {false, CannotWrite(path, reason)};
    if (!file.Commit())
        return {false, CannotWrite(path, file.Reason())};
    return {true, QString(), int(rows.size())};
}

} // namespace

std::optional<TExportFormat> ExportFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx"))
        return TExportFormat::Xlsx;
    if (suffix == QLatin1String("csv"))
        return TExportFormat::Csv;
    return std::nullopt;
}

QString DefaultExportFileName(const QString& object, const QDate& date, TExportFormat format) {
    QString name = QStringLiteral("История");
    if (!object.isEmpty())
        name += u'_' + object;
    name += u'_' + date.toString(QStringLiteral("yyyy-MM-dd"));
    return name + (format == TExportFormat::Csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx"));
}

QString ExportObjectText(const THistory& history) {
    if (history.Count() == 0)
        return QString();
    return RawMessage(history.RecordAt(history.Count() - 1)).left(4);
}

std::vector<int> ExportRowList(const THistory& history, int RecFrom, int RecTo) {
    const TRowRange range = history.ExportRows(RecFrom, RecTo);
    std::vector<int> rows;
    rows.reserve(size_t(range.Count()));
    for (int row = range.First; row <= range.Last; ++row)
        rows.push_back(row);
    return rows;
}

TExportResult ExportHistory(const THistory& history, const std::vector<int>& rows, const QString& path,
                            const QLocale& locale) {
    if (rows.empty())
        return {false, QStringLiteral("Нет записей для экспорта")};
    const std::optional<TExportFormat> format = ExportFormatOf(path);
    if (!format)
        return {
            false,
            QStringLiteral("Экспорт пишет файлы .xlsx и .csv, а не %1").arg(QDir::toNativeSeparators(path))};
    return *format == TExportFormat::Csv ? WriteCsv(history, rows, path, locale)
                                         : WriteXlsx(history, rows, path, locale);
}
