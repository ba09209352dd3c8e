// Journal record lines: the record decoding with its check sums and date,
// the store the history list is built on, and the texts the list and the
// export show of every record.
//
// Input, read twice:
// - as answer lines (cut at LF) added to a store: a line is taken exactly
//   when it has 75 characters, the store keeps the last record of every
//   index in index order, and every record gives its thirteen texts; the
//   check sum of every 75-character line agrees with the emulator's own
//   implementation of the panel's sum;
// - its first 26 bytes as the fields of a record that the emulator writes
//   as the panel would (its Contact ID message with a right check digit):
//   the tool reads back every field, a right record sum, a right CID sum.
#include "fuzz_check.h"

#include "contact_id.h"
#include "history/HistoryUnit.h"
#include "journal_record.h"
#include "panel/Cp1251.h"

#include <map>

namespace {

const QLocale& Russian() {
    static const QLocale locale(QLocale::Russian, QLocale::Russia);
    return locale;
}

// One store for every input, cleared before each as a new read clears it
// (its index tables are large: made anew for every input they would cost
// more than the decoding).
THistory& Store() {
    static THistory store;
    return store;
}

void CheckStore(const QStringList& lines, uint16_t pageFrom, uint16_t pageCount) {
    THistory& store = Store();
    store.Clear();
    std::map<uint16_t, THistoryRec> last;
    int rejected = 0;
    for (const QString& line : lines) {
        const bool taken = store.Add(line);
        FUZZ_CHECK(taken == (line.size() == THistoryRec::kLineLength), "a record is a 75-character line");
        if (!taken) {
            ++rejected;
            continue;
        }
        const QByteArray bytes = ToCp1251(line);
        FUZZ_CHECK(RecordSum(bytes) == emu::recordCheckSum(bytes), "the tool and the emulator sum alike");
        const THistoryRec rec = *ParseRecord(line);
        last[rec.index] = rec;
    }
    FUZZ_CHECK(store.RejectedLines() == rejected, "every unused line counted");
    FUZZ_CHECK(store.Count() == int(last.size()), "one record an index");
    int row = 0;
    for (const auto& [index, rec] : last) {
        FUZZ_CHECK(store.RecordAt(row) == rec, "in index order, the last line of an index counts");
        FUZZ_CHECK(store.IndexOfRecord(index) == row, "the row of an index");
        for (const TRecordView view : {TRecordView::List, TRecordView::Export})
            FUZZ_CHECK(store.RecordTexts(row, view, Russian()).size() == hcColumnCount, "thirteen cells");
        ++row;
    }
    if (!last.empty()) {
        FUZZ_CHECK(store.FirstIndex() == last.begin()->first && store.LastIndex() == last.rbegin()->first,
                   "first and last index");
    }
    const TRowRange page = store.PageRows(pageFrom, pageCount);
    if (!page.IsEmpty()) {
        FUZZ_CHECK(page.First >= 0 && page.Last < store.Count(), "a page within the store");
        FUZZ_CHECK(store.RecordAt(page.First).index == pageFrom, "a page starts at its index");
        FUZZ_CHECK(int(store.RecordAt(page.Last).index) <= int(pageFrom) + int(pageCount) - 1, "page end");
    }
    const TRowRange all = store.ExportRows(-1, -1);
    FUZZ_CHECK(all.Count() == store.Count(), "the export of everything");
}

uint32_t Number(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | p[i];
    return v;
}

QByteArray HexDigits(const uint8_t* p, int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "0123456789ABCDEF"[(p[i / 2] >> (i % 2 ? 0 : 4)) & 15];
    return out;
}

// p: 26 bytes.
void CheckPanelRecord(const uint8_t* p) {
    emu::JournalRecord rec;
    rec.index = quint16(Number(p, 2));
    const QByteArray body = HexDigits(p + 2, 15);
    const bool tenAsA = p[10] & 1;
    rec.cid = body + emu::contactid::checkDigit(body, tenAsA);
    rec.changeFlag = HexDigits(p + 11, 1).at(0);
    rec.event = char(p[12]);
    const QDate date(2000 + p[13] % 100, p[14] % 13, p[15] % 32);
    const QTime time(p[16] % 25, p[17] % 61, p[18] % 61);
    const QDateTime when(date, time, Qt::UTC);
    rec.dateText = emu::JournalRecord::dateTextOf(when);
    rec.globalIndex = Number(p + 19, 4);
    rec.sendFlag = p[23];
    rec.phones = p[24];
    const bool wrongSum = p[25] & 1;
    const QByteArray line = rec.line(wrongSum);

    const std::optional<THistoryRec> got = ParseRecord(line);
    FUZZ_CHECK(got.has_value(), "the panel's line is a record");
    FUZZ_CHECK(got->index == rec.index, "index");
    FUZZ_CHECK(RawMessage(*got) == rec.cid && got->cidhex, "message");
    FUZZ_CHECK(CidSumValid(*got), "the panel's check digit is right");
    FUZZ_CHECK(got->changeflag == QByteArray(1, rec.changeFlag).toUInt(nullptr, 16), "change flag");
    FUZZ_CHECK(got->event == uint8_t(rec.event), "event character");
    FUZZ_CHECK(got->datetime == (when.isValid() ? when : NoDate()), "date");
    FUZZ_CHECK(got->globalindex == rec.globalIndex, "running number");
    FUZZ_CHECK(got->sendflag == rec.sendFlag && got->phones == rec.phones, "delivery");
    FUZZ_CHECK(got->csisvalud == !wrongSum, "record sum");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint16_t pageFrom = size >= 2 ? uint16_t(Number(data, 2)) : 0;
    const uint16_t pageCount = size >= 3 ? data[2] : 20;
    CheckStore(fuzz::LinesAtLf(fuzz::Bytes(data, size)), pageFrom, pageCount);
    if (size >= 26)
        CheckPanelRecord(data);
    return 0;
}
