#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The log's time stamp, "yyyy.mm.dd hh:mm:ss.zzz", directly followed by the
// text (no separator).
QString LogStamp(const QDateTime& when);
QString StampedLogLine(const QString& text, const QDateTime& when = QDateTime::currentDateTime());

// Writes log lines to a file as the tool saves its log: Windows-1251, each
// line ended by CR LF, written to a temporary file first and then renamed
// over the target, so a failed save never leaves a half-written file. The
// log holds what was sent to the panel, passwords included: a new file is
// the owner's alone (0600), and only a regular file is replaced
// (TReplacingFile). On failure returns false with the reason in *error
// (Russian, without the file's name).
bool SaveLogLines(const QString& path, const QStringList& lines, QString* error = nullptr);
