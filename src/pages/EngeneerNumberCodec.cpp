#include "EngeneerNumberCodec.h"

#include "panel/PairText.h"

QString EncodeEnableEng(bool enabled) {
    return enabled ? QStringLiteral("00") : QStringLiteral("FF");
}

bool DecodeEnableEng(const QString& value) {
    return value == QStringLiteral("00");
}

QString EnableEngErrorName() {
    return QStringLiteral("Включить/Выключить инж. номера");
}

QString PhingReadCommand(int n) {
    return QStringLiteral("+phing%1").arg(n - 1);
}

QString PhingWriteCommand(int n, const QString& number) {
    return PhingReadCommand(n) + number;
}

QString EngineerNumberErrorName(int n) {
    return QStringLiteral("Инженерный номер %1").arg(n);
}

QString EngineerKeyChars() {
    return QStringLiteral("\b+0123456789");
}

bool EngineerKeyAllowed(QChar c) {
    return !FilterChars(QString(c), EngineerKeyChars()).isEmpty();
}

QString EngineerNumberForWrite(const QString& text) {
    QString number = text;
    number.remove(QLatin1Char(' '));
    return number.isEmpty() ? QStringLiteral(" ") : number;
}
