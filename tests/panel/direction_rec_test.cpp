#include "panel/DirectionRec.h"

#include <gtest/gtest.h>

namespace {

struct AnswerCase {
    const char* name;
    QStringList lines;
    int direction, order, reserved, channel;
    QString phone;
};

TEST(DirectionRecTest, AnswersDecodeAsThePanelSendsThem) {
    const AnswerCase cases[] = {
        {"plain", {"110002=123", "OK"}, 1, 1, 0, 2, "123"},
        {"international number", {"230006=+79001234567", "OK"}, 2, 3, 0, 6, "+79001234567"},
        {"a free entry", {"180000=", "OK"}, 1, 8, 0, 0, ""},
        {"reserved value read from the third digit", {"127004=9", "OK"}, 1, 2, 7, 4, "9"},
        {"a stray line before the value is not read", {"+CREG: 0,1", "310005=333", "OK"}, 3, 1, 0, 5, "333"},
        {"the only line", {"410006=5"}, 4, 1, 0, 6, "5"},
        {"phone cut to thirty characters",
         {"110002=1234567890123456789012345678901234", "OK"},
         1,
         1,
         0,
         2,
         "123456789012345678901234567890"},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<TDirectionRec> rec = ParseDirectionAnswer(c.lines);
        ASSERT_TRUE(rec);
        EXPECT_EQ(rec->Direction, c.direction);
        EXPECT_EQ(rec->Order, c.order);
        EXPECT_EQ(rec->Reserved[0], c.reserved);
        EXPECT_EQ(rec->Reserved[1], 0);
        EXPECT_EQ(rec->Reserved[2], 0);
        EXPECT_EQ(rec->Channel, c.channel);
        EXPECT_EQ(rec->Phone, c.phone);
    }
}

TEST(DirectionRecTest, AValueLineOfAnotherFormIsNoEntry) {
    // Each of these once became an entry "not used" (all digits zero), which
    // a write-back would have sent to the panel.
    const std::pair<const char*, QStringList> cases[] = {
        {"a stray line after the value", {"110002=123", "+CREG: 0,1", "OK"}},
        {"another command's value", {"0050", "OK"}},
        {"a lone OK", {"OK"}},
        {"no =", {"410006", "OK"}},
        {"head too long", {"1100020=555", "OK"}},
        {"head too short", {"11002=555", "OK"}},
        {"a letter in the head", {"1A0002=1", "OK"}},
        {"a plus in the head", {"1+0002=1", "OK"}},
        {"other characters in the phone", {"110002=8 (900) 1", "OK"}},
        {"a second =", {"310005=12=34", "OK"}},
        {"ERROR", {"ERROR"}},
        {"nothing", {}},
    };
    for (const auto& [name, lines] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ParseDirectionAnswer(lines));
    }
}

TEST(DirectionRecTest, WriteLinesCarryEveryFieldWithoutLeadingZeros) {
    TDirectionRec first;
    first.Direction = 1;
    first.Order = 1;
    first.Channel = ctCsd;
    first.Phone = QStringLiteral("123");
    EXPECT_EQ(DirectionWriteLine(0, first), QStringLiteral("+alphon0110002=123"));

    TDirectionRec free;
    free.Direction = 1;
    free.Order = 8;
    EXPECT_EQ(DirectionWriteLine(7, free), QStringLiteral("+alphon7180000="));

    TDirectionRec wide;
    wide.Direction = 12;
    wide.Order = 10;
    wide.Reserved = {1, 2, 3};
    wide.Channel = ctSmsMobile;
    wide.Phone = QString(40, QLatin1Char('9'));
    EXPECT_EQ(DirectionWriteLine(3, wide), QStringLiteral("+alphon3CA1236=") + QString(30, QLatin1Char('9')));

    TDirectionRec percent;
    percent.Direction = 1;
    percent.Order = 1;
    percent.Phone = QStringLiteral("%1%2");
    EXPECT_EQ(DirectionWriteLine(2, percent), QStringLiteral("+alphon2110000=%1%2"));
}

TEST(DirectionRecTest, AWrittenEntryReadsBackUnchanged) {
    TDirectionRec rec;
    rec.Direction = 3;
    rec.Order = 2;
    rec.Channel = ctSmsRelvan;
    rec.Phone = QStringLiteral("+79161234567");
    const QString line = DirectionWriteLine(5, rec);
    const QString answer = line.mid(QStringLiteral("+alphon5").size());
    EXPECT_EQ(ParseDirectionAnswer({answer, QStringLiteral("OK")}), std::optional<TDirectionRec>(rec));
}

} // namespace
