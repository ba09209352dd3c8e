// The record store: records merged from answer lines in any order, each
// index once and in order; the lines it cannot use; rows for a page of the
// list and for the export.
#include "history/HistoryUnit.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>

#include <gtest/gtest.h>

namespace {

// An answer line for `index`; `version` goes into the running event number
// so that a replaced record can be told from the one before it.
QString LineFor(int index, int version = 0) {
    const QString hex4 = QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper();
    const QString hex8 =
        QStringLiteral("%1").arg(uint(version) << 16 | uint(index), 8, 16, QLatin1Char('0')).toUpper();
    return hex4 + "00501811300100500FFFFFFFFFFFFFFFFF1\"24/03/01,07:12:00+12\"" + hex8 + "00FA00";
}

uint32_t VersionOf(const THistoryRec& rec) {
    return rec.globalindex >> 16;
}

QList<int> Range(int first, int last) {
    QList<int> out;
    for (int i = first; i <= last; ++i)
        out.append(i);
    return out;
}

// The stored indexes, row by row; and checks that rows and indexes agree.
QList<int> StoredIndexes(const THistory& h) {
    QList<int> out;
    for (int row = 0; row < h.Count(); ++row) {
        const THistoryRec& rec = h.RecordAt(row);
        EXPECT_EQ(h.IndexOfRecord(rec.index), row);
        EXPECT_TRUE(h.RecordExists(rec.index));
        EXPECT_EQ(rec.globalindex & 0xFFFF, rec.index) << "a record in another's place";
        out.append(rec.index);
    }
    return out;
}

void AddAll(THistory& h, const QList<int>& indexes, int version = 0) {
    for (int i : indexes)
        ASSERT_TRUE(h.Add(LineFor(i, version)));
}

enum class Order { Ascending, Descending, Shuffled };

QList<int> InOrder(QList<int> indexes, Order order) {
    if (order == Order::Descending)
        std::reverse(indexes.begin(), indexes.end());
    if (order == Order::Shuffled)
        std::shuffle(indexes.begin(), indexes.end(), *QRandomGenerator::global());
    return indexes;
}

TEST(HistoryStoreTest, RecordsTakeTheirPlaceWhateverTheOrderOfArrival) {
    for (const Order order : {Order::Ascending, Order::Descending, Order::Shuffled}) {
        SCOPED_TRACE(int(order));
        // Older records in front of a stored page.
        THistory h;
        AddAll(h, Range(80, 99));
        AddAll(h, InOrder(Range(60, 79), order));
        EXPECT_EQ(StoredIndexes(h), Range(60, 99));

        // A record whose neighbour below is missing, and records into gaps.
        THistory gaps;
        AddAll(gaps, Range(80, 83) + Range(86, 99));
        AddAll(gaps, InOrder({85, 10, 120, 84}, order));
        EXPECT_EQ(StoredIndexes(gaps), QList<int>{10} + Range(80, 99) + QList<int>{120});
        EXPECT_EQ(gaps.FirstIndex(), 10);
        EXPECT_EQ(gaps.LastIndex(), 120);
    }
}

TEST(HistoryStoreTest, AFullJournalMergesInAnyOrder) {
    QList<int> all = InOrder(Range(0, 65535), Order::Shuffled);
    THistory h;
    AddAll(h, all);
    ASSERT_EQ(h.Count(), 65536);
    EXPECT_EQ(StoredIndexes(h), Range(0, 65535));
    EXPECT_EQ(h.FirstIndex(), 0);
    EXPECT_EQ(h.LastIndex(), 65535);
    EXPECT_EQ(h.RecordAt(65535).index, 65535);
}

TEST(HistoryStoreTest, AStoredIndexIsReplaced) {
    THistory h;
    AddAll(h, {0, 5, 9});
    AddAll(h, {5, 0}, 1);
    EXPECT_EQ(StoredIndexes(h), (QList<int>{0, 5, 9}));
    EXPECT_EQ(VersionOf(h.RecordAt(0)), 1u);
    EXPECT_EQ(VersionOf(h.RecordAt(1)), 1u);
    EXPECT_EQ(VersionOf(h.RecordAt(2)), 0u);
}

TEST(HistoryStoreTest, LinesThatAreNoRecordDamageNothingAndAreCounted) {
    THistory h;
    AddAll(h, {0, 1, 2});
    const QString shortLine = LineFor(0, 7).left(74);
    const QString longLine = LineFor(0, 7) + "0";
    EXPECT_FALSE(h.Add(shortLine));
    EXPECT_EQ(h.AddLines({longLine, LineFor(3), QString(), "ERROR"}), 3);
    EXPECT_EQ(StoredIndexes(h), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(VersionOf(h.RecordAt(0)), 0u) << "record 0 replaced by a broken line";
    EXPECT_EQ(h.RejectedLines(), 4);

    THistory empty;
    EXPECT_FALSE(empty.Add(shortLine));
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_FALSE(empty.RecordExists(0));

    h.Clear();
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.RejectedLines(), 0);
    EXPECT_FALSE(h.RecordExists(0));
    EXPECT_EQ(h.IndexOfRecord(2), -1);
    EXPECT_EQ(h.FirstIndex(), 0);
    EXPECT_EQ(h.LastIndex(), 0);
    AddAll(h, {7});
    EXPECT_EQ(StoredIndexes(h), QList<int>{7});
}

// Rows as the list shows them (newest at the top) and the export writes them.
QList<int> Indexes(const THistory& h, TRowRange rows, bool newestFirst) {
    QList<int> out;
    for (int row = rows.First; row <= rows.Last; ++row)
        out.append(h.RecordAt(row).index);
    if (newestFirst)
        std::reverse(out.begin(), out.end());
    return out;
}

QList<int> Down(int from, int to) {
    QList<int> out = Range(to, from);
    std::reverse(out.begin(), out.end());
    return out;
}

TEST(HistoryStoreTest, APageShowsAtMostItsCountFromTheFirstIndex) {
    THistory h;
    AddAll(h, Range(0, 9) + Range(30, 39) + Range(79, 99) + Range(65530, 65535) + Range(100, 100));
    struct Case {
        const char* what;
        int from, count;
        QList<int> shown; // top to bottom
    };
    const Case cases[] = {
        {"the newest page", 79, 20, Down(98, 79)},
        {"a page that runs past the store", 90, 20, Down(100, 90)},
        {"the first index not stored", 10, 20, {}},
        {"a page ending in a gap stops at its last stored record", 0, 20, Down(9, 0)},
        {"a page over a gap", 5, 30, Down(34, 30) + Down(9, 5)},
        {"a page at the top of the index range does not wrap", 65530, 20, Down(65535, 65530)},
        {"no records asked for", 79, 0, {}},
        {"one record", 35, 1, {35}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Indexes(h, h.PageRows(uint16_t(c.from), uint16_t(c.count)), true), c.shown) << c.what;

    EXPECT_TRUE(THistory().PageRows(0, 20).IsEmpty());
}

TEST(HistoryStoreTest, ExportRowsRunFromTheLowerIndexToTheHigher) {
    THistory h;
    AddAll(h, Range(0, 9) + Range(79, 99));
    struct Case {
        int from, to;
        QList<int> written;
    };
    const Case cases[] = {
        {-1, -1, Range(0, 9) + Range(79, 99)},
        {98, 79, Range(79, 98)},
        {79, 98, Range(79, 98)},
        {5, 5, {5}},
        {10, -1, Range(0, 9)},
        {20, 60, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Indexes(h, h.ExportRows(c.from, c.to), false), c.written) << c.from << " " << c.to;
    EXPECT_TRUE(THistory().ExportRows(-1, -1).IsEmpty());
}

TEST(HistoryStoreTest, CellsUseTheStoresDirections) {
    THistory h;
    ASSERT_TRUE(h.Add(LineFor(4)));
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(h.RecordTexts(0, TRecordView::List, ru).at(hcChannels), "");
    EXPECT_EQ(h.RecordTexts(0, TRecordView::List, ru).at(hcDeliveredAll), "НЕТ");

    TDirectionTable directions{};
    directions[0] = {1, 1, {}, ctCsd, "123"};
    directions[1] = {1, 2, {}, ctSmsMobile, "456"};
    directions[2] = {2, 1, {}, ctGprsIp1, ""};
    for (int i = 3; i < 8; ++i)
        directions[size_t(i)].Direction = 2;
    h.SetDirections(directions);
    EXPECT_EQ(h.Directions(), directions);
    EXPECT_EQ(h.DirectionCount(), 2);
    const QStringList cells = h.RecordTexts(0, TRecordView::List, ru);
    EXPECT_EQ(cells.at(hcChannels), "CSD на тел. 1;GPRS IP 1; ");
    EXPECT_EQ(cells.at(hcDeliveredAll), "ДА");
    EXPECT_EQ(cells.at(hcEventText), "Тревога по зоне");
    EXPECT_EQ(h.EventText(h.RecordAt(0)), "Тревога по зоне");
}

} // namespace
