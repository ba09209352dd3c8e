#include "SettingsLookup.h"

#include "panel/PairText.h"

QString SettingsValue(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        if (!line.contains(QLatin1Char('=')))
            continue;
        if (GetPairName(line).compare(key, Qt::CaseInsensitive) == 0)
            return GetPairValue(line);
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
