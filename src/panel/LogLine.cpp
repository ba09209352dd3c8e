#include "LogLine.h"

#include "Cp1251.h"

#include <QSaveFile>

QString LogStamp(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss.zzz"));
}

QString StampedLogLine(const QString& text, const QDateTime& when) {
    return LogStamp(when) + text;
}

bool SaveLogLines(const QString& path, const QStringList& lines, QString* error) {
    QSaveFile file(path);
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += ToCp1251(line);
        bytes += "\r\n";
    }
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
