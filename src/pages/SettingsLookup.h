#pragma once

#include <QString>
#include <QStringList>

// The value of key `key` in settings-file lines: everything after the first
// "=" of the first line whose part before "=" equals the key without regard
// to case. Empty when no line matches.
QString SettingsValue(const QStringList& lines, const QString& key);
// The same read as a decimal integer; false when missing or not a number.
bool SettingsInt(const QStringList& lines, const QString& key, int& value);
// Whether some line has the key (its value may be empty).
bool SettingsHasKey(const QStringList& lines, const QString& key);
