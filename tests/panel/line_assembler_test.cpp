// Turning received bytes into answer lines.
#include "panel/LineAssembler.h"

#include <gtest/gtest.h>

namespace {

TEST(LineAssembler, SplitsAtCrAndDropsNoise) {
    struct Case {
        const char* what;
        QList<QByteArray> chunks;
        QStringList lines;
        QString pending;
    };
    const Case cases[] = {
        {"OK CR LF in one piece", {"OK\r\n"}, {"OK"}, ""},
        {"one byte per hand-over", {"O", "K", "\r", "\n"}, {"OK"}, ""},
        {"value and OK", {"0050\r\nOK\r\n"}, {"0050", "OK"}, ""},
        {"CR alone ends a line", {"0050\rOK\r"}, {"0050", "OK"}, ""},
        {"empty lines skipped", {"\r\r\r"}, {}, ""},
        {"a line of one space is a value", {" \rOK\r"}, {" ", "OK"}, ""},
        {"one space with CR LF, split", {" ", "\r", "\n", "OK\r\n"}, {" ", "OK"}, ""},
        {"LF anywhere ignored", {"00\n50\r\nO\nK\r"}, {"0050", "OK"}, ""},
        {"> anywhere dropped", {"> 12>34\r>OK\r"}, {" 1234", "OK"}, ""},
        {"text after the last CR waits", {"OK\rREV 07"}, {"OK"}, "REV 07"},
        {"a line across hand-overs", {"REV 0", "7.700", ".125\r"}, {"REV 07.700.125"}, ""},
        {"Cyrillic in 1251", {"\xCF\xF0\xE8\xE2\xE5\xF2\r"}, {QString::fromUtf8("Привет")}, ""},
    };
    for (const Case& c : cases) {
        TLineAssembler a;
        QStringList got;
        for (const QByteArray& chunk : c.chunks)
            got += a.Feed(chunk);
        EXPECT_EQ(got, c.lines) << c.what;
        EXPECT_EQ(a.Pending(), c.pending) << c.what;
    }
}

TEST(LineAssembler, EndlessTextWithoutCrIsCutIntoLines) {
    TLineAssembler a;
    const QByteArray block(10000, 'x');
    QStringList got;
    for (int i = 0; i < 20; ++i)
        got += a.Feed(block);
    ASSERT_EQ(got.size(), 3);
    for (const QString& line : got)
        EXPECT_EQ(line.size(), TLineAssembler::kMaxPending);
    EXPECT_LT(a.Pending().size(), TLineAssembler::kMaxPending);
    EXPECT_EQ(got.size() * TLineAssembler::kMaxPending + a.Pending().size(), 200000) << "nothing lost";
}

} // namespace
