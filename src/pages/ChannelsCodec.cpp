#include "ChannelsCodec.h"

#include "CommonCodec.h"

namespace {

constexpr int Off = 0xFF;

} // namespace

namespace ChannelsWire {

QString EntryReadCommand(int entry) {
    return QStringLiteral("+alphon%1").arg(entry);
}

QString EntryReadError(int entry) {
    return QStringLiteral("Параметр направления %1").arg(entry + 1);
}

QString EntryWriteError(int entry) {
    return QStringLiteral("Ошибка записи телефона #%1").arg(entry);
}

} // namespace ChannelsWire

std::optional<bool> ApplyGprsOnlineValue(const QString& value) {
    const int v = HexValue(value);
    if (v < 0)
        return std::nullopt;
    return v < Off;
}

int ApplyMoveValue(const QString& value) {
    const int v = HexValue(value);
    return v >= 0 && v < Off ? 1 : 0;
}

QString GprsOnlineWriteValue(bool on) {
    return on ? QStringLiteral("00") : QStringLiteral("FF");
}

QString MoveWriteValue(int moveItem) {
    return moveItem == 1 ? QStringLiteral("00") : QStringLiteral("FF");
}
