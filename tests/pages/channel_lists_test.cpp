// The Channels page's lists: item tables by release and GPRS-online, the
// refills with their carry-over, and the mapping between items and the
// panel's channel type codes.
#include "page_fakes.h"
#include "pages/ChannelItems.h"

#include <gtest/gtest.h>

namespace {

using T = TChannelTable;

QString Caption(T table, int item) {
    const QList<TChannelItem>& items = ChannelItems(table);
    return item >= 0 && item < items.size() ? items[item].Caption : QStringLiteral("<none>");
}

TEST(ChannelItemsTest, TablesCarryTheCaptionsAndIcons) {
    const QList<TChannelItem> a = {{"Не используется", ciNotUsed}, {"Цифровой канал GSM", ciComputerPhone},
                                   {"GPRS-offline IP1", ciMobile}, {"GPRS-offline IP2", ciMobile},
                                   {"SMS Relvan", ciMessage},      {"SMS на мобильный телефон", ciMessage}};
    const QList<TChannelItem> b = {a[0], a[1], a[4], a[5]};
    const TChannelItem voice{"Голосовой звонок (до поднятия трубки)", ciMobile};
    EXPECT_EQ(ChannelItems(T::A), a);
    EXPECT_EQ(ChannelItems(T::B), b);
    EXPECT_EQ(ChannelItems(T::C), a + QList<TChannelItem>{voice});
    EXPECT_EQ(ChannelItems(T::D), b + QList<TChannelItem>{voice});
}

TEST(ChannelItemsTest, TableByReleaseAndSwitch) {
    const struct {
        int release;
        std::optional<T> off, on;
    } cases[] = {
        {0, T::A, T::B},
        {32, T::A, T::B},
        {33, T::C, T::D},
        {125, T::C, T::D},
        {999, T::C, T::D},
        {-1, std::nullopt, std::nullopt},
        {1000, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChannelTableFor(c.release, false), c.off) << c.release;
        EXPECT_EQ(ChannelTableFor(c.release, true), c.on) << c.release;
    }
}

TEST(FillChannelListsTest, FlippingTheSwitchKeepsEveryRowsChannelType) {
    // Every item of each release's list without GPRS-online, through a tick
    // and an untick: the caption stays, except the GPRS-offline types, which
    // become "Не используется" and stay so.
    for (const int release : {20, 40}) {
        const T off = *ChannelTableFor(release, false);
        for (int item = 0; item < ChannelItemCount(off); ++item) {
            SCOPED_TRACE(QStringLiteral("release %1 item %2").arg(release).arg(item).toStdString());
            const QString caption = Caption(off, item);
            const bool offline = caption.startsWith(QStringLiteral("GPRS-offline"));
            TChannelSelections items;
            items.fill(item);
            const auto ticked = FillChannelLists(release, true, TFillReason::GprsOnline, items);
            ASSERT_TRUE(ticked);
            EXPECT_EQ(Caption(ticked->Table, ticked->Items[0]),
                      offline ? QStringLiteral("Не используется") : caption);
            const auto unticked = FillChannelLists(release, false, TFillReason::GprsOnline, ticked->Items);
            ASSERT_TRUE(unticked);
            EXPECT_EQ(unticked->Table, off);
            EXPECT_EQ(unticked->Items[7], offline ? 0 : item);
        }
    }
}

TEST(FillChannelListsTest, CarryOverCases) {
    const struct {
        const char* name;
        int release;
        bool online;
        TFillReason reason;
        TChannelSelections before, after;
        T table;
    } cases[] = {
        // release 40: ticked, SMS to a mobile (5 of 7) is item 3 of 5, IP2 is not used, voice 6 -> 4
        {"release 40 ticked",
         40,
         true,
         TFillReason::GprsOnline,
         {5, 3, 2, 6, 4, 1, 0, -1},
         {3, 0, 0, 4, 2, 1, 0, 0},
         T::D},
        {"release 40 unticked",
         40,
         false,
         TFillReason::GprsOnline,
         {4, 3, 2, 1, 0, -1, 0, 0},
         {6, 5, 4, 1, 0, 0, 0, 0},
         T::C},
        // A connected release keeps the items its list has, item 0 for the others.
        {"release 20 after init",
         20,
         false,
         TFillReason::Release,
         {6, 5, 1, -1, 0, 0, 0, 0},
         {0, 5, 1, 0, 0, 0, 0, 0},
         T::A},
        {"release 20 online",
         20,
         true,
         TFillReason::Release,
         {4, 3, 2, 1, 0, 0, 0, 0},
         {0, 3, 2, 1, 0, 0, 0, 0},
         T::B},
        {"release 100 at init",
         ChannelInitRelease,
         false,
         TFillReason::Init,
         {-1, -1, -1, -1, -1, -1, -1, -1},
         {0, 0, 0, 0, 0, 0, 0, 0},
         T::C},
        // Ticked before any connection (release 0) on a list of release 100:
        // the voice call has no place in the short list.
        {"release 0 ticked after init",
         0,
         true,
         TFillReason::GprsOnline,
         {6, 5, 0, 0, 0, 0, 0, 0},
         {-1, 3, 0, 0, 0, 0, 0, 0},
         T::B},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fill = FillChannelLists(c.release, c.online, c.reason, c.before);
        ASSERT_TRUE(fill);
        EXPECT_EQ(fill->Table, c.table);
        EXPECT_EQ(fill->Items, c.after);
    }
}

TEST(FillChannelListsTest, AReleaseWithoutTableLeavesTheLists) {
    const TChannelSelections items{6, 5, 4, 3, 2, 1, 0, -1};
    for (const int release : {1000, 65535, -1})
        for (const TFillReason reason : {TFillReason::Release, TFillReason::GprsOnline})
            EXPECT_FALSE(FillChannelLists(release, true, reason, items).has_value()) << release;
}

TEST(ChannelCodeTest, EveryItemReadsBackAsItself) {
    for (const T table : {T::A, T::B, T::C, T::D}) {
        for (int item = 0; item < ChannelItemCount(table); ++item) {
            const uint8_t code = ChannelCodeOf(table, item);
            EXPECT_EQ(SelectChannelCode(table, code, -1), item) << int(table) << " item " << item;
        }
    }
}

TEST(ChannelCodeTest, CodesByItem) {
    const struct {
        T table;
        std::vector<int> codes; // by item, then no selection and one past the end
    } cases[] = {
        {T::A, {0, 2, 3, 4, 5, 6, /*-1*/ 0, /*6*/ 0}},
        {T::B, {0, 2, 5, 6, /*-1*/ 0, /*4*/ 0}},
        {T::C, {0, 2, 3, 4, 5, 6, 1, /*-1*/ 0, /*7*/ 0}},
        {T::D, {0, 2, 5, 6, 1, /*-1*/ 0, /*5*/ 0}},
    };
    for (const auto& c : cases) {
        const int count = ChannelItemCount(c.table);
        for (int item = 0; item < count; ++item)
            EXPECT_EQ(ChannelCodeOf(c.table, item), c.codes[item]) << int(c.table) << " item " << item;
        EXPECT_EQ(ChannelCodeOf(c.table, -1), 0);
        EXPECT_EQ(ChannelCodeOf(c.table, count), 0);
    }
}

TEST(ChannelCodeTest, CodesTheListCannotShow) {
    const struct {
        const char* name;
        T table;
        int code, current, item;
    } cases[] = {
        {"voice in a list of release 20 online", T::B, ctVoice, 2, -1},
        {"voice in a list of release 20", T::A, ctVoice, 2, -1},
        {"IP1 with GPRS-online", T::B, ctGprsIp1, 2, 2},
        {"IP2 with GPRS-online", T::D, ctGprsIp2, 3, 3},
        {"IP2 with GPRS-online, no selection", T::D, ctGprsIp2, -1, -1},
        {"code 7, short list", T::D, 7, 1, 1},
        {"code 7, long list", T::C, 7, 1, 1},
        {"code 15, long list", T::A, 15, 5, 5},
        {"IP2 without GPRS-online", T::C, ctGprsIp2, 0, 3},
        {"voice in a list of release 40", T::C, ctVoice, 0, 6},
        {"voice in a list of release 40 online", T::D, ctVoice, 0, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectChannelCode(c.table, c.code, c.current), c.item) << c.name;
}

} // namespace
