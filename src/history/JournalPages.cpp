#include "JournalPages.h"

#include "HistoryUnit.h"

#include <algorithm>

namespace {

QString Hex4(int value) {
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString JournalCommand::Direction(int entry) {
    return QStringLiteral("+alphon%1").arg(entry);
}

QString JournalCommand::Read(int from, int to) {
    return QStringLiteral("+read") + Hex4(from) + Hex4(to);
}

QString JournalError::Direction(int entry) {
    return QStringLiteral("Параметр направления %1").arg(entry + 1);
}

QString JournalError::RejectedLines(int count) {
    return QStringLiteral("Записи истории: строк ответа, не принятых как запись, %1").arg(count);
}

QStringList JournalError::MissingRecords(const QList<int>& indexes) {
    QStringList names;
    for (qsizetype i = 0; i < indexes.size();) {
        qsizetype last = i;
        while (last + 1 < indexes.size() && indexes.at(last + 1) == indexes.at(last) + 1)
            ++last;
        names << (last == i ? QStringLiteral("Записи истории: не получена запись %1").arg(indexes.at(i))
                            : QStringLiteral("Записи истории: не получены записи %1–%2")
                                  .arg(indexes.at(i))
                                  .arg(indexes.at(last)));
        i = last + 1;
    }
    return names;
}

std::optional<int> ParsePointer(const QString& value) {
    const QString text = value.trimmed();
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    bool ok = false;
    const qulonglong n = text.toULongLong(&ok, 16);
    // toULongLong takes a "0x" prefix and a sign; the panel sends neither.
    const bool digitsOnly = std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    });
    if (!ok || !digitsOnly || n > qulonglong(kLastJournalIndex) + 1)
        return std::nullopt;
    return int(n);
}

TIndexSpan NewestPage(int newest, int count) {
    if (newest < 0 || count < 1)
        return {};
    return {std::max(0, newest - count + 1), std::min(newest, kLastJournalIndex)};
}

TIndexSpan PreviousPage(int first, int count) {
    if (count < 1)
        return {};
    const int from = std::max(0, first - count);
    return {from, std::min(from + count - 1, kLastJournalIndex)};
}

TIndexSpan NextPage(int first, int count) {
    if (count < 1 || first + count > kLastJournalIndex)
        return {};
    const int from = first + count;
    return {from, std::min(from + count - 1, kLastJournalIndex)};
}

QString ReadCommandFor(const TIndexSpan& span) {
    return JournalCommand::Read(span.From, std::min(span.To + 1, kLastJournalIndex));
}

TIndexSpan MissingSpan(const THistory& history, const TIndexSpan& span) {
    const int from = std::max(span.From, 0);
    const int to = std::min(span.To, kLastJournalIndex);
    int first = from;
    while (first <= to && history.RecordExists(uint16_t(first)))
        ++first;
    if (first > to)
        return {};
    int last = to;
    while (history.RecordExists(uint16_t(last)))
        --last;
    return {first, last};
}

int RecordsPerPage(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= kLastJournalIndex ? n : kDefaultRecordsPerPage;
}
