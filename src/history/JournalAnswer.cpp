#include "JournalAnswer.h"

#include "HistoryRec.h"

#include <QSet>

#include <algorithm>

namespace {

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// The index a record line carries; -1 when the line is no record.
int RecordIndex(const QString& line) {
    if (line.size() != THistoryRec::kLineLength)
        return -1;
    const QStringView index = QStringView(line).left(4);
    if (!std::all_of(index.begin(), index.end(), IsHexDigit))
        return -1;
    return index.toInt(nullptr, 16);
}

} // namespace

TJournalAnswer SortJournalAnswer(const QStringList& lines, const TIndexSpan& asked) {
    TJournalAnswer answer;
    QMap<int, int> linesOf; // index -> lines that carried it
    QSet<int> differing;
    for (const QString& line : lines) {
        const int index = RecordIndex(line);
        if (index < asked.From || index > asked.To) {
            ++answer.Rejected; // also every line that is no record (-1)
            continue;
        }
        ++linesOf[index];
        const auto it = answer.Records.constFind(index);
        if (it == answer.Records.constEnd())
            answer.Records.insert(index, line);
        else if (*it != line)
            differing.insert(index);
    }
    // Two different records for one index: neither can be told to be the
    // panel's, so the index stays to be asked for again.
    for (const int index : differing) {
        answer.Rejected += linesOf.value(index);
        answer.Records.remove(index);
    }
    return answer;
}

TIndexSpan AskedByRead(const TIndexSpan& span) {
    if (span.IsEmpty())
        return span;
    return {span.From, std::min(span.To + 1, kLastJournalIndex)};
}
