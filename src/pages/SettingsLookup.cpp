#include "SettingsLookup.h"

#include <QStringView>

namespace {

// The first line that has the key, or none. A file is looked up once for
// every key of every page: the key part is compared in place, without a copy
// of each line's name.
const QString* FindKey(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq == key.size() && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return &line;
    }
    return nullptr;
}

} // namespace

QString SettingsValue(const QStringList& lines, const QString& key) {
    const QString* line = FindKey(lines, key);
    return line ? line->mid(key.size() + 1) : QString();
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
