// The history filter matches a record by looking its fields up: it must
// find exactly what comparing the record's own texts finds (RecordMatches),
// for texts that hit each field, several at once, none, or only in another
// case, and for records whose message holds letters or characters that are
// no digits at all.
#include "history/HistoryModel.h"
#include "history/RecordFilter.h"
#include "record_lines.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A store with a spread of events, restores, unknown codes, partitions and
// zones with hexadecimal letters, and two records whose message characters
// are partly no digits (the list shows those as 0).
THistory VariedStore() {
    THistory history;
    const char* const codes[] = {"130", "301", "401", "602", "146", "570", "1A3", "999", "E00"};
    const char* const partitions[] = {"01", "00", "1A", "FF", "13"};
    const char* const zones[] = {"005", "130", "000", "0B7", "999", "013", "F0F"};
    int index = 0;
    for (const char* code : codes) {
        for (int q : {1, 3}) {
            for (const char* partition : partitions) {
                TestRecord r;
                r.index = index;
                r.qualifier = q;
                r.code = QString::fromLatin1(code);
                r.partition = QString::fromLatin1(partition);
                r.zone = QString::fromLatin1(zones[index % 7]);
                r.account = index % 4 ? QStringLiteral("0050") : QStringLiteral("AB12");
                EXPECT_TRUE(history.Add(RecordLine(r)));
                index += 3; // gaps in the journal
            }
        }
    }
    QString noDigits = RecordLine({.index = index + 1});
    noDigits.replace(6, 3, QStringLiteral("x?Я"));
    EXPECT_TRUE(history.Add(noDigits));
    QString lowerCase = RecordLine({.index = index + 2, .code = "1ab"});
    EXPECT_TRUE(history.Add(lowerCase));
    return history;
}

TEST(RecordFilterTest, FindsWhatTheRecordsOwnTextsContain) {
    const THistory history = VariedStore();
    const char* const texts[] = {
        "",        // everything
        "1",       "13",  "130", "1301", "0050",   "ab12", "AB",   "a",  "1a",      "1A3",  "E",  "f",
        "0f",      "00",  "007", "183",  "165",    "1665", "999",  "26", "тревога", "ТРЕВОГА",
        "по зоне", "ога", "ё",   "x",    "?",      "я",    "0 0",  " ",  "1 ",      "０", // a full-width digit
        "0050181130010050", "0050181130010050F", // a whole message, one character more
    };
    for (const char* t : texts) {
        const QString text = QString::fromUtf8(t);
        const TRecordFilter filter(text, history.EventTexts());
        std::vector<uint16_t> expected;
        for (int row = history.Count() - 1; row >= 0; --row) {
            const THistoryRec& rec = history.RecordAt(row);
            const bool match = RecordMatches(history, rec, text);
            EXPECT_EQ(filter.Matches(rec), match) << t << " at index " << rec.index;
            if (match)
                expected.push_back(rec.index);
        }
        EXPECT_EQ(filter.Matching(history.Records()), expected) << t;
    }
}

TEST(RecordFilterTest, ACancelledSearchGivesNothing) {
    THistory history;
    for (int i = 0; i < 10000; ++i)
        ASSERT_TRUE(history.Add(RecordLine({.index = i})));
    const TRecordFilter filter(QStringLiteral("130"), history.EventTexts());
    int asked = 0;
    EXPECT_TRUE(filter.Matching(history.Records(), [&] { return ++asked > 1; }).empty());
    EXPECT_EQ(asked, 2) << "it stops at the first look that says so";
    EXPECT_EQ(filter.Matching(history.Records(), [] { return false; }).size(), 10000u);
}

} // namespace
