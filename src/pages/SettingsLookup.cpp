#include "SettingsLookup.h"

#include "panel/PairText.h"

namespace {

// The first line that has the key, or none.
const QString* FindKey(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        if (!line.contains(QLatin1Char('=')))
            continue;
        if (GetPairName(line).compare(key, Qt::CaseInsensitive) == 0)
            return &line;
    }
    return nullptr;
}

} // namespace

QString SettingsValue(const QStringList& lines, const QString& key) {
    const QString* line = FindKey(lines, key);
    return line ? GetPairValue(*line) : QString();
}

bool SettingsInt(const QStringList& lines, const QString& key, int& value) {
    bool ok = false;
    const int v = SettingsValue(lines, key).toInt(&ok);
    if (ok)
        value = v;
    return ok;
}

bool SettingsHasKey(const QStringList& lines, const QString& key) {
    return FindKey(lines, key) != nullptr;
}
