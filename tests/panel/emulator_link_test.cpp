// The exchange, the connection sequence and the disconnect against the
// emulated panel over a real pty: both links end to end, and the panel's
// faults that the exchange must ride out.
#include "emulated_panel_fixture.h"
#include "panel/CommandExchange.h"
#include "panel/ConnectSequence.h"
#include "panel/DeviceVersion.h"
#include "panel/DisconnectSequence.h"
#include "serial/Device.h"
#include "short_link_timings.h"
#include "test_wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class PanelLink : public ::testing::Test {
protected:
    void SetUp() override {
        exchange.SetTimings(timings);
        exchange.Attach();
    }

    void start(emu::LinkMode mode = emu::LinkMode::Cable) {
        panel = StartEmulatedPanel(QuickPanelSettings(mode));
    }

    // Runs the connection sequence; true when it succeeded.
    bool connectPanel(const QString& phone = {}) {
        TConnectSequence sequence;
        sequence.SetLink(&exchange.OwedAnswers(), timings);
        sequence.SetDevice(&device);
        QSignalSpy ok(&sequence, &TConnectSequence::Succeeded);
        QSignalSpy failed(&sequence, &TConnectSequence::Failed);
        if (!sequence.Connect(panel->slavePath(), !phone.isEmpty(), phone))
            return false;
        waitUntil([&] { return ok.count() + failed.count() > 0; }, 10000);
        sequence.ResetDevice();
        version = {sequence.Ver(), sequence.Major(), sequence.Minor(), sequence.Release(), sequence.Memory()};
        exchange.SetModem(sequence.Modem());
        return ok.count() == 1;
    }

    void disconnectPanel() {
        TDisconnectSequence d(&device, exchange.Modem(), exchange.OwedAnswers(), timings);
        QSignalSpy done(&d, &TDisconnectSequence::Done);
        d.Start();
        ASSERT_TRUE(done.wait(2000));
    }

    ShortLinkTimings timings;
    std::unique_ptr<emu::EmulatedPanel> panel;
    TDevice device;
    TCommandExchange exchange{&device};
    TDeviceVersion version;
};

TEST_F(PanelLink, CableEndToEnd) {
    start();
    ASSERT_TRUE(connectPanel());
    EXPECT_EQ(version.Name, "REV 07.700.125");
    EXPECT_TRUE(IsCompatible(version));
    EXPECT_EQ(version.Memory, "M45PE16");
    EXPECT_TRUE(panel->cableSessionOpen());

    QString value;
    ASSERT_TRUE(exchange.DeviceCommand("+o", value, 2500));
    EXPECT_EQ(value, panel->parameter("+o"));
    QStringList errors;
    exchange.SendParamToDevice("+o1234", errors, "Номер объекта", "OK", 2500);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(panel->parameter("+o"), "1234");

    disconnectPanel();
    EXPECT_FALSE(device.ComActive());
    EXPECT_TRUE(waitUntil([&] { return !panel->cableSessionOpen(); }));
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));
}

TEST_F(PanelLink, SignalReadingNeedsTheSecondOkOnTheCableOnly) {
    for (const auto mode : {emu::LinkMode::Cable, emu::LinkMode::Modem}) {
        start(mode);
        panel->setSignal(31, 0);
        ASSERT_TRUE(connectPanel(mode == emu::LinkMode::Modem ? "5551234" : ""));
        exchange.SetUparam(true);
        QString value;
        EXPECT_TRUE(exchange.DeviceCommand("+U", value, 10000)) << emu::linkModeName(mode).toStdString();
        exchange.SetUparam(false);
        EXPECT_EQ(value, "1F00") << emu::linkModeName(mode).toStdString();
        EXPECT_EQ(panel->commandCount("+U"), 1);
        disconnectPanel();
        panel.reset();
    }
}

TEST_F(PanelLink, ModemWaitsForRegistrationAndRedialsAfterAFailedDial) {
    start(emu::LinkMode::Modem);
    panel->setUnregisteredAnswers(2);
    panel->setDialFailure(emu::DialOutcome::NoCarrier, 1);
    ASSERT_TRUE(connectPanel("5551234"));
    EXPECT_EQ(panel->commandCount("AT+CREG?"), 3);
    EXPECT_EQ(panel->modemDials(), 2);
    EXPECT_TRUE(panel->callConnected());
    EXPECT_TRUE(IsCompatible(version));

    QString value;
    ASSERT_TRUE(exchange.DeviceCommand("+disp", value, 2500));
    disconnectPanel();
    EXPECT_TRUE(waitUntil([&] { return !panel->callConnected(); }));
    EXPECT_TRUE(panel->receivedBytes().endsWith("+++ATH\r\n"));
}

TEST_F(PanelLink, SilentPanelGivesUp) {
    timings.CableResendMs = 30;
    start();
    emu::Faults f;
    f.dropEvery = 1;
    panel->setFaults(f);
    QStringList written;
    QObject::connect(&exchange, &TCommandExchange::LogLine, [&](const QString& l) {
        if (l.startsWith("<< "))
            written << l.mid(3);
    });
    EXPECT_FALSE(connectPanel());
    // Counted on the tool's side: on a loaded machine the panel may not
    // have taken the last sendings before the port closed.
    EXPECT_EQ(written, QStringList(5, "CABLE CONNECT"));
    EXPECT_GE(panel->commandCount("CABLE CONNECT"), 1);
    EXPECT_FALSE(device.ComActive());
}

TEST_F(PanelLink, OtherFirmwareIsIdentifiedAndNotCompatible) {
    start();
    panel->setVersionLine("REV 07.600.101");
    ASSERT_TRUE(connectPanel());
    EXPECT_EQ(version.Minor, 600);
    EXPECT_FALSE(IsCompatible(version));
}

TEST_F(PanelLink, ExchangeRidesOutThePanelsFaults) {
    start();
    ASSERT_TRUE(connectPanel());
    struct Case {
        const char* what;
        emu::Faults faults;
        bool complete;
    };
    std::vector<Case> cases;
    {
        emu::Faults f;
        f.splitBytes = true;
        cases.push_back({"one byte at a time", f, true});
    }
    {
        emu::Faults f;
        f.sprinkle = true;
        cases.push_back({"LF and > sprinkled", f, true});
    }
    {
        emu::Faults f;
        f.garbage = true;
        cases.push_back({"garbage before the answer", f, true});
    }
    {
        emu::Faults f;
        f.answerOnRetry = true;
        cases.push_back({"answered on the retry", f, true});
    }
    {
        emu::Faults f;
        f.missingOk = true;
        cases.push_back({"value without OK", f, false});
    }
    for (const Case& c : cases) {
        panel->setFaults(c.faults);
        panel->clearRecords();
        QString value = "none";
        const bool ok = exchange.DeviceCommand("+disp", value, c.complete ? 1000 : 100);
        EXPECT_EQ(ok, c.complete) << c.what;
        if (c.complete) {
            EXPECT_EQ(value, panel->parameter("+disp")) << c.what;
        }
    }
}

TEST_F(PanelLink, CyrillicTextReachesThePanelInWindows1251) {
    start();
    ASSERT_TRUE(connectPanel());
    QStringList errors;
    const QString text = QString::fromUtf8("Тревога: вскрытие");
    exchange.SendParamToDevice("+smstext0" + text, errors, "СМС 1", "OK", 2500);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(panel->parameter("+smstext0"), text);
    EXPECT_EQ(panel->parameterBytes("+smstext0"),
              QByteArray("\xD2\xF0\xE5\xE2\xEE\xE3\xE0: \xE2\xF1\xEA\xF0\xFB\xF2\xE8\xE5"));
    QString back;
    ASSERT_TRUE(exchange.DeviceCommand("+smstext0", back, 2500));
    EXPECT_EQ(back, text);
}

} // namespace
