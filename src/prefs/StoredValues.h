#pragma once

#include <QString>

class QSettings;

// Typed values of the saved window state. Integers are stored as numbers,
// Booleans as 0 and 1, texts as strings. A read fails (returns false and
// leaves `value` alone) when the value is missing or does not have the
// expected type: a Boolean or integer that is not a whole number, a text
// that was stored as a list.
bool ReadIntValue(const QSettings& key, const QString& name, int& value);
// Any whole number other than 0 reads as true.
bool ReadBoolValue(const QSettings& key, const QString& name, bool& value);
bool ReadStringValue(const QSettings& key, const QString& name, QString& value);

void WriteIntValue(QSettings& key, const QString& name, int value);
void WriteBoolValue(QSettings& key, const QString& name, bool value);
void WriteStringValue(QSettings& key, const QString& name, const QString& value);
