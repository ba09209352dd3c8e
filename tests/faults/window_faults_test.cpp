// The window against an emulated panel that misbehaves: connecting, and
// reading and writing every page, under each of the panel's faults. Faults
// the protocol absorbs must give exactly what a clean run gives; the others
// end in an error that names what failed. Every run ends within a bound
// computed from the link's timings, keeps the event loop turning and leaves
// the user's files alone.
#include "fault_checks.h"
#include "main_window_fixture.h"
#include "pages/PageFrame.h"
#include "panel/LinkMessages.h"

#include <QStackedWidget>

#include <map>

namespace {

constexpr uint32_t kTimeOutMs = kFaultTimeOutMs;

emu::Faults Fault(std::function<void(emu::Faults&)> set) {
    emu::Faults f;
    set(f);
    return f;
}

// What a faulty run may wait: for every command the fault touches, all its
// attempts and the late bound; nothing for faults that only reshape bytes.
bool MakesWaits(const emu::Faults& f) {
    return f.dropEvery || f.answerOnRetry || f.missingOk || f.hangupAt;
}

std::map<QString, QByteArray> PanelValues(emu::EmulatedPanel& p) {
    std::map<QString, QByteArray> values;
    for (const QString& name : p.parameterNames())
        values[name] = p.parameterBytes(name);
    return values;
}

QStringList PageValues(TMainForm& w) {
    QStringList all;
    for (TPageFrame* page : w.Frames()) {
        QStringList lines;
        page->GetSettings(lines);
        all += lines;
    }
    return all;
}

// What the window showed of one run.
struct TOutcome {
    qint64 Ms = 0;
    QStringList Listed; // every name the error list showed during the run
    std::vector<std::pair<TBoxKind, QString>> Boxes;
    bool Connected = false;
};

class WindowFaults : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(panel);
    }

    TLinkTimings capped() const {
        TLinkTimings t = cappedTimings(kTimeOutMs);
        t.ModemExtraMs = 100; // the emulated network adds no delay
        return t;
    }

    std::unique_ptr<TMainForm> connectedWindow() { return MainWindow::connectedWindow(kTimeOutMs); }

    // Runs `op` with the event-loop probe and the error list watched.
    TOutcome run(TMainForm& w, const std::function<void()>& op) {
        TOutcome out;
        TEventLoopProbe probe;
        TErrorListForm* list = w.ErrorListForm();
        list->hide();
        const auto collect = [&] {
            if (list->isVisible()) {
                for (const QString& item : list->Items())
                    if (!out.Listed.contains(item))
                        out.Listed << item;
            }
        };
        const QMetaObject::Connection watch =
            QObject::connect(w.CommandExchange(), &TCommandExchange::LogLine, &w, [&] {
                probe.Check();
                collect();
            });
        boxes.clear();
        QElapsedTimer clock;
        clock.start();
        op();
        out.Ms = clock.elapsed();
        QObject::disconnect(watch);
        collect();
        // The defaults put into the pages before a run are edits not
        // written: a read asks about them first (answered "Не записывать");
        // that question is no outcome of the fault.
        for (const auto& box : boxes) {
            if (!box.second.startsWith(QStringLiteral("Изменения на страниц")))
                out.Boxes.push_back(box);
        }
        out.Connected = w.Connected();
        EXPECT_EQ(probe.Starved(), 0) << "the event loop stood still " << probe.MaxGapMs() << " ms";
        return out;
    }

    // The bound of a run under `f` that a clean run finished in `cleanMs`.
    qint64 bound(const emu::Faults& f, qint64 cleanMs) const {
        QStringList touched = panel->receivedLines();
        if (!f.onlyCommand.isEmpty())
            touched = touched.filter(QRegularExpression("^" + QRegularExpression::escape(f.onlyCommand)));
        const int waits = MakesWaits(f) ? int(touched.size()) : 0;
        qint64 panelMs = 3 * cleanMs + qint64(f.extraDelayMs) * panel->receivedLines().size();
        if (f.splitBytes)
            panelMs += qint64(emu::Delays::quick().splitGapMs + 1) * panel->sentBytes().size();
        return OperationBoundMs(capped(), waits, panelMs);
    }

    TSavedFiles saved;
};

// What Read all and Write all under a fault end in: with no names, exactly
// the values of a clean run and no error shown; else the error list names
// these parameters, and only them.
struct TPageCase {
    const char* Name;
    emu::Faults Faults;
    QStringList ReadNames;
    QStringList WriteNames;
};

const TPageCase kPageCases[] = {
    {"bytes split", Fault([](auto& f) { f.splitBytes = true; }), {}, {}},
    {"LF and > sprinkled", Fault([](auto& f) { f.sprinkle = true; }), {}, {}},
    {"garbage before answers", Fault([](auto& f) { f.garbage = true; }), {}, {}},
    {"answer only on retry",
     Fault([](auto& f) {
         f.answerOnRetry = true;
         f.onlyCommand = "+alphon";
     }),
     {},
     {}},
    {"every 7th command dropped", Fault([](auto& f) { f.dropEvery = 7; }), {}, {}},
    {"answers 30 ms late", Fault([](auto& f) { f.extraDelayMs = 30; }), {}, {}},
    {"hang-up inside the 5th answer", Fault([](auto& f) { f.hangupAt = 5; }), {}, {}},
    {"hang-up inside the 12th answer", Fault([](auto& f) { f.hangupAt = 12; }), {}, {}},
    {"object number without OK",
     Fault([](auto& f) {
         f.missingOk = true;
         f.onlyCommand = "+o";
     }),
     {"Номер объекта"},
     {}}, // a write's answer carries no value to lose its OK after
    {"dispatcher line silent",
     Fault([](auto& f) {
         f.dropEvery = 1;
         f.onlyCommand = "+disp";
     }),
     {"Параметры диспетчерской связи"},
     {"Параметры диспетчерской связи"}},
    {"a RING every 25 ms", Fault([](auto& f) { f.chatterMs = 25; }), {}, {}},
    {"a modem's line before every entry",
     Fault([](auto& f) {
         f.lineBefore = "+CREG: 0,1";
         f.onlyCommand = "+alphon";
     }),
     {},
     {}},
    {"a RING every 25 ms and the dispatcher line silent",
     Fault([](auto& f) {
         f.chatterMs = 25;
         f.dropEvery = 1;
         f.onlyCommand = "+disp";
     }),
     {"Параметры диспетчерской связи"},
     {"Параметры диспетчерской связи"}},
};

// Read all and Write all over every settings page under each fault.
TEST_F(WindowFaults, ReadAllAndWriteAllUnderEachFault) {
    auto w = connectedWindow();
    ASSERT_TRUE(w->Connected());
    // The clean runs: the tool's defaults written, then read back.
    answerYes = true;
    w->DefaultAllActionExecute();
    const std::map<QString, QByteArray> factory = PanelValues(*panel);
    panel->clearRecords();
    const TOutcome cleanWrite = run(*w, [&] { w->WriteAllActionExecute(); });
    const std::map<QString, QByteArray> written = PanelValues(*panel);
    ASSERT_NE(written, factory) << "the write changes the panel";
    panel->clearRecords();
    const TOutcome cleanRead = run(*w, [&] { w->ReadAllActionExecute(); });
    ASSERT_TRUE(cleanRead.Listed.isEmpty()) << cleanRead.Listed.join(", ").toStdString();
    const QStringList read = PageValues(*w);

    for (const TPageCase& c : kPageCases) {
        SCOPED_TRACE(c.Name);
        // Read all: the pages hold their defaults before it.
        w->DefaultAllActionExecute();
        panel->clearRecords();
        panel->setFaults(c.Faults);
        TOutcome out = run(*w, [&] { w->ReadAllActionExecute(); });
        panel->setFaults({});
        EXPECT_LE(out.Ms, bound(c.Faults, cleanRead.Ms)) << "Read all";
        EXPECT_TRUE(out.Connected);
        EXPECT_EQ(out.Listed, c.ReadNames) << "Read all";
        EXPECT_EQ(out.Boxes, cleanRead.Boxes) << "Read all";
        if (c.ReadNames.isEmpty()) {
            EXPECT_EQ(PageValues(*w), read) << "Read all";
        }

        // Write all from the clean values onto a panel back at its factory
        // values.
        w->DefaultAllActionExecute();
        panel->resetParameters();
        panel->clearRecords();
        panel->setFaults(c.Faults);
        out = run(*w, [&] { w->WriteAllActionExecute(); });
        panel->setFaults({});
        EXPECT_LE(out.Ms, bound(c.Faults, cleanWrite.Ms)) << "Write all";
        EXPECT_TRUE(out.Connected);
        EXPECT_EQ(out.Listed, c.WriteNames) << "Write all";
        EXPECT_EQ(out.Boxes, cleanWrite.Boxes) << "Write all";
        if (c.WriteNames.isEmpty()) {
            EXPECT_EQ(PanelValues(*panel), written) << "Write all";
        }
        EXPECT_EQ(saved.Changes(), "");
    }
}

struct TConnectCase {
    const char* Name;
    emu::Faults Faults;
    bool Modem = false;
    QString VersionLine; // the panel's version answer when not the usual one
    QString Box;         // the error box shown; none: connected to the panel as it is
};

const TConnectCase kConnectCases[] = {
    {"bytes split", Fault([](auto& f) { f.splitBytes = true; }), false, {}, {}},
    {"LF and > sprinkled", Fault([](auto& f) { f.sprinkle = true; }), false, {}, {}},
    {"garbage before answers", Fault([](auto& f) { f.garbage = true; }), false, {}, {}},
    {"answer only on retry", Fault([](auto& f) { f.answerOnRetry = true; }), false, {}, {}},
    {"every 2nd command dropped", Fault([](auto& f) { f.dropEvery = 2; }), false, {}, {}},
    {"answers 30 ms late", Fault([](auto& f) { f.extraDelayMs = 30; }), false, {}, {}},
    {"hang-up inside the greeting", Fault([](auto& f) { f.hangupAt = 1; }), false, {}, {}},
    {"hang-up inside the version", Fault([](auto& f) { f.hangupAt = 2; }), false, {}, {}},
    {"hang-up inside the memory type", Fault([](auto& f) { f.hangupAt = 3; }), false, {}, {}},
    {"answers without OK", Fault([](auto& f) { f.missingOk = true; }), false, {}, "Ошибка подключения"},
    {"silent panel", Fault([](auto& f) { f.dropEvery = 1; }), false, {}, "Ошибка подключения"},
    {"wrong version", {}, false, "REV 07.650.001", "Несовместимая оболочка"},
    {"modem: bytes split", Fault([](auto& f) { f.splitBytes = true; }), true, {}, {}},
    {"modem: garbage before answers", Fault([](auto& f) { f.garbage = true; }), true, {}, {}},
    {"modem: every 2nd command dropped", Fault([](auto& f) { f.dropEvery = 2; }), true, {}, {}},
    {"modem: silent panel behind the modem",
     Fault([](auto& f) { f.dropEvery = 1; }),
     true,
     {},
     "Ошибка подключения"},
};

// Connecting over the cable and through the modem under each fault: the
// panel's identity exactly as on a clean line, or an error box and no
// connection left behind.
TEST_F(WindowFaults, ConnectUnderEachFault) {
    for (const TConnectCase& c : kConnectCases) {
        SCOPED_TRACE(c.Name);
        panel->setMode(c.Modem ? emu::LinkMode::Modem : emu::LinkMode::Cable);
        panel->setVersionLine(c.VersionLine.isEmpty() ? QStringLiteral("REV 07.700.125") : c.VersionLine);
        panel->setFaults(c.Faults);
        panel->clearRecords();
        auto w = makeWindow();
        w->SetLinkTimings(capped());
        const TOutcome out = run(*w, [&] {
            connectWindow(*w, [this, &c](TConnectForm& d) {
                child<QComboBox>(&d, "PortCombo")->setCurrentText(panel->slavePath());
                if (c.Modem) {
                    child<QRadioButton>(&d, "GSMRadio")->setChecked(true);
                    child<QComboBox>(&d, "PhoneCombo")->setCurrentText("89001234567");
                }
                auto* button = child<QPushButton>(&d, "ConnectButton");
                button->click();
                // A failed attempt leaves the dialog open for another one:
                // the user then closes it.
                auto* closer = new QTimer(&d);
                QObject::connect(closer, &QTimer::timeout, &d, [&d, button] {
                    if (button->isEnabled() && d.isVisible())
                        d.reject();
                });
                closer->start(10);
            });
            ASSERT_TRUE(waitUntil([&] { return !w->Busy() || w->Connected(); }));
        });
        panel->setFaults({});
        // Every line the panel was sent may have waited its resend interval.
        const TLinkTimings t = capped();
        const int sends = int(panel->receivedLines().size());
        EXPECT_LE(out.Ms, sends * qint64(c.Modem ? t.ModemResendMs : t.CableResendMs) +
                              qint64(c.Faults.extraDelayMs + 50) * sends + kMachineAllowanceMs);
        if (c.Box.isEmpty()) {
            EXPECT_TRUE(out.Connected);
            EXPECT_TRUE(out.Boxes.empty()) << out.Boxes.front().second.toStdString();
            EXPECT_EQ(w->Version().Name, "REV 07.700.125");
            EXPECT_EQ(w->Version().Memory, "M45PE16");
            EXPECT_EQ(w->Modem(), c.Modem);
            disconnectWindow(*w);
        } else {
            EXPECT_FALSE(out.Connected);
            ASSERT_EQ(out.Boxes.size(), 1u);
            EXPECT_EQ(out.Boxes[0], std::make_pair(TBoxKind::Error, c.Box));
            ASSERT_TRUE(waitUntil([&] { return !w->Busy(); }));
            EXPECT_FALSE(w->Device()->ComActive()) << "the port is closed";
        }
        EXPECT_EQ(saved.Changes(), "");
    }
}

// The link lost in the middle of Read all: the emulator's side closed (an
// adapter pulled out), or the modem's call dropped half way through an
// answer ("NO CARRIER"). Either way the window says the link is lost,
// closes the port and ends the round at once, instead of failing every
// parameter that follows on a call that is gone.
TEST_F(WindowFaults, LineLostInTheMiddleOfReadAll) {
    for (const bool modem : {false, true}) {
        SCOPED_TRACE(modem ? "the modem call drops" : "the line goes away");
        panel = StartEmulatedPanel(QuickPanelSettings(modem ? emu::LinkMode::Modem : emu::LinkMode::Cable));
        ASSERT_TRUE(panel);
        auto w = makeWindow();
        w->SetLinkTimings(capped());
        connectWindow(*w, [this, modem](TConnectForm& d) {
            child<QComboBox>(&d, "PortCombo")->setCurrentText(panel->slavePath());
            if (modem) {
                child<QRadioButton>(&d, "GSMRadio")->setChecked(true);
                child<QComboBox>(&d, "PhoneCombo")->setCurrentText("89001234567");
            }
            child<QPushButton>(&d, "ConnectButton")->click();
        });
        ASSERT_TRUE(w->Connected());
        const QString port = panel->slavePath();
        panel->clearRecords();
        if (modem) {
            panel->setFaults(Fault([](auto& f) { f.hangupAt = 10; }));
        } else {
            QObject::connect(w->CommandExchange(), &TCommandExchange::LogLine, w.get(),
                             [this](const QString&) {
                                 if (panel->receivedLines().size() >= 10 && panel->isRunning())
                                     panel->stop();
                             });
        }
        const TOutcome out = run(*w, [&] { w->ReadAllActionExecute(); });
        // At most the command in flight waits out its attempts.
        EXPECT_LE(out.Ms, OperationBoundMs(capped(), 1, 0));
        EXPECT_EQ(saved.Changes(), "");
        // The message comes once the round has ended.
        ASSERT_TRUE(waitUntil([&] { return !w->Busy() && !boxes.empty(); }));
        EXPECT_FALSE(w->Connected());
        EXPECT_EQ(w->State(), TOperationState::Disconnected);
        EXPECT_FALSE(w->Device()->ComActive());
        EXPECT_EQ(boxes.back().first, TBoxKind::Error);
        EXPECT_EQ(boxes.back().second, LineLostMessage(port));
        if (modem) {
            EXPECT_LE(panel->receivedLines().size(), 11) << "nothing sent on the call once it dropped";
            panel->setFaults({});
            EXPECT_TRUE(waitUntil([&] { return !panel->callConnected(); }))
                << "the port closed ends the call";
        }
    }
}

// The pages' own quirks, one page at a time: the signal reading, whose
// answer on the cable ends at its second "OK" after the measurement; the
// System events page, which tells its failures in a message box.
enum class TPageRun { Signal, Read, Write };

struct TQuirkCase {
    const char* Name;
    int Page;
    TPageRun Run;
    emu::Faults Faults;
    QStringList Names; // listed by the error list; none: as a clean run
    QString Box = {};  // the error box instead
    // The resent command's answer may complete the broken one: then the
    // result is that of a clean run.
    bool MayRecover = false;
};

const TQuirkCase kQuirkCases[] = {
    {"signal, bytes split", ptCommon, TPageRun::Signal, Fault([](auto& f) { f.splitBytes = true; }), {}},
    {"signal, LF and > sprinkled", ptCommon, TPageRun::Signal, Fault([](auto& f) { f.sprinkle = true; }), {}},
    {"signal, garbage", ptCommon, TPageRun::Signal, Fault([](auto& f) { f.garbage = true; }), {}},
    {"signal, answer only on retry",
     ptCommon,
     TPageRun::Signal,
     Fault([](auto& f) { f.answerOnRetry = true; }),
     {}},
    {"signal, hang-up inside the answer",
     ptCommon,
     TPageRun::Signal,
     Fault([](auto& f) { f.hangupAt = 1; }),
     {}},
    {"signal without its final OK",
     ptCommon,
     TPageRun::Signal,
     Fault([](auto& f) { f.missingOk = true; }),
     {"Уровень сигнала GSM"},
     {},
     true},
    {"signal, silent panel",
     ptCommon,
     TPageRun::Signal,
     Fault([](auto& f) { f.dropEvery = 1; }),
     {"Уровень сигнала GSM"}},
    {"System events read, silent",
     ptSystemEvents,
     TPageRun::Read,
     Fault([](auto& f) { f.dropEvery = 1; }),
     {},
     "Произошла ошибка чтения."},
    {"System events write, silent",
     ptSystemEvents,
     TPageRun::Write,
     Fault([](auto& f) { f.dropEvery = 1; }),
     {},
     "Произошла ошибка записи."},
    {"System events read, hang-up",
     ptSystemEvents,
     TPageRun::Read,
     Fault([](auto& f) { f.hangupAt = 1; }),
     {}},
};

TEST_F(WindowFaults, PageQuirksUnderFaults) {
    panel->setSignal(23, 3);
    auto w = connectedWindow();
    ASSERT_TRUE(w->Connected());
    auto* list = child<QListWidget>(w.get(), "PageList");
    auto* signal = child<QLabel>(w.get(), "SignalValue");
    auto* errors = child<QLabel>(w.get(), "ErrorsValue");
    const auto runPage = [&](const TQuirkCase& c) {
        list->setCurrentRow(c.Page);
        return run(*w, [&] {
            switch (c.Run) {
            case TPageRun::Signal: child<QAbstractButton>(w.get(), "SpeedButton1")->click(); break;
            case TPageRun::Read: w->ReadActionExecute(); break;
            case TPageRun::Write: w->WriteActionExecute(); break;
            }
        });
    };
    const auto pageValues = [&](int page) {
        QStringList lines;
        w->Frames()[size_t(page)]->GetSettings(lines);
        return lines;
    };
    for (const TQuirkCase& c : kQuirkCases) {
        SCOPED_TRACE(c.Name);
        // The clean run first, from the same start.
        signal->setText("0");
        errors->setText("0");
        panel->resetParameters();
        panel->clearRecords();
        const TOutcome clean = runPage(c);
        ASSERT_TRUE(clean.Listed.isEmpty());
        const QStringList cleanValues = pageValues(c.Page);
        const auto cleanPanel = PanelValues(*panel);
        const QString cleanSignal = signal->text() + "/" + errors->text();
        if (c.Run == TPageRun::Signal) {
            ASSERT_NE(cleanSignal, "0/0");
        }

        signal->setText("0");
        errors->setText("0");
        panel->resetParameters();
        panel->clearRecords();
        panel->setFaults(c.Faults);
        const TOutcome out = runPage(c);
        panel->setFaults({});
        // The answers still owed to the faulty run are written off once past
        // their deadline (their time-out and the late bound); the next case
        // starts after it.
        QTest::qWait(int(capped().TimeOutCapMs + capped().LateMs) + 50);
        EXPECT_LE(out.Ms, bound(c.Faults, clean.Ms));
        EXPECT_TRUE(out.Connected);
        const bool recovered = c.MayRecover && out.Listed.isEmpty();
        EXPECT_EQ(out.Listed, recovered ? QStringList() : c.Names);
        if (!c.Box.isEmpty()) {
            ASSERT_FALSE(out.Boxes.empty());
            EXPECT_EQ(out.Boxes.back(), std::make_pair(TBoxKind::Error, c.Box));
        } else if (c.Names.isEmpty() || recovered) {
            EXPECT_EQ(out.Boxes, clean.Boxes);
            EXPECT_EQ(pageValues(c.Page), cleanValues);
            EXPECT_EQ(PanelValues(*panel), cleanPanel);
            EXPECT_EQ(signal->text() + "/" + errors->text(), cleanSignal);
        }
        EXPECT_EQ(saved.Changes(), "");
    }
}

} // namespace
