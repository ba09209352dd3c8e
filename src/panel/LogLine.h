#pragma once

#include <QDateTime>
#include <QString>

// The log's time stamp, "yyyy.mm.dd hh:mm:ss.zzz", directly followed by the
// text (no separator).
QString LogStamp(const QDateTime& when);
QString StampedLogLine(const QString& text, const QDateTime& when = QDateTime::currentDateTime());
