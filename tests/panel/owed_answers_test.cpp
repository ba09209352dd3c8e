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

TEST(OwedAnswers, WrittenOffOnlyAfterTheQuietBound) {
    TOwedAnswers owed;
    qint64 now = 1000;
    owed.SetClock([&] { return now; });
    owed.SetQuietBound(500);
    owed.Written("+o\r\n");
    now += 300;
    owed.Heard(); // part of an answer: the line is not quiet
    now += 400;
    EXPECT_FALSE(owed.ExpireIfQuiet());
    EXPECT_EQ(owed.MsUntilQuiet(), 100u);
    const quint64 before = owed.WriteOffs();
    now += 100;
    EXPECT_TRUE(owed.ExpireIfQuiet());
    EXPECT_TRUE(owed.Empty());
    EXPECT_NE(owed.WriteOffs(), before) << "readers drop their unfinished line";

    // A write after a quiet spell does not inherit what was owed before it.
    owed.Written("+o\r\n");
    now += 600;
    owed.Written("+disp\r\n");
    EXPECT_EQ(owed.Count(), 1);
    EXPECT_EQ(owed.Take("FF").Command, "+disp");
}

} // namespace
