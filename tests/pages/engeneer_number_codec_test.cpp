// The Engineer numbers page: the switch, the numbers' commands, the key
// filter and the single-space rule.
#include "pages/EngeneerNumberCodec.h"

#include "qt_print.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineerNumbers, SwitchAndCommands) {
    EXPECT_EQ(EncodeEnableEng(true), QStringLiteral("00"));
    EXPECT_EQ(EncodeEnableEng(false), QStringLiteral("FF"));
    EXPECT_TRUE(DecodeEnableEng(QStringLiteral("00")));
    for (const char* off : {"FF", "01", "0", "", "00 ", "OK"})
        EXPECT_FALSE(DecodeEnableEng(QString::fromLatin1(off))) << off;

    // Commands count from 0, the error list from 1.
    EXPECT_EQ(PhingReadCommand(1), QStringLiteral("+phing0"));
    EXPECT_EQ(PhingReadCommand(5), QStringLiteral("+phing4"));
    EXPECT_EQ(PhingWriteCommand(1, QStringLiteral("+123456")), QStringLiteral("+phing0+123456"));
    EXPECT_EQ(PhingWriteCommand(3, QStringLiteral(" ")), QStringLiteral("+phing2 "));
    EXPECT_EQ(EngineerNumberErrorName(3), QStringLiteral("Инженерный номер 3"));
}

TEST(EngineerNumbers, EmptyNumbersGoOutAsOneSpaceOthersWithoutSpaces) {
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"", " "},
        {" ", " "},    // as read back from the panel
        {"    ", " "}, // spaces only: not an empty value, which would be a read
        {"+123456", "+123456"},
        {"+7 903 123 45 67", "+79031234567"},
        {" 12 ", "12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EngineerNumberForWrite(QString::fromLatin1(c.text)), QString::fromLatin1(c.written))
            << '"' << c.text << '"';
}

TEST(EngineerNumbers, KeyFilter) {
    for (const QChar c : QStringLiteral("+0123456789\b"))
        EXPECT_TRUE(EngineerKeyAllowed(c)) << int(c.unicode());
    for (const QChar c : QStringLiteral(" -()*#aЖ\x00bd"))
        EXPECT_FALSE(EngineerKeyAllowed(c)) << int(c.unicode());
}

} // namespace
