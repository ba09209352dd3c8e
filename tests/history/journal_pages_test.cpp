// The journal page arithmetic and wire texts: the pointer value, the newest
// page and its neighbours, the "+read" that both kinds of panel answer in
// full, the missing stretch of a page, the records-per-page rule, which lines
// of a "+read" answer are credited to which index, and the names of records
// that did not come.
#include "history/HistoryUnit.h"
#include "history/JournalAnswer.h"
#include "history/JournalPages.h"
#include "history/JournalProgress.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

QString LineFor(int index) {
    const QString hex4 = QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper();
    return hex4 + "00501811300100500FFFFFFFFFFFFFFFFF1\"24/03/01,07:12:00+12\"0000000100FA00";
}

TEST(JournalPagesTest, PointerIsHexadecimalWithinTheJournal) {
    const struct {
        const char* value;
        std::optional<int> pointer;
    } cases[] = {
        {"0064", 100},           {"0", 0},
        {"ffff", 65535},         {"FFFF", 65535},
        {"10000", 65536},        {" 0064 ", 100},
        {"10001", std::nullopt}, {"", std::nullopt},
        {"OK", std::nullopt},    {"00G4", std::nullopt},
        {"0x64", std::nullopt},  {"-1", std::nullopt},
        {"+64", std::nullopt},   {"000000064", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePointer(QString::fromLatin1(c.value)), c.pointer) << c.value;
}

TEST(JournalPagesTest, PagesAndTheReadsThatFillThem) {
    // A page and the "+read" that returns all of it whether or not the
    // panel answers the record at the second index.
    const struct {
        const char* what;
        TIndexSpan page;
        TIndexSpan expected;
        const char* read;
    } cases[] = {
        {"pointer 0x64: 99 at the top", NewestPage(99, 20), {80, 99}, "+read00500064"},
        {"pointer 0x0A: 9 down to 0", NewestPage(9, 20), {0, 9}, "+read0000000A"},
        {"a single record", NewestPage(0, 20), {0, 0}, "+read00000001"},
        {"back from 80", PreviousPage(80, 20), {60, 79}, "+read003C0050"},
        {"back from 15: the first page", PreviousPage(15, 20), {0, 19}, "+read00000014"},
        {"back at the start stays", PreviousPage(0, 20), {0, 19}, "+read00000014"},
        {"forward from 60", NextPage(60, 20), {80, 99}, "+read00500064"},
        {"forward to the journal's end", NextPage(65500, 20), {65520, 65535}, "+readFFF0FFFF"},
        {"the newest of a full journal", NewestPage(65535, 40), {65496, 65535}, "+readFFD8FFFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.page, c.expected) << c.what;
        EXPECT_EQ(ReadCommandFor(c.page), QString::fromLatin1(c.read)) << c.what;
    }
    EXPECT_TRUE(NextPage(65530, 20).IsEmpty()) << "nothing after the last index";
    EXPECT_TRUE(NewestPage(-1, 20).IsEmpty()) << "an empty journal";
    EXPECT_EQ(JournalCommand::Read(0x4F, 0x63), "+read004F0063");
}

TEST(JournalPagesTest, MissingSpanRunsFromTheFirstToTheLastGap) {
    THistory h;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 18, 19, 30})
        ASSERT_TRUE(h.Add(LineFor(i)));
    EXPECT_EQ(MissingSpan(h, {0, 19}), (TIndexSpan{10, 14}));
    EXPECT_EQ(MissingSpan(h, {5, 25}), (TIndexSpan{10, 25}));
    EXPECT_EQ(MissingSpan(h, {12, 40}), (TIndexSpan{12, 40}));
    EXPECT_TRUE(MissingSpan(h, {0, 9}).IsEmpty());
    EXPECT_TRUE(MissingSpan(h, {30, 30}).IsEmpty());
    EXPECT_EQ(MissingSpan(h, {65530, 65535}), (TIndexSpan{65530, 65535}));
}

// A record is credited only to the index it carries, only when the command
// asked for it, and only when the answer does not bring two different
// records for it.
TEST(JournalPagesTest, AnswerLinesAreCreditedOnlyToAnIndexAskedFor) {
    QString other = LineFor(7);
    other.replace(20, 1, "1"); // another record with the same index
    QString lowerCase = LineFor(0xAB);
    lowerCase.replace(0, 4, "00ab");
    QString notHex = LineFor(5);
    notHex.replace(0, 4, "00G5");
    const struct {
        const char* what;
        QStringList lines;
        TIndexSpan asked;
        QList<int> credited;
        int rejected;
    } cases[] = {
        {"every index once", {LineFor(5), LineFor(6), LineFor(7)}, {5, 7}, {5, 6, 7}, 0},
        {"a gap stays a gap", {LineFor(5), LineFor(7)}, {5, 7}, {5, 7}, 0},
        {"an index not asked for, below and above",
         {LineFor(4), LineFor(5), LineFor(8), LineFor(300)},
         {5, 7},
         {5},
         3},
        {"the same line twice counts once", {LineFor(5), LineFor(7), LineFor(7)}, {5, 7}, {5, 7}, 0},
        {"two different records for one index: neither", {LineFor(5), other, LineFor(7)}, {5, 7}, {5}, 2},
        {"no record: short, an index of no digits, noise",
         {LineFor(5).left(74), notHex, "ERROR", LineFor(6)},
         {5, 7},
         {6},
         3},
        {"digits of either case", {lowerCase}, {0xAA, 0xAC}, {0xAB}, 0},
    };
    for (const auto& c : cases) {
        const TJournalAnswer answer = SortJournalAnswer(c.lines, c.asked);
        EXPECT_EQ(answer.Records.keys(), c.credited) << c.what;
        EXPECT_EQ(answer.Rejected, c.rejected) << c.what;
        for (auto it = answer.Records.cbegin(); it != answer.Records.cend(); ++it)
            EXPECT_EQ(it->left(4).toInt(nullptr, 16), it.key()) << c.what;
    }
    EXPECT_EQ(AskedByRead({80, 99}), (TIndexSpan{80, 100})) << "the end index the command names";
    EXPECT_EQ(AskedByRead({65520, 65535}), (TIndexSpan{65520, 65535}));
}

TEST(JournalPagesTest, RecordsThatDidNotComeAreNamedByIndexInRuns) {
    EXPECT_EQ(JournalError::MissingRecords({5}), QStringList{"Записи истории: не получена запись 5"});
    EXPECT_EQ(JournalError::MissingRecords({5, 7, 8, 9, 65535}),
              (QStringList{"Записи истории: не получена запись 5", "Записи истории: не получены записи 7–9",
                           "Записи истории: не получена запись 65535"}));
    EXPECT_TRUE(JournalError::MissingRecords({}).isEmpty());
}

TEST(JournalPagesTest, RecordsPerPageFallsBackToTwenty) {
    const struct {
        const char* text;
        int count;
    } cases[] = {
        {"40", 40}, {" 50 ", 50},  {"1", 1},    {"65535", 65535}, {"0", 20},
        {"-5", 20}, {"65536", 20}, {"abc", 20}, {"", 20},         {"4O", 20},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordsPerPage(QString::fromLatin1(c.text)), c.count) << c.text;
}

TEST(JournalPagesTest, ProgressTextWithTheTimeLeftRoundedUp) {
    const struct {
        int done, total;
        qint64 msLeft;
        const char* text;
    } cases[] = {
        {0, 1000, -1, "Прочитано 0 из 1000 записей"},
        {300, 1000, 0, "Прочитано 300 из 1000 записей, осталось 0 с"},
        {300, 1000, 1, "Прочитано 300 из 1000 записей, осталось 1 с"},
        {300, 1000, 59999, "Прочитано 300 из 1000 записей, осталось 1 мин 00 с"},
        {300, 1000, 65000, "Прочитано 300 из 1000 записей, осталось 1 мин 05 с"},
        {1, 65536, 3601000, "Прочитано 1 из 65536 записей, осталось 1 ч 01 мин"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JournalProgressText(c.done, c.total, c.msLeft), QString::fromUtf8(c.text)) << c.msLeft;
}

} // namespace
