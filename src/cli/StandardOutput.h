#pragma once

#include <QByteArray>
#include <QString>

class QTextStream;

// "-" as a file name: standard output.
inline bool IsStandardOutput(const QString& path) {
    return path == QLatin1String("-");
}

// Writes `bytes` as they are (no text conversion) to the device under
// `out`, after what the stream holds; false with the reason when the device
// does not take them all (a full disk, a closed pipe) or the stream has no
// device.
bool WriteStandardOutput(QTextStream& out, const QByteArray& bytes, QString* reason);

// "стандартный вывод", for messages naming where a file went.
QString StandardOutputName();
