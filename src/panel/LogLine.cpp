#include "LogLine.h"

QString LogStamp(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss.zzz"));
}

QString StampedLogLine(const QString& text, const QDateTime& when) {
    return LogStamp(when) + text;
}
