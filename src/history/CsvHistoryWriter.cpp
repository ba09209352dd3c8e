#include "CsvHistoryWriter.h"

#include "HistoryUnit.h"

#include <QIODevice>

QByteArray CsvField(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (!bytes.contains(';') && !bytes.contains('"') && !bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    QByteArray quoted = bytes;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

bool WriteHistoryCsv(const THistory& history, const std::vector<int>& rows, QIODevice& out,
                     const QLocale& locale) {
    QByteArray buffer("\xEF\xBB\xBF");
    const auto endRow = [&] {
        buffer.chop(1); // the last ";"
        buffer += "\r\n";
    };
    for (const QString& caption : HistoryColumnCaptions())
        buffer += CsvField(caption) + ';';
    endRow();
    for (const int row : rows) {
        const THistoryRec& rec = history.RecordAt(row);
        for (int column = 0; column < hcColumnCount; ++column)
            buffer += CsvField(history.ColumnText(rec, column, TRecordView::List, locale)) + ';';
        endRow();
        if (buffer.size() > (1 << 16)) {
            if (out.write(buffer) != buffer.size())
                return false;
            buffer.clear();
        }
    }
    return out.write(buffer) == buffer.size();
}
