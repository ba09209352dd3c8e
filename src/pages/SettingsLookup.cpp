#include "SettingsLookup.h"

#include <QStringView>

QString SettingsValue(const QStringList& lines, const QString& key) {
    // A file is looked up once for every key of every page: the key part is
    // compared in place, without a copy of each line's name.
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq == key.size() && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return {};
}

bool SettingsInt(const QStringList& lines, const QString& key, int& value) {
    bool ok = false;
    const int v = SettingsValue(lines, key).toInt(&ok);
    if (ok)
        value = v;
    return ok;
}
