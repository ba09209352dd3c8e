#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Intel HEX record types.
enum THexRecordType : int {
    hrData = 0,
    hrEndOfFile = 1,
    hrExtendedSegmentAddress = 2,
    hrStartSegmentAddress = 3,
    hrExtendedLinearAddress = 4,
    hrStartLinearAddress = 5,
};

// One line of a firmware image read as an Intel HEX record:
// ':' count(2) address(4) type(2) data(2 x count) sum(2).
struct THexRecord {
    int Type = hrData;
    quint16 Address = 0;
    QByteArray Data;
};

// The record on `line`; nothing when the line is not a well-formed record,
// and then `problem` says what is wrong with it (in the installer's words).
// Digits of either case are taken.
std::optional<THexRecord> ParseHexRecord(const QString& line, QString* problem = nullptr);

// "расширенный линейный адрес" and the like; empty for an unknown type.
QString HexRecordTypeName(int type);
