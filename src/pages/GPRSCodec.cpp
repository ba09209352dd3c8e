#include "GPRSCodec.h"

#include "CommonCodec.h"
#include "panel/PairText.h"

#include <climits>

namespace {

constexpr int kSecondsPerMinute = 60;

// The operators' public packet-data settings.
const TOperatorPreset& presetOf(TGPRSOperator op) {
    static const TOperatorPreset kMTS{"*99#", "internet.mts.ru", "mts", "mts"};
    static const TOperatorPreset kBeeline{"*99#", "internet.beeline.ru", "beeline", "beeline"};
    static const TOperatorPreset kMegafon{"*99#", "internet", "", ""};
    static const TOperatorPreset kTele2{"*99#", "internet.tele2.ru", "", ""};
    switch (op) {
    case opMTS: return kMTS;
    case opBeeline: return kBeeline;
    case opMegafon: return kMegafon;
    default: return kTele2;
    }
}

// A text of decimal digits only as a number (long texts are capped, which
// keeps them out of every range checked here); -1 for any other text, an
// empty one included.
int decimalValue(const QString& text) {
    if (text.isEmpty())
        return -1;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    }
    return text.size() > 9 ? INT_MAX : text.toInt();
}

} // namespace

QStringList GPRSPauseItems() {
    QStringList items;
    for (int i = 0; i < GPRSPauseCount; ++i)
        items.append(QString::number(i + GPRSPauseFirstMinutes));
    return items;
}

QString EncodeGPRSPause(int index) {
    if (index < 0 || index >= GPRSPauseCount)
        index = GPRSPauseDefaultIndex;
    const int seconds = (index + GPRSPauseFirstMinutes) * kSecondsPerMinute;
    return QStringLiteral("%1").arg(seconds, 4, 16, QLatin1Char('0')).toUpper();
}

int DecodeGPRSPause(const QString& value) {
    const int minutes = HexValue(value) / kSecondsPerMinute; // -1 (not hexadecimal) gives 0
    if (minutes <= GPRSPauseFirstMinutes)
        return 0;
    return qMin(minutes - GPRSPauseFirstMinutes, GPRSPauseCount - 1);
}

QStringList GPRSOperatorItems() {
    return {QStringLiteral("Билайн"), QStringLiteral("Мегафон"), QStringLiteral("МТС"),
            QStringLiteral("Теле2"), QStringLiteral("Другой")};
}

std::optional<TOperatorPreset> OperatorPreset(const QString& itemText) {
    const QString text = itemText.toUpper();
    if (text.contains(QStringLiteral("МТС")))
        return presetOf(opMTS);
    if (text.contains(QStringLiteral("БИЛАЙН")))
        return presetOf(opBeeline);
    if (text.contains(QStringLiteral("МЕГАФОН")))
        return presetOf(opMegafon);
    if (text.contains(QStringLiteral("ТЕЛЕ2")))
        return presetOf(opTele2);
    return std::nullopt;
}

bool OperatorLocksSimEdits(int index) {
    return index >= opBeeline && index <= opTele2;
}

TGPRSOperator RecognizeOperator(const QString& accessPoint) {
    const QString point = accessPoint.toUpper();
    if (point.contains(QStringLiteral("MTS")))
        return opMTS;
    if (point.contains(QStringLiteral("BEELINE")))
        return opBeeline;
    if (point == QStringLiteral("INTERNET"))
        return opMegafon;
    if (point.contains(QStringLiteral("TELE2")))
        return opTele2;
    return opOther;
}

QString GPRSDefaultServerAddress() {
    return QStringLiteral("127.000.000.001");
}

QString GPRSDefaultServerPort() {
    return QStringLiteral("3050");
}

QString GPRSDefaultPassword() {
    return QStringLiteral("DemoDemo");
}

bool IsValidIPAddress(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        const int v = decimalValue(part);
        if (v < 0 || v > 255)
            return false;
    }
    return true;
}

bool IsValidPort(const QString& text) {
    const int v = decimalValue(text);
    return v >= 1 && v <= 65535;
}

bool IsValidIdentPassword(const QString& text) {
    return text.size() >= IdentPasswordLength;
}

QString IPKeyChars() {
    return QStringLiteral("\b.0123456789");
}

QString PortKeyChars() {
    return QStringLiteral("\b0123456789");
}

bool IPKeyAllowed(QChar c) {
    return !FilterChars(QString(c), IPKeyChars()).isEmpty();
}

bool PortKeyAllowed(QChar c) {
    return !FilterChars(QString(c), PortKeyChars()).isEmpty();
}

const std::array<TGPRSParam, 10>& GPRSParams() {
    static const std::array<TGPRSParam, 10> table{{
        {"+gphon0", "Номер для выхода в GPRS", "Номер для выхода в GPRS", &TGPRSValues::Phone},
        // The write name keeps the spelling the tool has always shown.
        {"+GAPN0", "Точка доступа в GPRS", "Точка доствпа в GPRS", &TGPRSValues::Point},
        {"+gprsname0", "Имя пользователя GPRS", "Имя пользователя", &TGPRSValues::UserName},
        {"+gprspswd0", "Пароль GPRS", "Пароль", &TGPRSValues::UserPWD},
        {"+timegpres", "Пауза между попытками установить GPRS соединение",
         "Пауза между попытками установить GPRS соединение", nullptr},
        {"+ps", "Пароль для идентификации", "Пароль для идентификации", &TGPRSValues::Password},
        {"+IPadr", "IP адрес основной", "IP адрес основной", &TGPRSValues::IP1},
        {"+IPport", "Порт сервера основной", "Порт сервера основной", &TGPRSValues::Port1},
        {"+IP1adr", "IP адрес резервный", "IP адрес резервный", &TGPRSValues::IP2},
        {"+IP1port", "Порт сервера резервный", "Порт сервера резервный", &TGPRSValues::Port2},
    }};
    return table;
}

TGPRSValues GPRSDefaults() {
    TGPRSValues v;
    v.PauseIndex = GPRSPauseDefaultIndex;
    v.Password = GPRSDefaultPassword();
    v.IP1 = v.IP2 = GPRSDefaultServerAddress();
    v.Port1 = v.Port2 = GPRSDefaultServerPort();
    v.Operator = opMTS;
    const TOperatorPreset& mts = presetOf(opMTS);
    v.Phone = mts.Phone;
    v.Point = mts.Point;
    v.UserName = mts.User;
    v.UserPWD = mts.Password;
    return v;
}

void FillReserveServer(TGPRSValues& values) {
    if (values.IP2.isEmpty())
        values.IP2 = values.IP1;
    if (values.Port2.isEmpty())
        values.Port2 = values.Port1;
}
