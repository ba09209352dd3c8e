// Every answer belongs to its command: a slow panel's late answers, the
// answer to a wake-up and an answer split across the moment the next
// command goes out must never be credited to another command, in the
// exchange, the connection sequence and the disconnection, over a real pty
// against the emulated panel or a scripted far end.
#include "emulated_panel_fixture.h"
#include "panel/CommandExchange.h"
#include "panel/ConnectSequence.h"
#include "panel/DeviceVersion.h"
#include "panel/DisconnectSequence.h"
#include "panel/PanelExchange.h"
#include "pty_pair.h"
#include "scripted_peer.h"
#include "serial/Device.h"
#include "short_link_timings.h"
#include "test_wait.h"

#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The emulated panel's delays are a few hundred milliseconds here; the quiet
// bound stays well above them, as the tool's own does above a slow panel's.
TLinkTimings LateTimings() {
    ShortLinkTimings t;
    t.LateMs = 1200;
    return t;
}

class LateAnswers : public ::testing::Test {
protected:
    void SetUp() override {
        exchange.SetTimings(timings);
        exchange.Attach();
    }

    bool connectPanel() {
        TConnectSequence sequence;
        sequence.SetLink(&exchange.OwedAnswers(), timings);
        sequence.SetDevice(&device);
        QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
        QSignalSpy failed(&sequence, &TConnectSequence::Failed);
        if (!sequence.Connect(panel->slavePath(), false, {}))
            return false;
        waitUntil([&] { return ok.count() + failed.count() > 0; }, 10000);
        sequence.ResetDevice();
        version = {sequence.Ver(), sequence.Major(), sequence.Minor(), sequence.Release(), sequence.Memory()};
        return ok.count() == 1;
    }

    TLinkTimings timings = LateTimings();
    std::unique_ptr<emu::EmulatedPanel> panel;
    TDevice device;
    TCommandExchange exchange{&device};
    TDeviceVersion version;
};

TEST_F(LateAnswers, ExchangeGivesEachCommandItsOwnAnswer) {
    struct Step {
        const char* command;
        QStringList answer; // the whole answer; none: the request fails
    };
    struct Row {
        const char* what;
        emu::Faults faults;
        int answerDelayMs;
        bool wakeUpFirst; // the device's wake-up goes out 100 ms before the first step
        uint32_t timeOut;
        std::vector<Step> steps;
    };
    emu::Faults slowO;
    slowO.extraDelayMs = 300;
    slowO.onlyCommand = "+o";
    emu::Faults slow;
    slow.extraDelayMs = 300;
    const Row rows[] = {
        {"a late answer to +o is not +disp's",
         slowO,
         0,
         false,
         250,
         {{"+o", {"0050", "OK"}}, {"+disp", {"FF", "OK"}}}},
        {"a refusal after a late answer is not an OK",
         slow,
         0,
         false,
         250,
         {{"+o1234", {"OK"}}, {"+dispZZ", {}}}},
        {"the wake-up's answer is not the read's",
         {},
         300,
         true,
         2500,
         {{"+o", {"0050", "OK"}}, {"+disp", {"FF", "OK"}}}},
    };
    uint32_t now = 1000000;
    device.SetClock([&] { return now; });
    for (const Row& row : rows) {
        panel = StartEmulatedPanel(QuickPanelSettings());
        device.SetWakeUpInterval(20000);
        ASSERT_TRUE(connectPanel()) << row.what;
        panel->setFaults(row.faults);
        emu::Delays delays = emu::Delays::quick();
        delays.answerMs = row.answerDelayMs;
        panel->setDelays(delays);
        if (row.wakeUpFirst) {
            device.SetWakeUp(true);
            now += 25000;
            device.TimerTick();
            ASSERT_TRUE(waitUntil([&] { return panel->commandCount("+v") == 2; })) << row.what;
            waitUntil([] { return false; }, 100);
        }
        for (const Step& step : row.steps) {
            QStringList answer;
            const bool ok = exchange.DeviceCommandLst(step.command, answer, row.timeOut);
            EXPECT_EQ(ok, !step.answer.isEmpty()) << row.what << ": " << step.command;
            EXPECT_EQ(answer, step.answer) << row.what << ": " << step.command;
        }
        device.SetWakeUp(false);
        device.SetComActive(false);
        panel.reset();
    }
}

TEST_F(LateAnswers, AnswerSlowerThanTheLateBoundStaysOwedToItsCommand) {
    // The journal's erase takes the panel far longer than the late bound:
    // its "OK" is the erase's answer, not a line nobody asked for, and the
    // erase goes out once.
    panel = StartEmulatedPanel(QuickPanelSettings());
    ASSERT_TRUE(connectPanel());
    emu::Delays delays = emu::Delays::quick();
    delays.journalEraseMs = int(timings.LateMs) * 2;
    panel->setDelays(delays);
    QStringList answer;
    EXPECT_TRUE(exchange.DeviceCommandLst("+erase", answer, timings.LateMs * 4));
    EXPECT_EQ(answer, QStringList{"OK"});
    EXPECT_EQ(panel->commandCount("+erase"), 1);
    // The next command is answered at once: the bound is the ordinary one again.
    EXPECT_TRUE(exchange.DeviceCommandLst("+disp", answer, 2500));
    EXPECT_EQ(answer.last(), "OK");
}

TEST_F(LateAnswers, ConnectionTakesTheVersionFromTheVersionAnswer) {
    // The panel answers "CABLE CONNECT" after the resend interval: the first
    // answer serves the resent command, and "+v" waits for the second.
    emu::PanelSettings s = QuickPanelSettings();
    s.faults.extraDelayMs = 350;
    s.faults.onlyCommand = "CABLE";
    panel = StartEmulatedPanel(s);
    ASSERT_TRUE(connectPanel());
    EXPECT_EQ(version.Name, "REV 07.700.125");
    EXPECT_TRUE(IsCompatible(version));
    EXPECT_EQ(version.Memory, "M45PE16");
    EXPECT_EQ(panel->commandCount("+v"), 1);
}

TEST_F(LateAnswers, AnswerSplitAcrossTheNextCommand) {
    // "+o" is answered late: "00" is here before "+disp" is asked, "50" and
    // the "OK" come after. A panel answers one command at a time, so the
    // answer to "+disp" comes only after that.
    PtyPair pty;
    ScriptedPeer peer(pty);
    device.SetPort(pty.slavePath());
    device.SetComActive(true);
    ASSERT_TRUE(device.ComActive());
    timings.Attempts = 1;
    exchange.SetTimings(timings);

    bool restSent = false;
    bool dispWaiting = false;
    peer.onCommand = [&](const QByteArray& line) -> QList<QByteArray> {
        if (line != "+disp")
            return {};
        if (restSent)
            return {"0A\rOK\r"};
        dispWaiting = true;
        return {};
    };
    QString value;
    ASSERT_FALSE(exchange.DeviceCommand("+o", value, 50));
    ASSERT_EQ(exchange.OwedAnswers().Count(), 1);
    peer.send("00");
    waitUntil([] { return false; }, 50); // "00" is in
    QTimer::singleShot(80, [&] {
        restSent = true;
        peer.send(dispWaiting ? "50\rOK\r0A\rOK\r" : "50\rOK\r");
    });
    ASSERT_TRUE(exchange.DeviceCommand("+disp", value, 500));
    EXPECT_EQ(value, "0A");
}

TEST_F(LateAnswers, DisconnectionHangsUpOnlyAfterTheModemLeftTheCall) {
    // The modem answers "+++" only after its guard time; "ATH" sent before
    // that would go to the panel as data and the call would stay up.
    PtyPair pty;
    ScriptedPeer peer(pty);
    peer.chunkDelayMs = 150;
    peer.onCommand = [](const QByteArray& line) -> QList<QByteArray> {
        if (line == "+++" || line == "ATH")
            return {"\r\nOK\r\n"};
        return {};
    };
    device.SetPort(pty.slavePath());
    device.SetComActive(true);
    exchange.SetModem(true);
    TDisconnectSequence d(&device, true, exchange.OwedAnswers(), timings);
    QSignalSpy done(&d, &TDisconnectSequence::Done);
    QByteArray rawAtFirstOk;
    QObject::connect(&exchange, &TCommandExchange::LogLine, [&](const QString& l) {
        if (l == ">> OK" && rawAtFirstOk.isEmpty())
            rawAtFirstOk = peer.raw;
    });
    d.Start();
    ASSERT_TRUE(done.wait(3000));
    EXPECT_EQ(rawAtFirstOk, QByteArray("+++")) << "nothing written before the modem's OK";
    EXPECT_EQ(peer.raw, QByteArray("+++ATH\r\n"));
    EXPECT_TRUE(exchange.OwedAnswers().Empty()) << "the port closed with nothing owed";
}

TEST_F(LateAnswers, ASlowPanelIsIdentifiedNeverMisjudged) {
    // Every answer comes later than the resend interval and the late bound
    // of old: the resent "CABLE CONNECT"'s "OK" must not be taken for the
    // version's answer (an empty version, "Несовместимая оболочка").
    emu::PanelSettings s = QuickPanelSettings();
    s.faults.extraDelayMs = 450;
    panel = StartEmulatedPanel(s);
    timings.CableResendMs = 300;
    timings.LateMs = 300;
    exchange.SetTimings(timings);
    ASSERT_TRUE(connectPanel());
    EXPECT_EQ(version.Name, "REV 07.700.125");
    EXPECT_TRUE(IsCompatible(version));
    EXPECT_EQ(version.Memory, "M45PE16");
}

TEST_F(LateAnswers, ALineThatChattersHoldsNoCommandForEver) {
    // A line that carries an unsolicited line every few milliseconds (a
    // modem's RING) never falls quiet: the answers owed to a command the
    // panel lost are written off at their deadline all the same, and the
    // next command is asked and answered.
    panel = StartEmulatedPanel(QuickPanelSettings());
    ASSERT_TRUE(connectPanel());
    emu::Faults f;
    f.chatterMs = 30;
    f.dropEvery = 1;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    bool stuck = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        stuck = true;
        exchange.Abort();
    });
    watchdog.start(15000);

    QStringList answer;
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", answer, 250));
    EXPECT_EQ(exchange.OwedAnswers().Count(), 3) << "each attempt still owed";
    EXPECT_TRUE(exchange.DeviceCommandLst("+disp", answer, 250));
    EXPECT_FALSE(stuck);
    EXPECT_EQ(AnswerValue(answer), "FF");
    EXPECT_EQ(answer.last(), "OK");

    // The disconnection waits for what is owed, not for a quiet line.
    EXPECT_FALSE(exchange.DeviceCommandLst("+o", answer, 250));
    TDisconnectSequence d(&device, false, exchange.OwedAnswers(), timings);
    QSignalSpy done(&d, &TDisconnectSequence::Done);
    d.Start();
    EXPECT_TRUE(done.wait(10000));
    EXPECT_FALSE(device.ComActive());
}

} // namespace
