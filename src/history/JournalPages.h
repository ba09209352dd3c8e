#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class THistory;

// A stretch of journal indexes, From..To, both included; empty when To < From.
struct TIndexSpan {
    int From = 0;
    int To = -1;
    bool IsEmpty() const { return To < From; }
    int Count() const { return IsEmpty() ? 0 : To - From + 1; }
    friend bool operator==(const TIndexSpan&, const TIndexSpan&) = default;
};

// The panel's journal holds indexes 0..65535.
constexpr int kLastJournalIndex = 65535;
// Records per page after start, after Default and in place of a count that
// is not one.
constexpr int kDefaultRecordsPerPage = 20;

// The journal's commands and the names its failures have in the error list.
namespace JournalCommand {
// "+alphon<entry>", entry 0..7: one of the panel's reporting entries.
QString Direction(int entry);
inline const QString Pointer = QStringLiteral("+point");
// "+read" with two indexes as four upper-case hexadecimal digits each:
// records 0x004F to 0x0063 are "+read004F0063".
QString Read(int from, int to);
inline const QString Erase = QStringLiteral("+erase");
} // namespace JournalCommand

namespace JournalError {
// "Параметр направления <entry + 1>".
QString Direction(int entry);
inline const QString Pointer = QStringLiteral("Значение указателя истории");
inline const QString Records = QStringLiteral("Записи истории");
inline const QString Erase = QStringLiteral("Очистка истории");
// Answer lines of "+read" that were no record: they are named in the error
// list with their number, never dropped unseen.
QString RejectedLines(int count);
// The records of "+read" that did not come, by index (decimal, as the list
// shows them): one name per run of consecutive indexes, "Записи истории: не
// получена запись 5", "Записи истории: не получены записи 7–9".
QStringList MissingRecords(const QList<int>& indexes);
} // namespace JournalError

// Asked before the panel's journal is erased.
inline const QString EraseJournalQuestion =
    QStringLiteral("Вы действительно хотите удалить историю прибора?");

// The value of "+point": the index after the newest record, in hexadecimal
// (one to eight digits, any case). Nothing when the text is no hexadecimal
// number or lies beyond the journal (above 0x10000).
std::optional<int> ParsePointer(const QString& value);

// The page with the newest record at the top: the `count` indexes up to
// `newest` (fewer near the start of the journal).
TIndexSpan NewestPage(int newest, int count);
// The page before the one that starts at `first`: `count` indexes ending
// just below it; near the start of the journal, the first `count` indexes.
TIndexSpan PreviousPage(int first, int count);
// The page after the one that starts at `first` (`count` indexes each);
// empty past the end of the journal.
TIndexSpan NextPage(int first, int count);

// The "+read" that brings every record of the span from either kind of
// panel: one that answers the record at its second index and one that
// leaves it out. The second index is one past the span (the last index of
// the journal can only be asked for as the end).
QString ReadCommandFor(const TIndexSpan& span);

// The indexes of the span that the store lacks, from the first missing one
// to the last; empty when the store holds the whole span.
TIndexSpan MissingSpan(const THistory& history, const TIndexSpan& span);

// The records per page that a typed count gives: the number when it is a
// whole number from 1 to 65535, else kDefaultRecordsPerPage.
int RecordsPerPage(const QString& text);
