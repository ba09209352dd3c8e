#include "LogLine.h"

#include "Cp1251.h"

#include "prefs/ReplacingFile.h"

QString LogStamp(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss.zzz"));
}

QString StampedLogLine(const QString& text, const QDateTime& when) {
    return LogStamp(when) + text;
}

bool SaveLogLines(const QString& path, const QStringList& lines, QString* error) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += ToCp1251(line);
        bytes += "\r\n";
    }
    // Every line written to the panel is in the log, the passwords too.
    return TReplacingFile::WriteAll(path, bytes, TFileAccess::Private, error);
}
