#pragma once

// Settings-file lines with one key's line changed or left out, for the
// pages' tables of bad settings.
#include <QString>
#include <QStringList>

// `lines` with the line of `key` set to `value`, or left out when `value` is
// null.
inline QStringList WithKeyLine(const QStringList& lines, const char* key, const char* value) {
    const QString prefix = QLatin1String(key) + QLatin1Char('=');
    QStringList out;
    for (const QString& line : lines) {
        if (!line.startsWith(prefix))
            out.append(line);
        else if (value)
            out.append(prefix + QString::fromUtf8(value));
    }
    return out;
}
