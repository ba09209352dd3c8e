#pragma once

#include "panel/PanelExchange.h"

#include <QString>

#include <optional>

// Wire values of the Channels page besides the reporting entries (those are
// in panel/DirectionRec.h): the GPRS-online switch ("+gprsena"), the rule for
// moving on between directions ("+JDIR") and the journal erase that comes
// before every write of the page.
namespace ChannelsWire {

inline const QString GprsOnlineCommand = QStringLiteral("+gprsena");
inline const QString GprsOnlineReadError = QStringLiteral("Значение GPRS-online");
inline const QString GprsOnlineWriteError = QStringLiteral("Включить GPRS-online");

inline const QString MoveCommand = QStringLiteral("+JDIR");
inline const QString MoveError = QStringLiteral("Порядок перехода по направлениям");

inline const QString EraseCommand = QStringLiteral("+erase");
inline const QString EraseError = QStringLiteral("Очистка истории");
constexpr uint32_t EraseTimeOut = ExchangeTimeout::Erase;
// Asked (confirmation icon, Yes and No) before every write of the page.
inline const QString EraseQuestion = QStringLiteral("При записи история прибора будет очищена, продолжать?");

// "+alphon<entry>" for entry 0..7, and the names its read and its write go
// into the error list under.
QString EntryReadCommand(int entry);
QString EntryReadError(int entry);  // "Параметр направления <entry + 1>"
QString EntryWriteError(int entry); // "Ошибка записи телефона #<entry>"

} // namespace ChannelsWire

// The GPRS-online answer: on below FF, off from FF up. None when the value
// is not hexadecimal: a failed read, the switch left alone.
std::optional<bool> ApplyGprsOnlineValue(const QString& value);
// The moving-on answer: below FF the panel moves on to the next direction
// (item 1 of the move choice), FF or anything unreadable keeps to the
// current one (item 0).
int ApplyMoveValue(const QString& value);

// The values written: "00" for on (move on), "FF" for off (stay).
QString GprsOnlineWriteValue(bool on);
QString MoveWriteValue(int moveItem);
