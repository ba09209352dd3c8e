// The System events page's "+pwlog" value.
#include "pages/SystemEventsCodec.h"

#include "qt_print.h"

#include <gtest/gtest.h>

namespace {

TEST(Pwlog, EncodesThePageValues) {
    const struct {
        TSystemEventsValues values;
        const char* wire;
    } cases[] = {
        {{0, 4, false}, "FFFFFF0004FFFFFFFF"},  // the defaults
        {{23, 59, true}, "FFFF00173BFFFFFFFF"}, //
        {{0, 0, true}, "FFFF00FFFFFFFFFFFF"},   // no automatic test: both FF
        {{0, 30, false}, "FFFFFF001EFFFFFFFF"}, // one zero stays 00
        {{5, 0, false}, "FFFFFF0500FFFFFFFF"},  //
        {{32, 0, false}, "FFFFFF2000FFFFFFFF"}, // hours the list cannot show go back as read
        {{3, 254, false}, "FFFFFF03FEFFFFFFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodePwlog(c.values), QString::fromLatin1(c.wire)) << c.wire;

    // Nothing a field can carry: a missing selection or 255 (the panel's "none").
    for (const TSystemEventsValues bad :
         {TSystemEventsValues{-1, 4, false}, TSystemEventsValues{0, 255, false},
          TSystemEventsValues{300, 1, true}})
        EXPECT_FALSE(EncodePwlog(bad).has_value()) << bad.Hours << ":" << bad.Minutes;
}

TEST(Pwlog, ReadValuesApplyInOrderAndStopAtAFieldThatDoesNotConvert) {
    const TSystemEventsValues start{7, 7, false};
    const struct {
        const char* wire;
        TSystemEventsValues shown;
        bool complete;
    } cases[] = {
        {"FFFF00173BFFFFFFFF", {23, 59, true}, true},
        {"FFFFFFFFFFFFFFFFFF", {0, 0, false}, true}, // 255 shows as 0
        {"FFFFFF0004FFFFFFFF", {0, 4, false}, true},
        {"0102010A0B03040506", {10, 11, true}, true},  // any restart value but FF is on; others ignored
        {"ffff00173bffffffff", {23, 59, true}, true},  // either letter case
        {"FFFFFF203CFFFFFFFF", {32, 60, false}, true}, // above the lists: kept as read
        {"FFFF00173B", {23, 59, true}, true},          // the unused tail is not needed
        {"FFFF00ZZ3BFFFFFFFF", {7, 7, true}, false},   // restart applied, then stop
        {"FFFF0017Z1FFFFFFFF", {23, 7, true}, false},  // restart and hours applied
        {"FFFF0017", {23, 7, true}, false},
        {"OK", {7, 7, false}, false}, // a broken answer changes nothing
        {"FFFFZZ0004FFFFFFFF", {7, 7, false}, false},
        {"", {7, 7, false}, false},
    };
    for (const auto& c : cases) {
        TSystemEventsValues v = start;
        EXPECT_EQ(ApplyPwlog(QString::fromLatin1(c.wire), v), c.complete) << c.wire;
        EXPECT_EQ(v, c.shown) << c.wire << " gave " << v.Hours << ":" << v.Minutes << " " << v.Reboot;
    }
}

TEST(Pwlog, EveryPeriodAndRawFieldSurvivesTheTrip) {
    for (int h = 0; h < 255; ++h) {
        for (int m : {0, 1, 30, 59, 60, 200, 254}) {
            for (bool reboot : {false, true}) {
                const TSystemEventsValues values{h, m, reboot};
                const auto wire = EncodePwlog(values);
                ASSERT_TRUE(wire.has_value());
                ASSERT_EQ(wire->size(), PwlogLength);
                TSystemEventsValues back{7, 7, !reboot};
                ASSERT_TRUE(ApplyPwlog(*wire, back)) << wire->toStdString();
                EXPECT_EQ(back, values) << wire->toStdString();
            }
        }
    }
    EXPECT_TRUE(HourShown(23));
    EXPECT_FALSE(HourShown(24));
    EXPECT_TRUE(MinuteShown(59));
    EXPECT_FALSE(MinuteShown(60));
}

TEST(Pwlog, CutsNineFieldsByPosition) {
    const TPwlogFields f = DecodePwlog(QStringLiteral("0102ZZ0405060708FF"));
    const std::optional<int> expected[] = {1, 2, std::nullopt, 4, 5, 6, 7, 8, 255};
    for (int i = 0; i < PwlogFieldCount; ++i)
        EXPECT_EQ(f.Field[size_t(i)], expected[i]) << "field " << i + 1;
    const TPwlogFields shortValue = DecodePwlog(QStringLiteral("FFFFF"));
    EXPECT_EQ(shortValue.Field[1], 255);
    EXPECT_FALSE(shortValue.Field[2].has_value()) << "one character is no field";
}

} // namespace
