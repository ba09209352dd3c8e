#include "AlarmButtonsCodec.h"

#include "CommonCodec.h"

#include <algorithm>

namespace {

constexpr int Button1Bit = 0x01;
constexpr int Button2Bit = 0x04;
constexpr int AkbBit = 0x20;
constexpr int ButtonValueLength = 9;

QString Hex2(int v) {
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

namespace AlarmButtonsWire {

QString ButtonCommand(int n) {
    return n == 2 ? QStringLiteral("+n02") : QStringLiteral("+n00");
}

QString ButtonError(int n) {
    return QStringLiteral("Настройки реакции тревожной кнопки %1").arg(n);
}

} // namespace AlarmButtonsWire

TReactionFlags DecodeReactionFlags(const QString& value) {
    const int v = std::max(HexValue(value), 0);
    return {(v & Button1Bit) != 0, (v & Button2Bit) != 0, (v & AkbBit) != 0};
}

QString EncodeReactionFlags(const TReactionFlags& flags) {
    const int v =
        (flags.Button1 ? Button1Bit : 0) | (flags.Button2 ? Button2Bit : 0) | (flags.AkbMessage ? AkbBit : 0);
    return Hex2(v);
}

TButtonValueRead DecodeButtonValue(const QString& value) {
    if (value.size() < ButtonValueLength)
        return {};
    const QString digits = value.left(ButtonValueLength);
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {TButtonRead::Malformed, {}};
    }
    return {TButtonRead::Value, {digits.left(4).toInt(), digits.mid(4, 2).toInt(), digits.mid(6, 3).toInt()}};
}

QString EncodeButtonValue(const TButtonValue& value) {
    const auto field = [](int v, int width) {
        return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
    };
    return field(std::clamp(value.Code, 0, 9999), 4) + field(std::clamp(value.Section, 0, SectionMax), 2) +
           field(std::clamp(value.Loop, 0, LoopMax), 3);
}

QStringList HoldTimeCaptions() {
    QStringList captions;
    for (int s = 1; s <= HoldTimeCount; ++s)
        captions.append(QString::number(s));
    return captions;
}

THoldTimeValueRead DecodeHoldTime(const QString& value) {
    const bool printable = value.size() == 2 && std::all_of(value.begin(), value.end(),
                                                            [](QChar c) { return c > u' ' && c <= u'~'; });
    // "OK" is the end of an answer, not its value.
    if (!printable || value == QStringLiteral("OK"))
        return {};
    const int v = HexValue(value);
    if (v < 0)
        return {THoldTimeRead::Kept, -1, value};
    const int item = v / 2 - 1;
    if (item < 0 || item >= HoldTimeCount)
        return {THoldTimeRead::Kept, -1, value};
    return {THoldTimeRead::Item, item, {}};
}

QString EncodeHoldTime(int item) {
    if (item < 0 || item >= HoldTimeCount)
        return {};
    return Hex2((item + 1) * 2);
}
