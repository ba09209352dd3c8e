// The connection sequence over a real pseudo-terminal, with the panel (and
// the modem in front of it) scripted: both sequences, resends and giving
// up, registration polling, a failed dial, Cancel.
#include "panel/ConnectSequence.h"
#include "panel/DisconnectSequence.h"
#include "panel/LinkMessages.h"
#include "pty_pair.h"
#include "scripted_peer.h"
#include "serial/Device.h"
#include "test_wait.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

namespace {

class ConnectOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        timings.CableResendMs = 200;
        timings.ModemResendMs = 200;
        timings.DialResendMs = 300;
        timings.RtsPulseMs = 5;
        timings.ModemSettleMs = 10;
        timings.RegistrationRetryMs = 20;
        timings.LateMs = 300;
        sequence.SetLink(nullptr, timings);
        device.OnComCreateError = [this](TDevice*, int code) { createErrors.push_back(code); };
        device.OnData = [this](TDevice*, const QByteArray&) { ++mainWindowData; };
        sequence.SetDevice(&device);
        QObject::connect(&sequence, &TConnectSequence::LogLine, [this](const QString& l) { log << l; });
        peer.onCommand = [this](const QByteArray& line) -> QList<QByteArray> {
            auto it = script.find(line);
            if (it == script.end() || it->second.isEmpty())
                return {};
            QByteArray answer = it->second.first();
            if (it->second.size() > 1)
                it->second.removeFirst();
            return {answer};
        };
    }
    // Changes the sequence's timings for one test.
    void setTimings(const std::function<void(TLinkTimings&)>& change) {
        change(timings);
        sequence.SetLink(nullptr, timings);
    }

    void panelAnswers(const QByteArray& version = "REV 07.700.125", const QByteArray& memory = "07") {
        script["CABLE CONNECT"] = {"OK\r"};
        script["+v"] = {version + "\r\nOK\r\n"};
        script["+typepan"] = {memory + "\rOK\r"};
    }

    TLinkTimings timings;
    PtyPair pty;
    ScriptedPeer peer{pty};
    TDevice device;
    TConnectSequence sequence;
    std::map<QByteArray, QList<QByteArray>> script; // each answer used once, the last one kept
    std::vector<int> createErrors;
    int mainWindowData = 0;
    QStringList log;
};

TEST_F(ConnectOnPty, CableSequenceIdentifiesThePanel) {
    panelAnswers();
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), false, ""));
    ASSERT_TRUE(ok.wait(3000));
    EXPECT_EQ(peer.raw, QByteArray("CABLE CONNECT\r\n+v\r\n+typepan\r\n"));
    EXPECT_EQ(sequence.Ver(), "REV 07.700.125");
    EXPECT_EQ(sequence.Major(), 7);
    EXPECT_EQ(sequence.Minor(), 700);
    EXPECT_EQ(sequence.Release(), 125);
    EXPECT_EQ(sequence.Memory(), "M45PE16");
    EXPECT_FALSE(sequence.Modem());
    EXPECT_EQ(sequence.Index(), -1);
    EXPECT_TRUE(device.ComActive());
    EXPECT_TRUE(log.contains(">> REV 07.700.125"));

    sequence.ResetDevice();
    peer.send("OK\r");
    ASSERT_TRUE(waitUntil([&] { return mainWindowData > 0; })) << "OnData given back";
}

TEST_F(ConnectOnPty, OtherFirmwareStillConnectsAndIsReadAsIs) {
    panelAnswers("REV 08.123.001", "3");
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), false, ""));
    ASSERT_TRUE(ok.wait(3000));
    EXPECT_EQ(sequence.Major(), 8);
    EXPECT_EQ(sequence.Minor(), 123);
    EXPECT_EQ(sequence.Memory(), "") << "value 3 names no chip";
}

TEST_F(ConnectOnPty, OkFollowedByMoreLinesInOneBatch) {
    panelAnswers();
    script["CABLE CONNECT"] = {"OK\rNOISE\rOK\r"};
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    QSignalSpy failed(&sequence, &TConnectSequence::Failed);
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), false, ""));
    ASSERT_TRUE(ok.wait(3000));
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(peer.lines, (QList<QByteArray>{"CABLE CONNECT", "+v", "+typepan"}));
}

TEST_F(ConnectOnPty, SilentPanelGivesUpAfterFourResends) {
    setTimings([](TLinkTimings& t) { t.CableResendMs = 30; });
    QSignalSpy failed(&sequence, &TConnectSequence::Failed);
    QSignalSpy enabled(&sequence, &TConnectSequence::ConnectEnabled);
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), false, ""));
    ASSERT_TRUE(failed.wait(3000));
    EXPECT_EQ(failed.at(0).at(0).toString(), "Ошибка подключения");
    EXPECT_TRUE(failed.at(0).at(1).toBool()) << "error icon";
    EXPECT_EQ(peer.lines, QList<QByteArray>(5, "CABLE CONNECT"));
    EXPECT_EQ(sequence.Index(), -2);
    EXPECT_FALSE(device.ComActive());
    ASSERT_GE(enabled.count(), 2);
    EXPECT_TRUE(enabled.last().at(0).toBool());
}

TEST_F(ConnectOnPty, ModemSequenceWaitsForRegistrationAndDials) {
    script["ATZ"] = {"OK\r"};
    script["AT"] = {"OK\r"};
    script["AT+CREG?"] = {"+CREG: 0,2\rOK\r", "+CREG: 0,2\rOK\r", "+CREG: 0,1\rOK\r"};
    script["ATD+79001234567"] = {"CONNECT 9600\r"};
    script["+v"] = {"REV 07.700.125\rOK\r"};
    script["+typepan"] = {"0F\rOK\r"};
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    // The steps as the connection dialog says them, each once in a row.
    QStringList steps;
    QObject::connect(&sequence, &TConnectSequence::Step, [&](const QString& step) {
        if (steps.isEmpty() || steps.last() != step)
            steps << step;
    });
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), true, "+79001234567"));
    ASSERT_TRUE(ok.wait(5000));
    EXPECT_EQ(peer.lines, (QList<QByteArray>{"ATZ", "AT", "AT", "AT+CREG?", "AT+CREG?", "AT+CREG?",
                                             "ATD+79001234567", "+v", "+typepan"}));
    EXPECT_EQ(steps, (QStringList{"Сброс модема…", "Подготовка модема…", "Ожидание регистрации в сети (1)…",
                                  "Ожидание регистрации в сети (2)…", "Ожидание регистрации в сети (3)…",
                                  "Набор номера…", "Опознание панели…"}));
    EXPECT_TRUE(sequence.Modem());
    EXPECT_EQ(sequence.Memory(), "M45PE16");
    // The pty has no RTS line: the refusal is logged and the sequence went on.
    EXPECT_TRUE(log.filter("Clear RTS").size() == 1 && log.filter("Set RTS").size() == 1);
}

TEST_F(ConnectOnPty, FailedDialIsDialledAgain) {
    script["ATZ"] = {"OK\r"};
    script["AT"] = {"OK\r"};
    script["AT+CREG?"] = {"+CREG: 0,1\rOK\r"};
    script["ATD123"] = {"NO CARRIER\r", "CONNECT 9600\r"};
    script["+v"] = {"REV 07.700.125\rOK\r"};
    script["+typepan"] = {"07\rOK\r"};
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), true, "123"));
    ASSERT_TRUE(ok.wait(5000));
    EXPECT_EQ(peer.lines.count("ATD123"), 2);
}

TEST_F(ConnectOnPty, BlankPhoneNumberDoesNothing) {
    EXPECT_FALSE(sequence.Connect(pty.slavePath(), true, "   "));
    EXPECT_FALSE(device.ComActive());
    EXPECT_TRUE(waitUntil([] { return false; }, 50) == false);
    EXPECT_TRUE(peer.raw.isEmpty());
}

TEST_F(ConnectOnPty, PortThatWillNotOpen) {
    QSignalSpy enabled(&sequence, &TConnectSequence::ConnectEnabled);
    EXPECT_FALSE(sequence.Connect("/dev/tarvik-no-such-port", false, ""));
    EXPECT_EQ(createErrors, std::vector<int>{1});
    ASSERT_FALSE(enabled.isEmpty());
    EXPECT_TRUE(enabled.last().at(0).toBool());
}

TEST_F(ConnectOnPty, CancelStopsEverythingAndReportsNothingLater) {
    setTimings([](TLinkTimings& t) { t.CableResendMs = 20; });
    QSignalSpy failed(&sequence, &TConnectSequence::Failed);
    QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), false, ""));
    ASSERT_TRUE(waitUntil([&] { return peer.lines.size() >= 4; }));
    sequence.Cancel();
    EXPECT_FALSE(device.ComActive());
    const qsizetype written = peer.lines.size();
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(peer.lines.size(), written);
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(ok.count(), 0);

    // Connect again after Cancel: a fresh sequence.
    panelAnswers();
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), false, ""));
    EXPECT_TRUE(ok.wait(3000));
}

TEST_F(ConnectOnPty, CancelDuringTheModemPauses) {
    setTimings([](TLinkTimings& t) { t.ModemSettleMs = 100; });
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), true, "123"));
    sequence.Cancel();
    waitUntil([] { return false; }, 250);
    EXPECT_TRUE(peer.lines.isEmpty()) << "nothing written after Cancel";
}

TEST_F(ConnectOnPty, LostLineEndsTheSequenceAtOnce) {
    // The panel takes the cable announcement, then the line goes away (an
    // adapter unplugged) while "+v" waits for its answer.
    setTimings([](TLinkTimings& t) { t.CableResendMs = 3000; });
    int windowLostCalls = 0;
    sequence.ResetDevice();
    device.OnLineLost = [&](TDevice*) { ++windowLostCalls; };
    sequence.SetDevice(&device);
    script["CABLE CONNECT"] = {"OK\r"};
    QSignalSpy failed(&sequence, &TConnectSequence::Failed);
    QSignalSpy enabled(&sequence, &TConnectSequence::ConnectEnabled);
    ASSERT_TRUE(sequence.Connect(pty.slavePath(), false, ""));
    ASSERT_TRUE(waitUntil([&] { return peer.lines.contains("+v"); }));
    QElapsedTimer t;
    t.start();
    pty.hangUp();
    ASSERT_TRUE(failed.wait(2000));
    EXPECT_LT(t.elapsed(), 1500) << "not after the resends";
    EXPECT_EQ(failed.at(0).at(0).toString(), LineLostMessage(pty.slavePath()));
    EXPECT_TRUE(failed.at(0).at(1).toBool()) << "error icon";
    EXPECT_TRUE(sequence.LineWasLost());
    EXPECT_EQ(sequence.Index(), -2);
    EXPECT_FALSE(device.ComActive());
    EXPECT_TRUE(enabled.last().at(0).toBool());
    EXPECT_EQ(windowLostCalls, 0) << "the sequence took the event";

    sequence.ResetDevice();
    ASSERT_TRUE(device.OnLineLost);
    device.OnLineLost(&device);
    EXPECT_EQ(windowLostCalls, 1) << "given back";
}

TEST_F(ConnectOnPty, DisconnectWritesForCableAndModem) {
    timings.ModemPauseMs = 10;
    timings.CablePauseMs = 10;
    TOwedAnswers owed;
    for (const bool modem : {false, true}) {
        peer.raw.clear();
        device.SetPort(pty.slavePath());
        device.SetComActive(true);
        TDisconnectSequence d(&device, modem, owed, timings);
        QSignalSpy done(&d, &TDisconnectSequence::Done);
        d.Start();
        ASSERT_TRUE(done.wait(2000));
        EXPECT_FALSE(device.ComActive());
        waitUntil([] { return false; }, 50);
        EXPECT_EQ(peer.raw, modem ? QByteArray("+++ATH\r\n") : QByteArray("CABLE DISCONNECT\r\n"));
    }
}

} // namespace
