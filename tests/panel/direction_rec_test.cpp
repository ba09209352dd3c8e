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
        {"value and OK on one line", {"230006=+79001234567OK"}, 2, 3, 0, 6, "+79001234567"},
        {"junk characters are filtered", {">12 0-0 06=8 (900) 1", "OK"}, 1, 2, 0, 6, "89001"},
        {"second = stays in the phone", {"310005=12=34", "OK"}, 3, 1, 0, 5, "12=34"},
        {"no = but six digits", {"410006", "OK"}, 4, 1, 0, 6, ""},
        {"no = and not six digits", {"41000", "OK"}, 0, 0, 0, 0, ""},
        {"head too long keeps the phone", {"1100020=555", "OK"}, 0, 0, 0, 0, "555"},
        {"head too short keeps the phone", {"11002=555", "OK"}, 0, 0, 0, 0, "555"},
        {"ERROR filters to nothing", {"ERROR"}, 0, 0, 0, 0, ""},
        {"reserved value read from the third digit", {"127004=9", "OK"}, 1, 2, 7, 4, "9"},
        {"phone cut to thirty characters",
         {"110002=1234567890123456789012345678901234", "OK"},
         1,
         1,
         0,
         2,
         "123456789012345678901234567890"},
        {"a plus in the head is no digit", {"1+0002=1", "OK"}, 1, 0, 0, 2, "1"},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TDirectionRec rec = ParseDirectionAnswer(c.lines);
        EXPECT_EQ(rec.Direction, c.direction);
        EXPECT_EQ(rec.Order, c.order);
        EXPECT_EQ(rec.Reserved[0], c.reserved);
        EXPECT_EQ(rec.Reserved[1], 0);
        EXPECT_EQ(rec.Reserved[2], 0);
        EXPECT_EQ(rec.Channel, c.channel);
        EXPECT_EQ(rec.Phone, c.phone);
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
    EXPECT_EQ(ParseDirectionAnswer({answer, QStringLiteral("OK")}), rec);
}

} // namespace
