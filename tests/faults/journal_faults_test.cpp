// The journal's dialogue with a misbehaving panel, through the journal
// reader as the history page drives it: the newest page, paging back, the
// whole journal in chunks, and the erase. Faults the protocol absorbs give
// exactly the records of a clean run; the others end in errors that name
// what failed, and the store keeps what it had.
#include "fault_checks.h"
#include "history/WakeUpSwitch.h"
#include "journal_link.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>

namespace {

constexpr uint32_t kTimeOutMs = 60;

emu::Faults Fault(std::function<void(emu::Faults&)> set) {
    emu::Faults f;
    set(f);
    return f;
}

std::vector<THistoryRec> Records(const THistory& h) {
    std::vector<THistoryRec> out;
    for (int row = 0; row < h.Count(); ++row)
        out.push_back(h.RecordAt(row));
    return out;
}

// What the reader did in one run of the three reads.
struct TJournalRun {
    QStringList PageErrors, BackErrors, AllErrors;
    std::vector<THistoryRec> AfterPage, AfterBack, AfterAll;
    qint64 Ms = 0;
    int Starved = 0;
};

// Turns the device's wake-up off and on as the history page does.
class TDeviceWakeUp : public IWakeUpSwitch {
public:
    explicit TDeviceWakeUp(TDevice& device) : fDevice(device) {}
    void SetWakeUp(bool on) override { fDevice.SetWakeUp(on); }

private:
    TDevice& fDevice;
};

class JournalFaults : public JournalLink {
protected:
    TJournalRun runReads() {
        TJournalRun run;
        THistory store;
        TJournalReader journal(exchange, store);
        TEventLoopProbe probe;
        const QMetaObject::Connection watch =
            QObject::connect(&exchange, &TCommandExchange::LogLine, [&] { probe.Check(); });
        QElapsedTimer clock;
        clock.start();
        run.PageErrors = journal.ReadPage().Errors;
        run.AfterPage = Records(store);
        run.BackErrors = journal.Back().Errors;
        run.AfterBack = Records(store);
        QSignalSpy finished(&journal, &TJournalReader::ReadFinished);
        EXPECT_TRUE(journal.StartReadAll());
        EXPECT_TRUE(waitUntil([&] { return finished.count() == 1; }, 20000));
        run.AllErrors = finished.value(0).value(0).value<TJournalResult>().Errors;
        run.AfterAll = Records(store);
        run.Ms = clock.elapsed();
        QObject::disconnect(watch);
        run.Starved = probe.Starved();
        return run;
    }
    TSavedFiles saved;
};

bool MakesWaits(const emu::Faults& f) {
    return f.dropEvery || f.answerOnRetry || f.missingOk || f.hangupAt;
}

const QString kNoise = JournalError::RejectedLines(1);

struct TReadCase {
    const char* Name;
    emu::Faults Faults;
    // The errors of the newest page and of the whole journal (paging back
    // from the page shows the same as its read); none: exactly the records
    // of a clean run.
    QStringList Errors;
};

const TReadCase kReadCases[] = {
    {"bytes split", Fault([](auto& f) { f.splitBytes = true; })},
    {"LF and > sprinkled", Fault([](auto& f) { f.sprinkle = true; })},
    // The noise line is counted and named, the records are those of a
    // clean run.
    {"garbage before answers", Fault([](auto& f) { f.garbage = true; }), {kNoise}},
    {"record reads answered only on retry", Fault([](auto& f) {
         f.answerOnRetry = true;
         f.onlyCommand = "+read";
     })},
    {"every 3rd command dropped", Fault([](auto& f) { f.dropEvery = 3; })},
    {"answers 30 ms late", Fault([](auto& f) { f.extraDelayMs = 30; })},
    {"hang-up inside the newest page", Fault([](auto& f) {
         f.hangupAt = 1;
         f.onlyCommand = "+read";
     })},
    {"hang-up inside the whole journal", Fault([](auto& f) {
         f.hangupAt = 3;
         f.onlyCommand = "+read";
     })},
    {"records without OK",
     Fault([](auto& f) {
         f.missingOk = true;
         f.onlyCommand = "+read";
     }),
     {"Записи истории"}},
    {"record reads silent",
     Fault([](auto& f) {
         f.dropEvery = 1;
         f.onlyCommand = "+read";
     }),
     {"Записи истории"}},
    {"pointer silent",
     Fault([](auto& f) {
         f.dropEvery = 1;
         f.onlyCommand = "+point";
     }),
     {"Значение указателя истории"}},
};

TEST_F(JournalFaults, NewestPagePagingAndTheWholeJournal) {
    emu::PanelSettings settings = Journal(100);
    // Split answers go out byte by byte with no gap: a page of records
    // then arrives well within the short time-outs.
    settings.delays.splitGapMs = 0;
    connectTo(settings);
    capTimeOuts(kTimeOutMs);
    const TJournalRun clean = runReads();
    ASSERT_TRUE(clean.PageErrors.isEmpty() && clean.AllErrors.isEmpty());
    ASSERT_EQ(clean.AfterPage.size(), 20u);
    ASSERT_EQ(clean.AfterBack.size(), 40u);
    ASSERT_EQ(clean.AfterAll.size(), 100u);

    for (const TReadCase& c : kReadCases) {
        SCOPED_TRACE(c.Name);
        panel->clearRecords();
        panel->setFaults(c.Faults);
        const TJournalRun r = runReads();
        panel->setFaults({});

        QStringList touched = panel->receivedLines();
        if (!c.Faults.onlyCommand.isEmpty())
            touched =
                touched.filter(QRegularExpression("^" + QRegularExpression::escape(c.Faults.onlyCommand)));
        const qint64 panelMs = 3 * clean.Ms + qint64(c.Faults.extraDelayMs) * panel->receivedLines().size();
        EXPECT_LE(r.Ms,
                  OperationBoundMs(link.timings, MakesWaits(c.Faults) ? int(touched.size()) : 0, panelMs));
        EXPECT_EQ(r.Starved, 0);
        EXPECT_EQ(r.PageErrors, c.Errors);
        EXPECT_EQ(r.AllErrors, c.Errors);
        if (c.Errors.isEmpty() || c.Errors == QStringList{kNoise}) {
            EXPECT_EQ(r.AfterPage, clean.AfterPage);
            EXPECT_EQ(r.AfterBack, clean.AfterBack);
            EXPECT_EQ(r.AfterAll, clean.AfterAll);
        } else {
            // Whatever was stored is what the panel holds.
            for (const THistoryRec& rec : r.AfterAll)
                EXPECT_EQ(rec, clean.AfterAll.at(rec.index)) << rec.index;
        }
        EXPECT_EQ(saved.Changes(), "");
        // What is still owed to the faulty run is written off once the line
        // has been quiet for the bound.
        QTest::qWait(int(link.timings.QuietMs) + 50);
    }
}

// The erase under faults: done and the store emptied, or named and the
// store as it was; the wake-up is back on either way.
TEST_F(JournalFaults, Erase) {
    struct TEraseCase {
        const char* Name;
        emu::Faults Faults;
        bool Erased;
    };
    const auto onErase = [](std::function<void(emu::Faults&)> set) {
        return Fault([set](emu::Faults& f) {
            set(f);
            f.onlyCommand = "+erase";
        });
    };
    const TEraseCase cases[] = {
        {"bytes split", onErase([](auto& f) { f.splitBytes = true; }), true},
        {"LF and > sprinkled", onErase([](auto& f) { f.sprinkle = true; }), true},
        {"garbage before the answer", onErase([](auto& f) { f.garbage = true; }), true},
        {"answered only on retry", onErase([](auto& f) { f.answerOnRetry = true; }), true},
        {"hang-up inside the answer", onErase([](auto& f) { f.hangupAt = 1; }), true},
        {"silent", onErase([](auto& f) { f.dropEvery = 1; }), false},
    };
    connectTo(Journal(100));
    capTimeOuts(kTimeOutMs);
    device.SetWakeUp(true);
    for (const TEraseCase& c : cases) {
        SCOPED_TRACE(c.Name);
        panel->regenerateJournal(100, 0, 11);
        THistory store;
        TJournalReader journal(exchange, store);
        ASSERT_TRUE(journal.ReadPage().Ok());
        const std::vector<THistoryRec> before = Records(store);
        panel->clearRecords();
        panel->setFaults(c.Faults);
        TEventLoopProbe probe;
        QObject::connect(&exchange, &TCommandExchange::LogLine, &probe, [&] { probe.Check(); });
        TDeviceWakeUp wakeUp(device);
        QElapsedTimer clock;
        clock.start();
        const TJournalResult r = journal.Erase(wakeUp);
        const qint64 ms = clock.elapsed();
        panel->setFaults({});
        EXPECT_LE(ms, OperationBoundMs(link.timings, int(panel->receivedLines().size()), 200));
        EXPECT_EQ(probe.Starved(), 0);
        EXPECT_TRUE(device.WakeUp());
        if (c.Erased) {
            EXPECT_TRUE(r.Ok()) << r.Errors.join(", ").toStdString();
            EXPECT_EQ(store.Count(), 0);
            EXPECT_EQ(panel->journalPointer(), 0u);
        } else {
            EXPECT_EQ(r.Errors, QStringList{"Очистка истории"});
            EXPECT_EQ(Records(store), before);
        }
        EXPECT_EQ(saved.Changes(), "");
        QTest::qWait(int(link.timings.QuietMs) + 50);
    }
}

} // namespace
