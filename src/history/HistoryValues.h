#pragma once

#include "CidEventTable.h"
#include "HistoryRec.h"
#include "panel/DirectionRec.h"

#include <QLocale>
#include <QString>
#include <QStringList>

// What the history list and the spreadsheet export show of a record. With
// d0..d15 the message digits; a digit above 9 counts its value (A = 10).

int ObjectNumber(const THistoryRec& rec);    // d0 d1 d2 d3
int EventCode(const THistoryRec& rec);       // d7 d8 d9
int PartitionNumber(const THistoryRec& rec); // d10 d11
int ZoneNumber(const THistoryRec& rec);      // d12 d13 d14

// The event's key in the text table: d7, d8, d9 and the qualifier d6, each
// in decimal ("1301"). A digit above 9 gives two characters, a key that no
// table holds.
QString EventKey(const THistoryRec& rec);
// The event's text; empty when the table lacks the key.
QString EventText(const THistoryRec& rec, const TCidEventTable& table);

// The sixteen digits as upper-case hexadecimal characters.
QString RawMessage(const THistoryRec& rec);

// The Contact ID check digit: with d0..d14 added up (a 0 counting 10), the
// digit must be 15 - (sum mod 15); where that is 10 the panel sends 0 (A is
// taken as well). A message with a character that is no hexadecimal digit
// fails.
bool CidSumValid(const THistoryRec& rec);

// How many of the eight reporting entries the event went out through (clear
// bits of `phones`).
int DeliveredCount(const THistoryRec& rec);
// How many directions the panel has: the direction number of its eighth
// entry, the entries being numbered from the top.
int DirectionCount(const TDirectionTable& directions);

// The text of one channel type code (with its own separator, or none).
QString ChannelText(uint8_t code);
// The channels the event went out through: "GPRS" for the GPRS online link,
// else the channel of every entry whose bit is clear, in entry order, the
// CSD and SMS ones with " на тел. <entry>;".
QString ChannelsText(const THistoryRec& rec, const TDirectionTable& directions);

// Where a record is shown. The two differ in two columns: the list counts
// the GPRS online link as delivered to all directions, the export does not;
// the export puts an apostrophe before the message so that the spreadsheet
// keeps it as text.
enum class TRecordView { List, Export };

// "Передано по всем": delivered through as many entries as there are
// directions.
bool DeliveredToAll(const THistoryRec& rec, const TDirectionTable& directions, TRecordView view);

// A date-time in the locale's short date and long time format (without a
// time zone); the time is left out at exactly midnight, and an invalid value
// gives an empty text. NoDate() shows as 30.12.1899 in a Russian locale.
QString DateTimeText(const QDateTime& value, const QLocale& locale = QLocale::system());

// The thirteen columns of the history list and of the export.
enum THistoryColumn {
    hcIndex,
    hcTime,
    hcObject,
    hcCode,
    hcPartition,
    hcZone,
    hcEventText,
    hcMessage,
    hcCidSum,
    hcDeliveredAll,
    hcChannels,
    hcGlobalIndex,
    hcRecordSum,
    hcColumnCount
};

// "№", "Время", "Объект", ... "КС".
QStringList HistoryColumnCaptions();
// The text of one cell of the record (column: a THistoryColumn).
QString ColumnText(const THistoryRec& rec, int column, const TCidEventTable& table,
                   const TDirectionTable& directions, TRecordView view,
                   const QLocale& locale = QLocale::system());
// The record's thirteen cells in column order.
QStringList RecordTexts(const THistoryRec& rec, const TCidEventTable& table,
                        const TDirectionTable& directions, TRecordView view,
                        const QLocale& locale = QLocale::system());
