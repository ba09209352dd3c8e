// The Channels page's rows and links: direction numbers, colours and
// labels, and the packing of the used rows.
#include "page_fakes.h"
#include "pages/ChannelDirections.h"
#include "pages/ChannelRows.h"

#include <gtest/gtest.h>

void PrintTo(const TChannelRow& row, std::ostream* os) {
    *os << "{" << row.Item << ", \"" << row.Phone.toStdString() << "\"}";
}

namespace {

// Rows from items and phones, row 1 first.
TChannelRows MakeRows(std::array<int, 8> items, QStringList phones = {}) {
    TChannelRows rows;
    for (int r = 0; r < ChannelRowCount; ++r) {
        rows[r].Item = items[r];
        rows[r].Phone = r < phones.size() ? phones[r] : QStringLiteral("p%1").arg(r + 1);
    }
    return rows;
}

TEST(DirectionsTest, LinksNumberTheRows) {
    const bool AND = true, OR = false;
    const struct {
        TChannelLinks links;
        TRowDirections numbers;
    } cases[] = {
        {{AND, OR, OR, AND, OR, OR, OR}, {1, 2, 2, 2, 3, 3, 3, 3}},
        {{OR, OR, OR, OR, OR, OR, OR}, {1, 1, 1, 1, 1, 1, 1, 1}},
        {{AND, AND, AND, AND, AND, AND, AND}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {{OR, OR, OR, OR, OR, OR, AND}, {1, 1, 1, 1, 1, 1, 1, 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberDirections(c.links), c.numbers);
}

TEST(DirectionsTest, ColoursAndLabels) {
    const TRgb colours[] = {{234, 208, 166}, {170, 166, 221}, {196, 226, 177}, {242, 183, 183},
                            {245, 192, 236}, {220, 243, 148}, {170, 172, 253}, {234, 223, 175}};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(DirectionColour(n), colours[n - 1]) << n;
        EXPECT_EQ(DirectionLabel(n), QStringLiteral("Направление %1").arg(n));
    }
    EXPECT_EQ(DirectionColour(0), TRgb{});
    EXPECT_EQ(DirectionColour(9), TRgb{});

    // AND, OR, OR, AND, OR, OR, OR: three directions, each in its own colour.
    const TRowDirections numbers = NumberDirections({true, false, false, true, false, false, false});
    QStringList labels;
    for (const int n : numbers)
        labels.append(DirectionLabel(n));
    EXPECT_EQ(labels, (QStringList{"Направление 1", "Направление 2", "Направление 2", "Направление 2",
                                   "Направление 3", "Направление 3", "Направление 3", "Направление 3"}));
    EXPECT_NE(DirectionColour(numbers[0]), DirectionColour(numbers[1]));
    EXPECT_NE(DirectionColour(numbers[1]), DirectionColour(numbers[4]));
}

TEST(RowPackingTest, AUsedChoiceMovesToTheFirstFreeRowAbove) {
    // Row 1 used; "Цифровой канал GSM" chosen in row 5.
    TChannelRows rows = MakeRows({1, 0, 0, 0, 1, 0, 0, 0});
    KeepRowsPacked(rows, 5);
    EXPECT_EQ(rows, MakeRows({1, 1, 0, 0, 0, 0, 0, 0}, {"p1", "p5", "p2", "p3", "p4", "p6", "p7", "p8"}));
}

TEST(RowPackingTest, AFreedRowSinksAndTheRowsBelowMoveUp) {
    // Rows 1..4 used; row 2 set to "Не используется".
    TChannelRows rows = MakeRows({1, 0, 5, 6, 0, 0, 0, 0});
    KeepRowsPacked(rows, 2);
    EXPECT_EQ(rows, MakeRows({1, 5, 6, 0, 0, 0, 0, 0}, {"p1", "p3", "p4", "p2", "p5", "p6", "p7", "p8"}));
}

TEST(RowPackingTest, MoreCases) {
    const struct {
        const char* name;
        std::array<int, 8> items;
        int row;
        std::array<int, 8> itemsAfter;
        QStringList phonesAfter;
    } cases[] = {
        {"no free row above",
         {1, 2, 3, 0, 0, 0, 0, 0},
         3,
         {1, 2, 3, 0, 0, 0, 0, 0},
         {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8"}},
        {"row 1 chosen",
         {4, 0, 0, 0, 0, 0, 0, 0},
         1,
         {4, 0, 0, 0, 0, 0, 0, 0},
         {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8"}},
        {"the last row freed",
         {1, 1, 1, 1, 1, 1, 1, 0},
         8,
         {1, 1, 1, 1, 1, 1, 1, 0},
         {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8"}},
        {"used row 8 into free row 1",
         {0, 0, 0, 0, 0, 0, 0, 2},
         8,
         {2, 0, 0, 0, 0, 0, 0, 0},
         {"p8", "p1", "p2", "p3", "p4", "p5", "p6", "p7"}},
        {"row 1 freed with a gap below",
         {0, 1, 0, 1, 0, 0, 0, 0},
         1,
         {1, 0, 1, 0, 0, 0, 0, 0},
         {"p2", "p1", "p4", "p3", "p5", "p6", "p7", "p8"}},
        // No selection counts as used for the rows below, and pulls up like item 0.
        {"no selection pulls up",
         {1, -1, 2, 0, 0, 0, 0, 0},
         2,
         {1, 2, 0, 0, 0, 0, 0, 0},
         {"p1", "p3", "p2", "p4", "p5", "p6", "p7", "p8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TChannelRows rows = MakeRows(c.items);
        KeepRowsPacked(rows, c.row);
        EXPECT_EQ(rows, MakeRows(c.itemsAfter, c.phonesAfter));
    }
}

} // namespace
