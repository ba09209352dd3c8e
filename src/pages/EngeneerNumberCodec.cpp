#include "EngeneerNumberCodec.h"

#include "SettingsLookup.h"
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

QStringList EngineerSettings(const TEngineerValues& values) {
    QStringList lines{QStringLiteral("EnableEng=%1").arg(values.Enabled ? 1 : 0)};
    for (int n = 1; n <= EngineerNumberCount; ++n)
        lines.append(QStringLiteral("EPhone%1=").arg(n) + values.Numbers[size_t(n - 1)]);
    return lines;
}

std::optional<TEngineerValues> EngineerFromSettings(const QStringList& lines) {
    int enabled = 0;
    if (!SettingsInt(lines, QStringLiteral("EnableEng"), enabled) || (enabled != 0 && enabled != 1))
        return std::nullopt;
    TEngineerValues v;
    v.Enabled = enabled == 1;
    for (int n = 1; n <= EngineerNumberCount; ++n)
        v.Numbers[size_t(n - 1)] = SettingsValue(lines, QStringLiteral("EPhone%1").arg(n));
    return v;
}
