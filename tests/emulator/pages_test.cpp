// The settings pages' commands: every read answers its value and "OK"; every
// write is checked against its format and stored, or answered "ERROR" and
// left alone. Also the cable session, the identification commands, "+U" and
// the line framing.

#include "panel_fixture.h"
#include "test_wait.h"

#include <QElapsedTimer>

namespace {

struct WriteCase {
    const char* read; // the read command, also the start of the write
    QByteArray value; // written right after it
    bool accepted;
};

std::ostream& operator<<(std::ostream& os, const WriteCase& c) {
    return os << c.read << c.value.constData() << (c.accepted ? " (taken)" : " (refused)");
}

const WriteCase kWrites[] = {
    // Object number and dispatcher link
    {"+o", "0005", true},
    {"+o", "ABCD", true},
    {"+o", "abcd", true},
    {"+o", "005", false},
    {"+o", "12345", false},
    {"+o", "12G4", false},
    {"+disp", "00", true},
    {"+disp", "0A", true},
    {"+disp", "FE", true},
    {"+disp", "FF", true},
    {"+disp", "0a", false},
    {"+disp", "100", false},
    // System events: restart flag, autotest hours and minutes
    {"+pwlog", "FFFFFF0004FFFFFFFF", true},
    {"+pwlog", "FFFF00173BFFFFFFFF", true},
    {"+pwlog", "FFFF00FFFFFFFFFFFF", true},
    {"+pwlog", "FFFFFF001EFFFFFFFF", true},
    {"+pwlog", "FFFFFF0000FFFFFFFF", false}, // no test period is FF FF, not 00 00
    {"+pwlog", "FFFFFFFF04FFFFFFFF", false}, // hours FF with minutes set
    {"+pwlog", "FFFFFF183BFFFFFFFF", false}, // 24 hours
    {"+pwlog", "FFFFFF003CFFFFFFFF", false}, // 60 minutes
    {"+pwlog", "FFFF01000AFFFFFFFF", false}, // restart flag neither 00 nor FF
    {"+pwlog", "FFFFFF0004FFFFFF", false},
    {"+pwlog", "ffffff0004ffffffff", false},
    // GPRS
    {"+gphon0", "*99#", true},
    {"+gphon0", "*99***1#", true},
    {"+gphon0", "*99#x", false},
    {"+GAPN0", "internet", true},
    {"+GAPN0", "internet.beeline.ru", true},
    {"+GAPN0", "inter net", false},
    {"+gprsname0", "beeline", true},
    {"+gprspswd0", "beeline", true},
    {"+gprsname0", QByteArray(31, 'a'), false},
    {"+timegpres", "012C", true},
    {"+timegpres", "0168", true},
    {"+timegpres", "0258", true},
    {"+timegpres", "0384", true},
    {"+timegpres", "0000", false},
    {"+timegpres", "012D", false},
    {"+timegpres", "03C0", false},
    {"+timegpres", "012c", false},
    {"+timegpres", "12C", false},
    {"+ps", "DemoDemo", true},
    {"+ps", "12345678", true},
    {"+ps", "Demo", false},
    {"+ps", "DemoDemo1", false},
    {"+IPadr", "192.168.100.100", true},
    {"+IPadr", "0.0.0.0", true},
    {"+IPadr", "1.2.3", false},
    {"+IPadr", "1.2.3.256", false},
    {"+IPadr", "1.2..3", false},
    {"+IPadr", "1.2.3.4.5", false},
    {"+IPport", "3050", true},
    {"+IPport", "1", true},
    {"+IPport", "65535", true},
    {"+IPport", "0", false},
    {"+IPport", "65536", false},
    {"+IPport", "30a0", false},
    {"+IP1adr", "10.0.0.2", true},
    {"+IP1port", "3051", true},
    // Channels
    {"+gprsena", "00", true},
    {"+gprsena", "FF", true},
    {"+gprsena", "01", false},
    {"+alphon0", "110002=123", true},
    {"+alphon7", "340006=+79001234567", true},
    {"+alphon3", "110000=", true},
    {"+alphon0", "010002=123", false}, // direction 0
    {"+alphon0", "190002=1", false},   // order 9
    {"+alphon0", "110007=1", false},   // channel 7
    {"+alphon0", "111002=1", false},   // reserved value not 0
    {"+alphon0", "110002=12a", false},
    {"+alphon0", "110002", false},
    {"+alphon0", "11002=1", false},
    {"+alphon0", "110002=" + QByteArray(31, '1'), false},
    {"+JDIR", "00", true},
    {"+JDIR", "FF", true},
    {"+JDIR", "0", false},
    // Alarm buttons
    {"+X", "25", true},
    {"+X", "20", true},
    {"+X", "00", true},
    {"+X", "02", false},
    {"+X", "FF", false},
    {"+n00", "112001005", true},
    {"+n02", "312099999", true},
    {"+n00", "340800000", true}, // 408 comes as a restore only
    {"+n00", "140801000", false},
    {"+n00", "199900000", false}, // no such event
    {"+n00", "512000000", false}, // qualifier 5
    {"+n00", "11200100", false},
    {"+n00", "1120010050", false},
    {"+presstime", "02", true},
    {"+presstime", "0A", true},
    {"+presstime", "00", false},
    {"+presstime", "03", false},
    {"+presstime", "0C", false},
    // Engineer numbers
    {"+enaing", "00", true},
    {"+enaing", "FF", true},
    {"+enaing", "0F", false},
    {"+phing0", "+123456", true},
    {"+phing4", " ", true},
    {"+phing1", "12 34", false},
    {"+phing2", "12-34", false},
    // SMS texts
    {"+smstext0", "Alarm 1", true},
    {"+smstext5", "Battery OK", true},
    {"+smstext1", QByteArray(161, 'x'), false},
};

class PageWriteTest : public PanelFixture, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(PageWriteTest, WriteIsCheckedStoredAndReadBack) {
    const WriteCase& c = GetParam();
    const QByteArray before = panel->parameterBytes(QString::fromLatin1(c.read));
    const QList<QByteArray> answer = client->page(c.read + c.value);
    if (c.accepted) {
        EXPECT_EQ(answer, QList<QByteArray>{"OK"}) << show(answer);
        EXPECT_EQ(client->page(c.read), (QList<QByteArray>{c.value, "OK"}));
        EXPECT_EQ(panel->writeCount(QString::fromLatin1(c.read)), 1);
        EXPECT_TRUE(panel->rejectedLines().isEmpty());
    } else {
        EXPECT_EQ(answer, QList<QByteArray>{"ERROR"}) << show(answer);
        EXPECT_EQ(client->page(c.read), (QList<QByteArray>{before, "OK"}));
        EXPECT_EQ(panel->rejectedLines().size(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPage, PageWriteTest, ::testing::ValuesIn(kWrites));

using PageReadTest = PanelFixture;

TEST_F(PageReadTest, EveryParameterReadsAsItsValueAndOk) {
    const QStringList names = panel->parameterNames();
    EXPECT_EQ(names.size(), 39);
    for (const QString& name : names) {
        const QList<QByteArray> answer = client->page(name.toLatin1());
        EXPECT_EQ(answer, (QList<QByteArray>{panel->parameterBytes(name), "OK"})) << name.toStdString();
    }
    EXPECT_TRUE(panel->rejectedLines().isEmpty());
}

TEST_F(PageReadTest, FactoryValues) {
    const QList<std::pair<QByteArray, QByteArray>> expected = {
        {"+o", "0050"},
        {"+disp", "FF"},
        {"+pwlog", "FFFFFF0004FFFFFFFF"},
        {"+timegpres", "012C"},
        {"+ps", "DemoDemo"},
        {"+IPport", "3050"},
        {"+gprsena", "FF"},
        {"+alphon0", "110002=+79031234567"},
        {"+alphon7", "260000="},
        {"+JDIR", "FF"},
        {"+X", "20"},
        {"+n00", "110000000"},
        {"+n02", "110000000"},
        {"+presstime", "02"},
        {"+enaing", "FF"},
        {"+phing0", " "},
        // "Разряд АКБ" in Windows-1251
        {"+smstext2", QByteArray("\xD0\xE0\xE7\xF0\xFF\xE4 \xC0\xCA\xC1")},
    };
    for (const auto& [command, value] : expected)
        EXPECT_EQ(client->page(command), (QList<QByteArray>{value, "OK"})) << command.constData();
    EXPECT_EQ(panel->parameter("+smstext2"), QString::fromUtf8("Разряд АКБ"));
}

TEST_F(PageReadTest, CyrillicTextTravelsInWindows1251) {
    // "Тревога! Ёлка №1" as the tool sends it
    const QByteArray text("\xD2\xF0\xE5\xE2\xEE\xE3\xE0! \xA8\xEB\xEA\xE0 \xB9\x31");
    EXPECT_EQ(client->page("+smstext0" + text), QList<QByteArray>{"OK"});
    EXPECT_EQ(panel->parameter("+smstext0"), QString::fromUtf8("Тревога! Ёлка №1"));
    EXPECT_EQ(client->page("+smstext0"), (QList<QByteArray>{text, "OK"}));
    EXPECT_TRUE(panel->setParameter("+smstext1", QString::fromUtf8("Восстановление заряда АКБ")));
    EXPECT_EQ(client->page("+smstext1").first(),
              QByteArray("\xC2\xEE\xF1\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED\xE8\xE5 "
                         "\xE7\xE0\xF0\xFF\xE4\xE0 \xC0\xCA\xC1"));
}

TEST_F(PageReadTest, StoredBytesAreAnsweredWritesStayChecked) {
    // A test period of 32 hours 30 minutes, which no write could have left.
    ASSERT_TRUE(panel->storeParameterBytes("+pwlog", "FFFFFF201EFFFFFFFF"));
    EXPECT_EQ(client->page("+pwlog"), (QList<QByteArray>{"FFFFFF201EFFFFFFFF", "OK"}));
    EXPECT_EQ(client->page("+pwlogFFFFFF201EFFFFFFFF"), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->page("+pwlogFFFFFF0004FFFFFFFF"), QList<QByteArray>{"OK"});
    EXPECT_EQ(panel->parameterBytes("+pwlog"), "FFFFFF0004FFFFFFFF");
    EXPECT_FALSE(panel->storeParameterBytes("+pwlog1", "FF"));
}

TEST_F(PageReadTest, IdentificationAndSignalLevel) {
    EXPECT_EQ(client->line("+v"), (QList<QByteArray>{"REV 07.700.125", "OK"}));
    EXPECT_EQ(client->line("+typepan"), (QList<QByteArray>{"07", "OK"}));
    panel->setSignal(31, 7);

    // On the cable "+U" answers "OK" at once and the value with a second
    // "OK" after the measurement.
    emu::Delays d = emu::Delays::quick();
    d.measurementMs = 300;
    panel->setDelays(d);
    client->send("+U\r\n\r\n");
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(client->answer(2000, 1), QList<QByteArray>{"OK"});
    const qint64 firstOk = t.elapsed();
    EXPECT_EQ(client->answer(2000, 1), (QList<QByteArray>{"1F07", "OK"}));
    EXPECT_GE(t.elapsed(), 290);
    EXPECT_GE(t.elapsed() - firstOk, 200) << "the first OK comes before the measurement";

    panel->setSignal(99, 99); // not known
    client->send("+U\r\n\r\n");
    EXPECT_EQ(client->answer(2000, 2), (QList<QByteArray>{"OK", "6363", "OK"}));
}

TEST_F(PageReadTest, ReadOnlyAndUnknownCommandsAreRefused) {
    const QList<QByteArray> refused = {
        "+v1",  "+typepan07", "+U1",          "+point0",     "+erase1",       "+zzz",
        "+O",   "o",          "+alphon8",     "+alphon",     "+phing5",       "+smstext6",
        "+n01", "+BE",        "+W0000:00:00", "+EE00000000", "cable connect", "CABLE CONNECT now"};
    for (const QByteArray& command : refused)
        EXPECT_EQ(client->page(command), QList<QByteArray>{"ERROR"}) << command.constData();
    EXPECT_EQ(panel->rejectedLines().size(), refused.size());
    EXPECT_EQ(panel->commandCount("?"), 5); // +zzz, +O, o, +n01, cable connect
}

TEST_F(PageReadTest, CounterPerCommand) {
    client->page("+o");
    client->page("+o0007");
    client->page("+o");
    client->page("+alphon3");
    EXPECT_EQ(panel->commandCount("+o"), 3);
    EXPECT_EQ(panel->writeCount("+o"), 1);
    EXPECT_EQ(panel->commandCount("+alphon3"), 1);
    EXPECT_EQ(panel->commandCount("CABLE CONNECT"), 1);
    EXPECT_EQ(panel->receivedLines(), (QStringList{"CABLE CONNECT", "+o", "+o0007", "+o", "+alphon3"}));
    EXPECT_EQ(panel->receivedBytes(),
              QByteArray("CABLE CONNECT\r\n+o\r\n\r\n+o0007\r\n\r\n+o\r\n\r\n+alphon3\r\n\r\n"));
    panel->clearRecords();
    EXPECT_EQ(panel->commandCount("+o"), 0);
}

TEST_F(PageReadTest, CableSessionGatesThePageCommands) {
    EXPECT_TRUE(panel->cableSessionOpen());
    EXPECT_EQ(client->line("CABLE DISCONNECT"), QList<QByteArray>{"OK"});
    EXPECT_FALSE(panel->cableSessionOpen());
    EXPECT_EQ(client->page("+o"), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(client->line("+typepan"), QList<QByteArray>{"ERROR"});
    // the wake-up "+v" is answered at any time
    EXPECT_EQ(client->line("+v"), (QList<QByteArray>{"REV 07.700.125", "OK"}));
    EXPECT_EQ(client->line("CABLE CONNECT"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"}));
}

TEST_F(PageReadTest, LineFraming) {
    // Empty lines are ignored: the extra CR LF after a page command, or many.
    client->send("\r\n\r\n\r\n");
    EXPECT_TRUE(client->readRaw(200).isEmpty());
    // A line ended by LF alone, or with a CR inside, is refused.
    EXPECT_EQ((client->send("+o\n"), client->answer()), QList<QByteArray>{"ERROR"});
    EXPECT_EQ((client->send("+o\r0050\r\n"), client->answer()), QList<QByteArray>{"ERROR"});
    EXPECT_EQ(panel->parameter("+o"), "0050");
    // A command split over several writes is one command.
    client->send("+o00");
    client->send("42\r");
    client->send("\n\r\n");
    EXPECT_EQ(client->answer(), QList<QByteArray>{"OK"});
    EXPECT_EQ(panel->parameter("+o"), "0042");
    // Answers end with CR alone, or CR LF when switched.
    client->send("+o\r\n\r\n");
    EXPECT_EQ(client->readRaw(1000), QByteArray("0042\rOK\r"));
    panel->setCrLfAnswers(true);
    client->send("+o\r\n\r\n");
    EXPECT_EQ(client->readRaw(1000), QByteArray("0042\r\nOK\r\n"));
}

TEST_F(PageReadTest, CommandsAreAnsweredOneAfterAnother) {
    emu::Delays d = emu::Delays::quick();
    d.journalEraseMs = 150;
    panel->setDelays(d);
    client->send("+erase\r\n\r\n+o\r\n\r\n+v\r\n");
    const QList<QByteArray> lines =
        client->collect([](const QList<QByteArray>& l) { return l.count("OK") == 3; }, 3000);
    EXPECT_EQ(lines, (QList<QByteArray>{"OK", "0050", "OK", "REV 07.700.125", "OK"}));
}

TEST_F(PageReadTest, ANewConnectionIsServedAndGetsNoStaleAnswer) {
    emu::Delays d = emu::Delays::quick();
    d.journalEraseMs = 300;
    panel->setDelays(d);
    ASSERT_TRUE(waitUntil([&] { return panel->toolOpenCount() == 1; }));
    client->send("+erase\r\n\r\n");
    ASSERT_TRUE(waitUntil([&] { return panel->commandCount("+erase") == 1; }));
    client->close(); // the tool gives up and closes the port
    ASSERT_TRUE(waitUntil([&] { return panel->toolOpenCount() == 0; }));
    reopenClient();
    ASSERT_TRUE(waitUntil([&] { return panel->toolOpenCount() == 1; }));
    EXPECT_TRUE(client->readRaw(500).isEmpty()) << "the erase's OK was meant for the closed connection";
    EXPECT_EQ(client->page("+point"), (QList<QByteArray>{"0000", "OK"}));
    for (int i = 0; i < 3; ++i) {
        reopenClient();
        EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"}));
    }
}

// Another program opening the port while the tool has it, and closing it
// again (the tool's lock turns it away), leaves the tool's line as a real
// port leaves it: the answer waiting on the line is still there to read.
TEST_F(PageReadTest, AnotherProgramsOpenAndCloseLeaveTheToolsLineAlone) {
    ASSERT_TRUE(waitUntil([&] { return panel->toolOpenCount() == 1; }));
    panel->clearRecords();
    client->send("+o\r\n\r\n");
    ASSERT_TRUE(waitUntil([&] { return panel->sentBytes().endsWith("OK\r"); }));
    {
        PanelClient other(panel->slavePath());
        ASSERT_TRUE(other.isOpen());
        ASSERT_TRUE(waitUntil([&] { return panel->toolOpenCount() == 2; }));
    }
    ASSERT_TRUE(waitUntil([&] { return panel->toolOpenCount() == 1; }));
    EXPECT_EQ(client->answer(), (QList<QByteArray>{"0050", "OK"}));
    EXPECT_TRUE(panel->cableSessionOpen());
    EXPECT_EQ(client->page("+disp"), (QList<QByteArray>{"FF", "OK"}));
}

} // namespace
