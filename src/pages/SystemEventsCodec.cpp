#include "SystemEventsCodec.h"

#include "CommonCodec.h"

namespace {

constexpr int kNoTest = 0xFF;
constexpr int kMaxField = 0xFF;

QString hexByte(int v) {
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

// A field read from the panel as the combo takes it: 255 stands for 0.
int shownField(int v) {
    return v == kNoTest ? 0 : v;
}

} // namespace

TSystemEventsValues SystemEventsDefaults() {
    return {};
}

bool HourShown(int hours) {
    return hours >= 0 && hours < HourCount;
}

bool MinuteShown(int minutes) {
    return minutes >= 0 && minutes < MinuteCount;
}

std::optional<QString> EncodePwlog(const TSystemEventsValues& values) {
    const auto writable = [](int v) { return v >= 0 && v < kMaxField; };
    if (!writable(values.Hours) || !writable(values.Minutes))
        return std::nullopt;
    const bool noTest = values.Hours == 0 && values.Minutes == 0;
    QString out = QStringLiteral("FFFF");
    out += values.Reboot ? QStringLiteral("00") : QStringLiteral("FF");
    out += hexByte(noTest ? kNoTest : values.Hours);
    out += hexByte(noTest ? kNoTest : values.Minutes);
    out += QStringLiteral("FFFFFFFF");
    return out;
}

TPwlogFields DecodePwlog(const QString& value) {
    TPwlogFields fields;
    for (int i = 0; i < PwlogFieldCount; ++i) {
        const QString text = value.mid(2 * i, 2);
        const int v = text.size() == 2 ? HexValue(text) : -1;
        if (v >= 0)
            fields.Field[size_t(i)] = v;
    }
    return fields;
}

bool ApplyPwlog(const QString& value, TSystemEventsValues& values) {
    const TPwlogFields fields = DecodePwlog(value);
    const auto& restart = fields.Field[PwlogRestartField];
    const auto& hours = fields.Field[PwlogHoursField];
    const auto& minutes = fields.Field[PwlogMinutesField];
    // A restart field that is not two hexadecimal digits (a short or broken
    // answer) is not taken as "on".
    if (!restart)
        return false;
    values.Reboot = *restart != kNoTest;
    if (!hours)
        return false;
    values.Hours = shownField(*hours);
    if (!minutes)
        return false;
    values.Minutes = shownField(*minutes);
    return true;
}
