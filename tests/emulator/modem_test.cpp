// Modem mode: the workstation's GSM modem (ATZ, AT, AT+CREG?, ATD, +++, ATH)
// with unregistered answers and failing dials, and the panel behind the call.

#include "panel_fixture.h"
#include "test_wait.h"

namespace {

class ModemTest : public PanelFixture {
protected:
    void SetUp() override { startPanel(emu::LinkMode::Modem); }

    void dialIn() {
        ASSERT_EQ(client->line("ATD+79001234567"), QList<QByteArray>{"CONNECT 9600"});
        ASSERT_TRUE(panel->callConnected());
    }
};

TEST_F(ModemTest, DialogueFromResetToHangUp) {
    panel->setUnregisteredAnswers(2);
    EXPECT_EQ(client->line("ATZ"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->line("AT"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->line("AT"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->line("AT+CREG?"), (QList<QByteArray>{"+CREG: 0,2", "OK"}));
    EXPECT_EQ(client->line("AT+CREG?"), (QList<QByteArray>{"+CREG: 0,2", "OK"}));
    EXPECT_EQ(client->line("AT+CREG?"), (QList<QByteArray>{"+CREG: 0,1", "OK"}));
    EXPECT_EQ(client->line("AT+CREG?"), (QList<QByteArray>{"+CREG: 0,1", "OK"}));
    dialIn();
    // The panel is on the line: no "CABLE CONNECT" over a call.
    EXPECT_EQ(client->line("+v"), (QList<QByteArray>{"REV 07.700.125", "OK"}));
    EXPECT_EQ(client->line("+typepan"), (QList<QByteArray>{"07", "OK"}));
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"}));
    EXPECT_EQ(client->line("CABLE CONNECT"), QList<QByteArray>{"ERROR"});
    // "+++" without a line end: the modem takes the line back, the call held.
    client->send("+++");
    EXPECT_EQ(client->answer(), QList<QByteArray>{"OK"});
    EXPECT_TRUE(panel->callConnected());
    EXPECT_EQ(client->page("+o"), QList<QByteArray>{"ERROR"}) << "the modem, not the panel, answers now";
    EXPECT_EQ(client->line("ATH"), QList<QByteArray>{"OK"});
    EXPECT_FALSE(panel->callConnected());
    EXPECT_EQ(panel->commandCount("AT+CREG?"), 4);
    EXPECT_EQ(panel->commandCount("ATD"), 1);
    EXPECT_EQ(panel->commandCount("+++"), 1);
    EXPECT_EQ(panel->commandCount("ATH"), 1);
    // The modem's results stand between CR LF pairs.
    EXPECT_TRUE(panel->sentBytes().endsWith("\r\nOK\r\n"));
}

TEST_F(ModemTest, FailedDialsThenAConnection) {
    const std::pair<emu::DialOutcome, QByteArray> outcomes[] = {
        {emu::DialOutcome::NoCarrier, "NO CARRIER"},
        {emu::DialOutcome::Busy, "BUSY"},
        {emu::DialOutcome::NoAnswer, "NO ANSWER"},
    };
    for (const auto& [outcome, text] : outcomes) {
        panel->setDialFailure(outcome, 2);
        EXPECT_EQ(client->line("ATD1234"), QList<QByteArray>{text});
        EXPECT_EQ(client->line("ATD1234"), QList<QByteArray>{text});
        EXPECT_FALSE(panel->callConnected());
        EXPECT_EQ(client->page("+o"), QList<QByteArray>{"ERROR"});
        dialIn();
        client->send("+++");
        client->answer();
        EXPECT_EQ(client->line("ATH"), QList<QByteArray>{"OK"});
    }
    panel->setDialFailure(emu::DialOutcome::Busy); // every dial
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(client->line("ATD1234"), QList<QByteArray>{"BUSY"});
}

TEST_F(ModemTest, DialWhileUnregisteredFindsNoCarrier) {
    panel->setUnregisteredAnswers(1);
    EXPECT_EQ(client->line("ATD1234"), QList<QByteArray>{"NO CARRIER"});
    EXPECT_EQ(client->line("AT+CREG?"), (QList<QByteArray>{"+CREG: 0,2", "OK"}));
    dialIn();
}

TEST_F(ModemTest, CommandsTheModemDoesNotTake) {
    for (const char* line : {"ATX", "AT+CSQ", "ATDT12a", "ATD", "ATD123;", "+v", "at", "ATZ0"})
        EXPECT_EQ(client->line(line), QList<QByteArray>{"ERROR"}) << line;
    // spaces in the number are ignored, as modems do
    dialIn();
    client->send("+++");
    client->answer();
    EXPECT_EQ(client->line("ATD 123"), QList<QByteArray>{"ERROR"}) << "a call is already held";
    EXPECT_EQ(client->line("ATH"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->line("ATD 8 900 123"), QList<QByteArray>{"CONNECT 9600"});
}

TEST_F(ModemTest, EchoSwitch) {
    panel->setModemEcho(true);
    EXPECT_EQ(client->line("AT"), (QList<QByteArray>{"AT", "OK"}));
    EXPECT_EQ(client->line("ATD555"), (QList<QByteArray>{"ATD555", "CONNECT 9600"}));
    EXPECT_EQ(client->page("+o"), (QList<QByteArray>{"0050", "OK"})) << "the panel does not echo";
}

TEST_F(ModemTest, SignalLevelOverACallHasOneOk) {
    dialIn();
    client->send("+U\r\n\r\n");
    EXPECT_EQ(client->answer(2000, 1), (QList<QByteArray>{"1100", "OK"}));
}

TEST_F(ModemTest, ClosingThePortDropsTheCall) {
    dialIn();
    ASSERT_TRUE(waitUntil([&] { return panel->toolOpenCount() == 1; }));
    client->close();
    ASSERT_TRUE(waitUntil([&] { return !panel->callConnected(); }));
    reopenClient();
    EXPECT_EQ(client->line("AT"), QList<QByteArray>{"OK"});
}

TEST_F(ModemTest, EscapeOutsideACallIsIgnored) {
    client->send("+++");
    client->send("ATH\r\n");
    EXPECT_EQ(client->answer(), QList<QByteArray>{"OK"});
    EXPECT_EQ(panel->commandCount("ATH"), 1);
}

TEST_F(ModemTest, FirmwareEndDropsTheCall) {
    dialIn();
    EXPECT_EQ(client->page("+BL"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page("+BE"), QList<QByteArray>{"OK"});
    EXPECT_EQ(client->page("+W0000:0102030405:01"), QList<QByteArray>{"OK"});
    client->send("+EE01000000\r\n\r\n");
    EXPECT_EQ(client->collect([](const QList<QByteArray>& l) { return l.size() == 2; }, 2000),
              (QList<QByteArray>{"OK", "NO CARRIER"}));
    EXPECT_FALSE(panel->callConnected());
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
}

} // namespace
