#include "CommonCodec.h"

#include "TypedText.h"

const QString ObjNumChars = QStringLiteral("0123456789ABCDEFabcdef");

bool ObjNumKeyAllowed(QChar c) {
    return KeyAllowed(c, ObjNumChars);
}

bool ObjNumTypedTextAllowed(const QString& text) {
    return TypedTextAllowed(text, ObjNumChars, ObjNumMaxTyped);
}

QString ObjectNumberForWrite(const QString& text) {
    // For a decimal text this is exactly "%.4d" of its number; any other
    // short text gets its zeros the same way, as text.
    if (text.size() >= 4)
        return text;
    return QString(4 - text.size(), QLatin1Char('0')) + text;
}

std::optional<TDispValue> DecodeDispValue(const QString& value) {
    const int v = HexValue(value);
    if (v < 0 || v > DispOff)
        return std::nullopt;
    if (v == DispOff)
        return TDispValue{false, 0};
    return TDispValue{true, v};
}

std::optional<QString> EncodeDispValue(bool on, int timeIndex) {
    if (!on)
        return QStringLiteral("FF");
    if (timeIndex < 0 || timeIndex >= DispTimeCount)
        return std::nullopt;
    return HexText(timeIndex, 2);
}

std::optional<TSignalLevels> DecodeSignalValue(const QString& value) {
    if (value.size() != 4)
        return std::nullopt;
    const int signal = HexValue(value.left(2));
    const int errors = HexValue(value.mid(2, 2));
    const auto usable = [](int level, int max) {
        return (level >= 0 && level <= max) || level == SignalUnknown;
    };
    if (!usable(signal, SignalLevelMax) || !usable(errors, ErrorLevelMax))
        return std::nullopt;
    return TSignalLevels{signal, errors};
}

QString LevelText(int level, int max) {
    if (level == SignalUnknown)
        return QStringLiteral("Неопределено");
    return QString::number(level * 100 / max) + QLatin1Char('%');
}
