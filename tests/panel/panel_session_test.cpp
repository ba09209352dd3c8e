// The panel session without a window: its state rules as a table, and the
// session against the emulated panel over a pty: connecting to each kind of
// panel, the operations and what they come to, the pages' exchange held to
// operations, the journal erase told to whoever keeps the journal, the line
// lost and the close in the middle of an operation.
#include "emulated_panel_fixture.h"
#include "panel/CommandExchange.h"
#include "panel/PanelSession.h"
#include "panel/StateRules.h"
#include "serial/Device.h"
#include "short_link_timings.h"
#include "test_wait.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

// Readable values in failed expectations.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

void PrintTo(TOperationState s, std::ostream* os) {
    *os << StateName(s).toStdString();
}

namespace {

using S = TOperationState;
using A = TStateAction;

// ---- the rules, without a panel --------------------------------------------

// What a state allows, as the installer sees it.
struct RuleCase {
    S State;
    bool Idle;
    TStateActions Enables;
    std::vector<S> Begins;
    bool WakeUp;
};

TEST(StateRules, EachStateEnablesAndLetsBeginWhatItShould) {
    const std::vector<S> panelOps{S::Reading, S::Writing,        S::Defaulting,
                                  S::Erasing, S::ReadingJournal, S::UpdatingFirmware};
    const std::vector<S> fileOps{S::LoadingSettings, S::SavingSettings};
    std::vector<S> allOps = panelOps;
    allOps.insert(allOps.end(), fileOps.begin(), fileOps.end());
    const RuleCase cases[] = {
        {S::Disconnected, true, A::Connect | A::SettingsFile | A::PageInput, fileOps, false},
        {S::Connecting, false, {}, {}, false},
        {S::Connected, true,
         A::Disconnect | A::PageOperations | A::SettingsFile | A::FirmwareUpdate | A::PageInput, allOps,
         true},
        {S::BootLoader, true, A::Disconnect | A::FirmwareUpdate, {S::UpdatingFirmware}, true},
        {S::Incompatible, true, {}, {S::UpdatingFirmware}, false},
        // A panel operation's own steps nest (writing all pages, one page's
        // erase); a file operation takes nothing beside it.
        {S::Reading, false, {}, panelOps, true},
        {S::Writing, false, {}, panelOps, true},
        {S::Defaulting, false, {}, panelOps, true},
        {S::Erasing, false, {}, panelOps, true},
        {S::ReadingJournal, false, {}, panelOps, true},
        {S::UpdatingFirmware, false, {}, {}, false},
        {S::LoadingSettings, false, {}, {}, true},
        {S::SavingSettings, false, {}, {}, true},
        {S::Disconnecting, false, {}, {}, false},
        {S::Closing, false, {}, {}, false},
    };
    ASSERT_EQ(std::size(cases), size_t(kOperationStateCount)) << "every state has its case";
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(StateName(c.State).toStdString());
        const TStateRule& rule = StateRule(c.State);
        EXPECT_EQ(rule.State, c.State);
        EXPECT_EQ(rule.Idle, c.Idle);
        EXPECT_EQ(rule.Enables, c.Enables);
        EXPECT_EQ(rule.WakeUp, c.WakeUp);
        for (int i = 0; i < kOperationStateCount; ++i) {
            const S op = S(i);
            const bool expected = std::find(c.Begins.begin(), c.Begins.end(), op) != c.Begins.end();
            EXPECT_EQ(MayBegin(c.State, op), expected) << "begin " << StateName(op).toStdString();
        }
    }
}

// Why a port did not open, as the installer reads it.
TEST(StateRules, TheSessionNeedsNoWidgetsAndNoGui) {
    // This program links the session and nothing of the window: no Qt
    // library for the screen may come with it.
    TPanelSession session;
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_TRUE(mapped.contains("libQt6Core"));
    EXPECT_FALSE(mapped.contains("libQt6Gui"));
    EXPECT_FALSE(mapped.contains("libQt6Widgets"));
}

// ---- the session on the emulated panel ----------------------------------------

class PanelSession : public ::testing::Test {
protected:
    void SetUp() override {
        panel = StartEmulatedPanel(QuickPanelSettings());
        QObject::connect(&session, &TPanelSession::StateChanged, [this](S s) { states.push_back(s); });
    }

    // One attempt on the emulated panel; the panel the session reports, if any.
    std::optional<TPanelInfo> connectPanel() { return connectPanel(session); }
    std::optional<TPanelInfo> connectPanel(TPanelSession& session) {
        std::optional<TPanelInfo> connected;
        QObject context;
        QObject::connect(&session, &TPanelSession::Connected, &context,
                         [&](const TPanelInfo& info) { connected = info; });
        QSignalSpy failed(&session, &TPanelSession::ConnectFailed);
        EXPECT_TRUE(session.BeginConnecting());
        EXPECT_EQ(session.Connect({panel->slavePath(), false, {}}), TConnectStart::Started);
        waitUntil([&] { return connected || failed.count() > 0; }, 5000);
        if (!connected)
            session.EndConnecting();
        return connected;
    }

    void disconnectPanel() {
        QSignalSpy done(&session, &TPanelSession::Disconnected);
        ASSERT_TRUE(session.Disconnect());
        ASSERT_TRUE(done.wait(3000));
    }

    // A request through the pages' exchange.
    bool ask(const QString& command, uint32_t timeOut = 2500) {
        QStringList lines;
        return session.Exchange().DeviceCommandLst(command, lines, timeOut);
    }

    ShortLinkTimings timings;
    TPanelSession session{timings};
    std::unique_ptr<emu::EmulatedPanel> panel;
    std::vector<S> states;
};

TEST_F(PanelSession, ConnectsRunsOperationsWithTheirResultsAndDisconnects) {
    const std::optional<TPanelInfo> info = connectPanel();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Port, panel->slavePath());
    EXPECT_FALSE(info->Modem);
    EXPECT_EQ(info->Version.Name, "REV 07.700.125");
    EXPECT_EQ(info->Version.Release, 125);
    EXPECT_EQ(info->Version.Memory, "M45PE16");
    EXPECT_EQ(session.State(), S::Connected);
    EXPECT_EQ(states, (std::vector<S>{S::Connecting, S::Connected}));
    EXPECT_TRUE(session.HasPanel());
    EXPECT_TRUE(session.Device().WakeUp());

    // Outside an operation the pages' exchange refuses without a word to
    // the panel.
    panel->clearRecords();
    EXPECT_FALSE(ask("+o"));
    EXPECT_TRUE(panel->receivedLines().isEmpty());

    // An operation comes to what its steps reported.
    ASSERT_TRUE(session.BeginOperation(S::Reading));
    EXPECT_TRUE(ask("+o"));
    TOperationResult result = session.EndOperation();
    EXPECT_EQ(result.Status, TOperationResult::Done);
    EXPECT_EQ(session.State(), S::Connected);

    // Writing all pages, one of which erases the journal first: the failures
    // of the nested step are the whole operation's too.
    ASSERT_TRUE(session.BeginOperation(S::Writing));
    session.ReportFailure({"Номер объекта"});
    ASSERT_TRUE(session.BeginOperation(S::Erasing));
    EXPECT_FALSE(session.BeginOperation(S::SavingSettings)) << "no file beside a panel operation";
    session.ReportFailure({"Очистка истории"});
    result = session.EndOperation();
    EXPECT_EQ(result.Status, TOperationResult::Failed);
    EXPECT_EQ(result.Failures, QStringList{"Очистка истории"});
    EXPECT_EQ(session.State(), S::Writing);
    result = session.EndOperation();
    EXPECT_EQ(result.Status, TOperationResult::Failed);
    EXPECT_EQ(result.Failures, (QStringList{"Номер объекта", "Очистка истории"}));
    EXPECT_EQ(session.State(), S::Connected);
    EXPECT_EQ(session.EndOperation().Status, TOperationResult::Refused) << "one too many changes nothing";
    EXPECT_EQ(session.State(), S::Connected);

    panel->clearRecords();
    disconnectPanel();
    EXPECT_EQ(panel->receivedBytes(), QByteArray("CABLE DISCONNECT\r\n"));
    EXPECT_EQ(session.State(), S::Disconnected);
    EXPECT_FALSE(session.Device().ComActive());
    EXPECT_FALSE(session.Device().WakeUp());
    EXPECT_EQ(session.Panel().Version.Release, 125) << "the last panel's release stays for the pages";

    // A settings file with no panel: an operation, but no panel in it.
    ASSERT_TRUE(session.BeginOperation(S::LoadingSettings));
    EXPECT_FALSE(session.HasPanel());
    session.SetWakeUp(true);
    EXPECT_FALSE(session.Device().WakeUp());
    session.EndOperation();
    EXPECT_EQ(session.State(), S::Disconnected);
}

TEST_F(PanelSession, EachKindOfPanelGetsItsState) {
    struct KindCase {
        const char* Name;
        std::function<void()> Prepare; // leaves the emulated panel as that kind
        S State;
        bool WakeUp;
    };
    const KindCase cases[] = {
        {"firmware 7.700", [] {}, S::Connected, true},
        {"another firmware", [this] { panel->setVersionLine("REV 07.650.001"); }, S::Incompatible, false},
        {"in its boot loader",
         [this] {
             // An update that went as far as the boot loader and no further.
             ASSERT_TRUE(connectPanel());
             QString answer;
             session.CommandExchange().DeviceCommand("+BL", answer, 500);
             disconnectPanel();
             ASSERT_TRUE(panel->inBootLoader());
         },
         S::BootLoader, true},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Prepare();
        ASSERT_TRUE(connectPanel());
        EXPECT_EQ(session.State(), c.State);
        EXPECT_TRUE(session.HasPanel());
        EXPECT_EQ(session.Device().WakeUp(), c.WakeUp);
        ASSERT_EQ(session.BeginOperation(S::Reading), c.State == S::Connected) << "pages only of 7.700";
        if (c.State == S::Connected)
            session.EndOperation();
        ASSERT_TRUE(session.BeginOperation(S::UpdatingFirmware)) << "its firmware may be updated";
        EXPECT_FALSE(session.Device().WakeUp()) << "the upload alone talks to the panel";
        session.EndOperation();
        panel->clearRecords();
        disconnectPanel();
        EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));
    }
}

TEST_F(PanelSession, NothingBeginsFromAnEventHandledWhileAnOperationWaits) {
    ASSERT_TRUE(connectPanel());
    emu::Faults f;
    f.extraDelayMs = 200;
    panel->setFaults(f);
    ASSERT_TRUE(session.BeginOperation(S::Reading));
    bool checked = false;
    QTimer::singleShot(60, [&] {
        checked = true;
        EXPECT_TRUE(session.CommandExchange().Waiting());
        EXPECT_FALSE(session.BeginOperation(S::Writing));
        EXPECT_FALSE(session.BeginOperation(S::Erasing));
        EXPECT_FALSE(session.Disconnect());
        EXPECT_EQ(session.State(), S::Reading);
    });
    EXPECT_TRUE(ask("+o"));
    EXPECT_TRUE(checked);
    // Its own next step may.
    ASSERT_TRUE(session.BeginOperation(S::Erasing));
    session.EndOperation();
    EXPECT_EQ(session.EndOperation().Status, TOperationResult::Done);
}

TEST_F(PanelSession, TheLineLostOrTheCloseEndTheOperationRunning) {
    struct EndCase {
        const char* Name;
        std::function<void(TPanelSession&, emu::EmulatedPanel&)> During;
        TOperationResult::TStatus Status;
        S StateAfter;
        int Lost; // Lost signals
    };
    const EndCase cases[] = {
        {"adapter unplugged", [](TPanelSession&, emu::EmulatedPanel& p) { p.stop(); }, TOperationResult::Lost,
         S::Disconnected, 1},
        {"window closed", [](TPanelSession& s, emu::EmulatedPanel&) { s.Close(); },
         TOperationResult::Cancelled, S::Closing, 0},
        {"busy indicator's Cancel", [](TPanelSession& s, emu::EmulatedPanel&) { s.CancelWait(); },
         TOperationResult::Cancelled, S::Connected, 0},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.Name);
        panel = StartEmulatedPanel(QuickPanelSettings());
        TPanelSession s(timings);
        ASSERT_TRUE(connectPanel(s));
        QSignalSpy lost(&s, &TPanelSession::Lost);
        QSignalSpy closeReady(&s, &TPanelSession::CloseReady);
        emu::Faults f;
        f.extraDelayMs = 500;
        panel->setFaults(f);
        ASSERT_TRUE(s.BeginOperation(S::Reading));
        QTimer::singleShot(50, [&] { c.During(s, *panel); });
        QElapsedTimer t;
        t.start();
        QStringList lines;
        EXPECT_FALSE(s.Exchange().DeviceCommandLst("+o", lines, 5000));
        EXPECT_LT(t.elapsed(), 400) << "the wait ended at once";
        if (c.Status == TOperationResult::Lost) {
            t.restart();
            EXPECT_FALSE(s.Exchange().DeviceCommandLst("+disp", lines, 5000));
            EXPECT_LT(t.elapsed(), 100) << "nothing more reaches a panel that is gone";
        }
        const TOperationResult result = s.EndOperation();
        EXPECT_EQ(result.Status, c.Status);
        EXPECT_EQ(s.State(), c.StateAfter) << "the operation's end does not bring the connected state back";
        ASSERT_EQ(lost.count(), c.Lost);
        if (c.Lost) {
            EXPECT_TRUE(lost.first().first().toString().contains(panel->slavePath()));
        }
        if (c.StateAfter == S::Closing) {
            // The close goes on once the operation has unwound: the panel
            // is disconnected properly, then the window may close.
            ASSERT_TRUE(closeReady.wait(3000));
            EXPECT_TRUE(s.ReadyToClose());
            EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));
        }
        if (c.StateAfter == S::Disconnected) {
            EXPECT_FALSE(s.Device().ComActive());
        }
    }
}

TEST_F(PanelSession, AJournalEraseIsToldOnlyWhenThePanelTookIt) {
    ASSERT_TRUE(connectPanel());
    QSignalSpy erased(&session, &TPanelSession::JournalErased);
    ASSERT_TRUE(session.BeginOperation(S::Erasing));
    EXPECT_TRUE(ask("+erase"));
    EXPECT_EQ(erased.count(), 1);
    EXPECT_EQ(panel->journalPointer(), 0u);

    // Unanswered: the journal may or may not be gone; nothing is told.
    session.SetLinkTimings([this] {
        TLinkTimings t = timings;
        t.TimeOutCapMs = 100;
        t.LateMs = 200;
        return t;
    }());
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+erase";
    panel->setFaults(f);
    EXPECT_FALSE(ask("+erase"));
    // Another command answered is no erase.
    panel->setFaults({});
    EXPECT_TRUE(ask("+o"));
    EXPECT_EQ(erased.count(), 1);
    session.EndOperation();
}

TEST_F(PanelSession, ALateAnswerWithinTheLeastAnswerTimeIsNotTheNextCommands) {
    // The firmware upload gives every write of a slow boot loader at least
    // its answer time, also through the pages' exchange: an answer that
    // comes after the time-out and the late bound but within that time is
    // still the answer of the command it was written for.
    TLinkTimings quick = timings;
    quick.LateMs = 50;
    quick.Attempts = 1;
    session.SetLinkTimings(quick);
    ASSERT_TRUE(connectPanel());
    ASSERT_TRUE(session.BeginOperation(S::UpdatingFirmware));
    session.Exchange().SetLeastAnswerTime(600);
    emu::Faults f;
    f.extraDelayMs = 300;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    QString value;
    ASSERT_FALSE(session.Exchange().DeviceCommand("+o", value, 40)) << "its answer comes after the time-out";
    ASSERT_TRUE(session.Exchange().DeviceCommand("+disp", value, 2500));
    EXPECT_EQ(value, panel->parameter("+disp")) << "not a late answer to \"+o\"";
    session.Exchange().SetLeastAnswerTime(0);
    session.EndOperation();
}

} // namespace
