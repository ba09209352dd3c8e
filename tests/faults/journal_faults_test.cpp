// The journal's dialogue with a misbehaving panel, through the journal
// reader as the history page drives it: the newest page, paging back, the
// whole journal in chunks, and the erase. Faults the protocol absorbs give
// exactly the records of a clean run; the others end in errors that name
// what failed, and the store keeps what it had.
#include "fault_checks.h"
#include "history/WakeUpSwitch.h"
#include "journal_fault_cases.h"
#include "journal_link.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>

namespace {

using namespace journal_faults;

constexpr uint32_t kTimeOutMs = kFaultTimeOutMs;

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
        // What is still owed to the faulty run is written off once past its
        // deadline (its time-out and the late bound).
        QTest::qWait(int(link.timings.TimeOutCapMs + link.timings.LateMs) + 50);
    }
}

// The erase under faults: done and the store emptied, or named and the
// store as it was; the wake-up is back on either way.
TEST_F(JournalFaults, Erase) {
    connectTo(Journal(100));
    capTimeOuts(kTimeOutMs);
    device.SetWakeUp(true);
    for (const TEraseCase& c : kEraseCases) {
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
        QTest::qWait(int(link.timings.TimeOutCapMs + link.timings.LateMs) + 50);
    }
}

} // namespace
