#pragma once

#include <QByteArray>
#include <QFile>

// A size from /proc/self/status in kB ("VmRSS:", "VmHWM:"); -1 when absent.
inline long ProcStatusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    }
    return -1;
}
