// The Common page's wire formats: object number, dispatcher link, signal.
#include "pages/CommonCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectNumber, ShortTextsAreZeroFilledLongOnesLeftAlone) {
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"5", "0005"},    {"7", "0007"},    {"123", "0123"},    {"050", "0050"},
        {"0050", "0050"}, {"ABCD", "ABCD"}, {"12345", "12345"}, // four or more: unchanged
        {"AB", "00AB"},   {"f", "000f"},    {"", "0000"},       // not decimal: zeros as text
    };
    for (const auto& c : cases)
        EXPECT_EQ(ObjectNumberForWrite(QString::fromUtf8(c.text)), QString::fromUtf8(c.written)) << c.text;
}

TEST(ObjectNumber, KeyFilterAndTypedText) {
    for (const QChar c : QStringLiteral("0123456789ABCDEFabcdef\b"))
        EXPECT_TRUE(ObjNumKeyAllowed(c)) << int(c.unicode());
    for (const QChar c : QStringLiteral("GgZz -+.xЖ\x00e9"))
        EXPECT_FALSE(ObjNumKeyAllowed(c)) << int(c.unicode());

    EXPECT_TRUE(ObjNumTypedTextAllowed(QString()));
    EXPECT_TRUE(ObjNumTypedTextAllowed(QStringLiteral("aB09")));
    EXPECT_FALSE(ObjNumTypedTextAllowed(QStringLiteral("12345")));
    EXPECT_FALSE(ObjNumTypedTextAllowed(QStringLiteral("1 2")));
    EXPECT_FALSE(ObjNumTypedTextAllowed(QStringLiteral("1Ж")));
}

TEST(HexValue, ConvertsOnlyPlainHexDigits) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"FF", 255}, {"ff", 255},      {"0A", 10},        {"00", 0},  {"7FFFFFFF", 0x7FFFFFFF},
        {"", -1},    {"G1", -1},       {" 1", -1},        {"-1", -1}, {"0x1", -1},
        {"+1", -1},  {"FFFFFFFF", -1}, {"1FFFFFFFF", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexValue(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(DispValue, DecodesPanelAnswers) {
    EXPECT_EQ(DecodeDispValue(QStringLiteral("FF")), (TDispValue{false, 0}));
    EXPECT_EQ(DecodeDispValue(QStringLiteral("00")), (TDispValue{true, 0}));
    EXPECT_EQ(DecodeDispValue(QStringLiteral("0A")), (TDispValue{true, 10}));
    EXPECT_EQ(DecodeDispValue(QStringLiteral("fe")), (TDispValue{true, 254}));
    // Not hexadecimal, or a number that is no time of the list.
    for (const char* bad : {"", "XY", "-1", "100", "1FF", "OK"})
        EXPECT_FALSE(DecodeDispValue(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(DispValue, EncodesTwoUpperCaseDigitsOrFFWhenOff) {
    EXPECT_EQ(EncodeDispValue(false, 7), QStringLiteral("FF"));
    EXPECT_EQ(EncodeDispValue(false, -1), QStringLiteral("FF"));
    EXPECT_EQ(EncodeDispValue(true, 0), QStringLiteral("00"));
    EXPECT_EQ(EncodeDispValue(true, 10), QStringLiteral("0A"));
    EXPECT_EQ(EncodeDispValue(true, 254), QStringLiteral("FE"));
    EXPECT_FALSE(EncodeDispValue(true, -1).has_value());
    EXPECT_FALSE(EncodeDispValue(true, 255).has_value());
    // Every time index survives the trip to the panel and back.
    for (int i = 0; i < DispTimeCount; ++i)
        EXPECT_EQ(DecodeDispValue(*EncodeDispValue(true, i)), (TDispValue{true, i})) << i;
}

TEST(SignalValue, DecodesLevels) {
    EXPECT_EQ(DecodeSignalValue(QStringLiteral("1F00")), (TSignalLevels{31, 0}));
    EXPECT_EQ(DecodeSignalValue(QStringLiteral("0307")), (TSignalLevels{3, 7}));
    EXPECT_EQ(DecodeSignalValue(QStringLiteral("6363")), (TSignalLevels{99, 99}));
    EXPECT_EQ(DecodeSignalValue(QStringLiteral("1163")), (TSignalLevels{17, 99}));
    // Short, long, not hexadecimal, or a level beyond its range.
    for (const char* bad : {"", "1F0", "1F000", "ZZ00", "1FZZ", "2000", "0008", "6400", "OK"})
        EXPECT_FALSE(DecodeSignalValue(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(SignalValue, LevelTexts) {
    EXPECT_EQ(LevelText(31, SignalLevelMax), QStringLiteral("100%"));
    EXPECT_EQ(LevelText(17, SignalLevelMax), QStringLiteral("54%"));
    EXPECT_EQ(LevelText(3, SignalLevelMax), QStringLiteral("9%"));
    EXPECT_EQ(LevelText(0, SignalLevelMax), QStringLiteral("0%"));
    EXPECT_EQ(LevelText(7, ErrorLevelMax), QStringLiteral("100%"));
    EXPECT_EQ(LevelText(3, ErrorLevelMax), QStringLiteral("42%"));
    EXPECT_EQ(LevelText(SignalUnknown, SignalLevelMax), QStringLiteral("Неопределено"));
    EXPECT_EQ(LevelText(SignalUnknown, ErrorLevelMax), QStringLiteral("Неопределено"));
}

} // namespace
