// The owed answers without a line: which answer a received line belongs to,
// where answers end on the cable and through a modem, and when what is
// still owed is written off.
#include "panel/OwedAnswers.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

TEST(OwedAnswers, FinalLinesOnTheCableAndThroughAModem) {
    struct Case {
        const char* line;
        bool cable, modem;
    };
    const Case cases[] = {
        {"OK", true, true},         {"ERROR", true, true},        {"CONNECT 9600", false, true},
        {"CONNECT", false, true},   {"NO CARRIER", false, true},  {"BUSY", false, true},
        {"NO ANSWER", false, true}, {"NO DIALTONE", false, true}, {"ok", false, false},
        {"OK ", false, false},      {"0050", false, false},       {"+CREG: 0,1", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TOwedAnswers::IsFinalLine(c.line, false), c.cable) << c.line;
        EXPECT_EQ(TOwedAnswers::IsFinalLine(c.line, true), c.modem) << c.line;
    }
    EXPECT_EQ(TOwedAnswers::Key("+o\r\n"), "+o");
    EXPECT_EQ(TOwedAnswers::Key("+++"), "+++");
}

TEST(OwedAnswers, AnswersGoToTheWritesInOrder) {
    TOwedAnswers owed;
    QSignalSpy settled(&owed, &TOwedAnswers::Settled);
    EXPECT_FALSE(owed.Take("OK").Owed) << "nothing asked: nobody's line";

    owed.Written("+v");
    owed.Written("+o\r\n");
    owed.Written("+o\r\n");
    EXPECT_FALSE(owed.OwesOnly("+o"));

    TOwedAnswers::TFate f = owed.Take("REV 07.700.125");
    EXPECT_TRUE(f.Owed);
    EXPECT_EQ(f.Command, "+v");
    EXPECT_FALSE(f.Completes);
    f = owed.Take("OK");
    EXPECT_TRUE(f.Completes && f.Success);
    EXPECT_EQ(settled.count(), 1);
    EXPECT_TRUE(owed.OwesOnly("+o")) << "only a retry's answers left";

    f = owed.Take("ERROR");
    EXPECT_EQ(f.Command, "+o");
    EXPECT_TRUE(f.Completes);
    EXPECT_FALSE(f.Success) << "a refusal";
    EXPECT_EQ(owed.Count(), 1);
}

TEST(OwedAnswers, SignalReadingOnTheCableEndsAtItsSecondOk) {
    TOwedAnswers owed;
    owed.Written("+U\r\n", true);
    owed.Written("+v");
    EXPECT_FALSE(owed.Take("OK").Completes);
    EXPECT_FALSE(owed.Take("1F00").Completes);
    EXPECT_TRUE(owed.Take("OK").Completes);
    EXPECT_EQ(owed.Take("OK").Command, "+v") << "the next line is the next answer's";

    // Through a modem the same reading ends at its first "OK".
    owed.SetModem(true);
    owed.Written("+U\r\n", true);
    EXPECT_TRUE(owed.Take("OK").Completes);
}

TEST(OwedAnswers, WrittenOffAtItsDeadlineWhateverTheLineCarries) {
    TOwedAnswers owed;
    qint64 now = 1000;
    owed.SetClock([&] { return now; });
    owed.SetLateBound(500);
    owed.Written("+o\r\n", false, 300);
    // A line that chatters without answering (lines that end no answer)
    // does not move the deadline: written at 1000, given 300 + 500.
    for (int i = 0; i < 7; ++i) {
        now += 100;
        EXPECT_FALSE(owed.Take("RING").Completes);
        EXPECT_FALSE(owed.ExpireDue());
    }
    EXPECT_EQ(owed.MsUntilDue(), 100u);
    const quint64 before = owed.WriteOffs();
    now += 100;
    EXPECT_TRUE(owed.ExpireDue());
    EXPECT_NE(owed.WriteOffs(), before) << "readers drop their unfinished line";
    EXPECT_FALSE(owed.Take("OK").Owed) << "a line after the deadline is nobody's answer";

    // A write past the deadline does not inherit what was owed before it.
    owed.Written("+o\r\n", false, 300);
    now += 800;
    owed.Written("+disp\r\n", false, 300);
    EXPECT_EQ(owed.Count(), 1);
    EXPECT_EQ(owed.Take("FF").Command, "+disp");
}

TEST(OwedAnswers, AnAnswersTimeCountsFromThePreviousAnswer) {
    // The panel starts on a command once it has answered the one before: a
    // slow panel's second answer is not written off while the first one is
    // still on its way, and a write-off does not give the next one more time.
    TOwedAnswers owed;
    qint64 now = 0;
    owed.SetClock([&] { return now; });
    owed.SetLateBound(1000);
    owed.Written("CABLE CONNECT\r\n", false, 3000);
    now = 3000;
    owed.Written("CABLE CONNECT\r\n", false, 3000);
    now = 3900; // the first answer, 3.9 s late
    EXPECT_TRUE(owed.Take("OK").Completes);
    now = 7800; // the second one as late: 3.9 s after the first
    EXPECT_FALSE(owed.ExpireDue());
    EXPECT_TRUE(owed.Take("OK").Completes);
    EXPECT_TRUE(owed.Empty());

    // Three writes of which only the first is answered: the other two are
    // both due one answer time and the bound after that answer.
    owed.Written("+BL\r\n", false, 500);
    owed.Written("+BL\r\n", false, 500);
    owed.Written("+BL\r\n", false, 500);
    now += 200;
    EXPECT_TRUE(owed.Take("OK").Completes);
    now += 1499;
    EXPECT_FALSE(owed.ExpireDue());
    now += 1;
    EXPECT_TRUE(owed.ExpireDue());
}

TEST(OwedAnswers, TheLeastAnswerTimeHoldsForEveryWrite) {
    TOwedAnswers owed;
    qint64 now = 0;
    owed.SetClock([&] { return now; });
    owed.SetLateBound(1000);
    owed.SetDefaultAnswerTime(300);
    owed.SetLeastAnswerTime(6000); // a boot loader
    owed.Written("+BL\r\n", false, 50);
    owed.Written("+v\r\n"); // the device's wake-up: the default time
    now = 6999;
    EXPECT_FALSE(owed.ExpireDue());
    EXPECT_EQ(owed.Take("OK").Command, "+BL");
    owed.SetLeastAnswerTime(0);
    owed.ExpectNextWithin(2000);
    owed.Written("AT\r\n");
    EXPECT_EQ(owed.Take("OK").Command, "+v");
    now += 2999;
    EXPECT_FALSE(owed.ExpireDue()) << "the time given to the next write";
    now += 1;
    EXPECT_TRUE(owed.ExpireDue());
}

} // namespace
