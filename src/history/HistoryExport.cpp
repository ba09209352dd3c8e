#include "HistoryExport.h"

#include "CsvHistoryWriter.h"
#include "HistoryUnit.h"
#include "XlsxHistoryWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The permissions a new file gets: read and write for all, less the
// process's file mode mask.
QFileDevice::Permissions NewFilePermissions() {
    unsigned mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const unsigned value = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    mask = value;
            }
        }
    }
    const unsigned mode = 0666 & ~mask;
    QFileDevice::Permissions p;
    if (mode & 0400)
        p |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & 0200)
        p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & 0040)
        p |= QFileDevice::ReadGroup;
    if (mode & 0020)
        p |= QFileDevice::WriteGroup;
    if (mode & 0004)
        p |= QFileDevice::ReadOther;
    if (mode & 0002)
        p |= QFileDevice::WriteOther;
    return p;
}

QString CannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

TExportResult WriteCsv(const THistory& history, const std::vector<int>& rows, const QString& path,
                       const QLocale& locale) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, CannotWrite(path, file.errorString())};
    if (!WriteHistoryCsv(history, rows, file, locale)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, CannotWrite(path, reason)};
    }
    if (!file.commit())
        return {false, CannotWrite(path, file.errorString())};
    return {true, QString(), int(rows.size())};
}

// The workbook library writes to a file name: a temporary one in the same
// folder, renamed over the target once the workbook is complete.
TExportResult WriteXlsx(const THistory& history, const std::vector<int>& rows, const QString& path,
                        const QLocale& locale) {
    const QFileInfo target(path);
    QTemporaryFile temp(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temp.open())
        return {false, CannotWrite(path, temp.errorString())};
    const QString tempPath = temp.fileName();
    temp.close();

    QString reason;
    if (!WriteHistoryXlsx(history, rows, tempPath, locale, &reason))
        return {false, CannotWrite(path, reason)};
    QFile::setPermissions(tempPath, target.exists() ? QFile::permissions(path) : NewFilePermissions());
    if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) != 0)
        return {false, CannotWrite(path, QString::fromLocal8Bit(std::strerror(errno)))};
    temp.setAutoRemove(false); // it is the target now
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
