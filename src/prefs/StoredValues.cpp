#include "StoredValues.h"

#include <QSettings>
#include <QVariant>

bool ReadIntValue(const QSettings& key, const QString& name, int& value) {
    const QVariant stored = key.value(name);
    if (!stored.isValid())
        return false;
    bool ok = false;
    int number = 0;
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QString: number = stored.toInt(&ok); break;
    default: break;
    }
    if (!ok)
        return false;
    value = number;
    return true;
}

bool ReadBoolValue(const QSettings& key, const QString& name, bool& value) {
    int number = 0;
    if (!ReadIntValue(key, name, number))
        return false;
    value = number != 0;
    return true;
}

bool ReadStringValue(const QSettings& key, const QString& name, QString& value) {
    const QVariant stored = key.value(name);
    if (!stored.isValid() || stored.typeId() == QMetaType::QStringList || !stored.canConvert<QString>())
        return false;
    value = stored.toString();
    return true;
}

void WriteIntValue(QSettings& key, const QString& name, int value) {
    key.setValue(name, value);
}

void WriteBoolValue(QSettings& key, const QString& name, bool value) {
    key.setValue(name, value ? 1 : 0);
}

void WriteStringValue(QSettings& key, const QString& name, const QString& value) {
    key.setValue(name, value);
}
