// The History page in the window against a misbehaving panel: the newest
// page read with 40 records a page, paged back twice and forward again with
// the page's buttons, and the erase under its busy indicator, for each of
// the journal's fault rows. Faults the protocol absorbs show exactly the
// pages of a clean run; the others are named in the error list, and what
// the page stored is what the panel holds. Every run ends within a bound
// from the link's timings, with the event loop turning and the window still
// connected.
#include "fault_checks.h"
#include "history/HistoryModel.h"
#include "journal_fault_cases.h"
#include "main_window_fixture.h"
#include "mainwindow/BusyForm.h"
#include "pages/HistoryFrameUnit.h"

#include <QTableView>

namespace {

using namespace journal_faults;

constexpr uint32_t kTimeOutMs = kFaultTimeOutMs;

// What the page showed in one run: the record indexes on show after each
// step, and every name the error list showed.
struct TPagesRun {
    std::vector<QList<int>> Shown; // after Read, Back, Back, Forward
    std::vector<THistoryRec> Stored;
    QStringList Listed;
    qint64 Ms = 0;
    int Starved = 0;
};

class HistoryPageFaults : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        // Split answers go out byte by byte with no gap: a page of records
        // then arrives well within the short time-outs.
        emu::PanelSettings settings = QuickPanelSettings();
        settings.delays.splitGapMs = 0;
        panel = StartEmulatedPanel(settings);
        ASSERT_TRUE(panel);
    }

    TLinkTimings capped() const { return cappedTimings(kTimeOutMs); }
    static QList<int> shown(THistoryFrame* page) {
        QAbstractItemModel* model = child<QTableView>(page, "HistoryView")->model();
        QList<int> out;
        for (int row = 0; row < model->rowCount(); ++row)
            out.append(model->index(row, 0).data(THistoryModel::RecordIndexRole).toInt());
        return out;
    }
    static std::vector<THistoryRec> stored(THistoryFrame* page) {
        std::vector<THistoryRec> out;
        for (int row = 0; row < page->History().Count(); ++row)
            out.push_back(page->History().RecordAt(row));
        return out;
    }

    // A fresh window (an empty store) on the History page, 40 records a
    // page, reading and paging under `faults`.
    TPagesRun runPages(const emu::Faults& faults) {
        TPagesRun run;
        auto w = makeWindow();
        connectWindow(*w);
        EXPECT_TRUE(w->Connected());
        w->SetLinkTimings(capped());
        THistoryFrame* page = showFrame<THistoryFrame>(*w);
        child<QComboBox>(page, "RecordsCount")->setCurrentIndex(1);
        EXPECT_EQ(child<QComboBox>(page, "RecordsCount")->currentText(), "40");

        TErrorListForm* list = w->ErrorListForm();
        list->hide();
        const auto collect = [&] {
            if (!list->isVisible())
                return;
            for (const QString& item : list->Items())
                if (!run.Listed.contains(item))
                    run.Listed << item;
            list->hide();
        };
        TEventLoopProbe probe;
        const QMetaObject::Connection watch = QObject::connect(
            w->CommandExchange(), &TCommandExchange::LogLine, w.get(), [&] { probe.Check(); });
        panel->clearRecords();
        panel->setFaults(faults);
        QElapsedTimer clock;
        clock.start();
        w->ReadActionExecute();
        for (const char* step : {"", "BackBtn", "BackBtn", "ForwardBtn"}) {
            if (*step)
                child<QPushButton>(page, step)->click();
            collect();
            run.Shown.push_back(shown(page));
        }
        run.Ms = clock.elapsed();
        panel->setFaults({});
        QObject::disconnect(watch);
        run.Starved = probe.Starved();
        run.Stored = stored(page);
        EXPECT_TRUE(w->Connected());
        EXPECT_EQ(w->State(), TOperationState::Connected);
        // What is still owed to the faulty run is written off once past its
        // deadline (its time-out and the late bound).
        QTest::qWait(int(capped().TimeOutCapMs + capped().LateMs) + 50);
        disconnectWindow(*w);
        return run;
    }

    TSavedFiles saved;
};

TEST_F(HistoryPageFaults, NewestPageAndPagingThroughThePage) {
    const TPagesRun clean = runPages({});
    ASSERT_TRUE(clean.Listed.isEmpty()) << clean.Listed.join(", ").toStdString();
    ASSERT_EQ(clean.Shown.size(), 4u);
    ASSERT_EQ(clean.Shown[0].size(), 40);
    ASSERT_EQ(clean.Shown[0].front(), 99) << "the newest record at the top";
    ASSERT_EQ(clean.Shown[2].back(), 0) << "paged back to the oldest";
    ASSERT_GT(clean.Shown[3].front(), clean.Shown[2].front()) << "forward again";

    for (const TReadCase& c : kReadCases) {
        SCOPED_TRACE(c.Name);
        const TPagesRun r = runPages(c.Faults);
        QStringList touched = panel->receivedLines();
        if (!c.Faults.onlyCommand.isEmpty())
            touched =
                touched.filter(QRegularExpression("^" + QRegularExpression::escape(c.Faults.onlyCommand)));
        const qint64 panelMs = 3 * clean.Ms + qint64(c.Faults.extraDelayMs) * panel->receivedLines().size();
        EXPECT_LE(r.Ms, OperationBoundMs(capped(), MakesWaits(c.Faults) ? int(touched.size()) : 0, panelMs));
        EXPECT_EQ(r.Starved, 0);
        EXPECT_EQ(r.Listed, c.Errors);
        if (c.Errors.isEmpty() || c.Errors == QStringList{kNoise}) {
            EXPECT_EQ(r.Shown, clean.Shown);
        } else {
            // Whatever was stored is what the panel holds.
            for (const THistoryRec& rec : r.Stored)
                EXPECT_EQ(rec, clean.Stored.at(size_t(rec.index))) << rec.index;
        }
        EXPECT_EQ(saved.Changes(), "");
    }
}

// The erase from the page's button under faults: the busy indicator (no
// Cancel) while it runs, the wake-up back on afterwards; the journal emptied,
// or the failure named and the page as it was.
TEST_F(HistoryPageFaults, EraseUnderTheBusyIndicator) {
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->SetLinkTimings(capped());
    THistoryFrame* page = showFrame<THistoryFrame>(*w);
    for (const TEraseCase& c : kEraseCases) {
        SCOPED_TRACE(c.Name);
        panel->regenerateJournal(100);
        w->ReadActionExecute();
        const QList<int> before = shown(page);
        ASSERT_EQ(before.size(), 20);

        bool indicatorShown = false, cancelOffered = false;
        QString indicatorText;
        TEventLoopProbe probe;
        QTimer sampler;
        sampler.setInterval(5);
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            probe.Check();
            TBusyForm* busy = w->BusyForm();
            if (w->State() != TOperationState::Erasing || !busy || !busy->isVisible())
                return;
            indicatorShown = true;
            indicatorText = busy->Text();
            cancelOffered |= child<QPushButton>(busy, "CancelButton")->isVisible();
        });
        sampler.start();
        w->ErrorListForm()->hide();
        panel->clearRecords();
        panel->setFaults(c.Faults);
        answerYes = true;
        QElapsedTimer clock;
        clock.start();
        child<QPushButton>(page, "ClearBtn")->click();
        const qint64 ms = clock.elapsed();
        sampler.stop();
        panel->setFaults({});

        EXPECT_LE(ms, OperationBoundMs(capped(), int(panel->receivedLines().size()), 200));
        EXPECT_EQ(probe.Starved(), 0);
        EXPECT_TRUE(indicatorShown);
        EXPECT_EQ(indicatorText, THistoryFrame::EraseBusyText());
        EXPECT_FALSE(cancelOffered);
        EXPECT_FALSE(w->BusyForm()->isVisible());
        EXPECT_TRUE(w->Device()->WakeUp()) << "back on after the erase";
        EXPECT_EQ(w->State(), TOperationState::Connected);
        if (c.Erased) {
            EXPECT_TRUE(w->ErrorListForm()->isHidden())
                << w->ErrorListForm()->Items().join(", ").toStdString();
            EXPECT_TRUE(shown(page).isEmpty());
            EXPECT_EQ(panel->journalPointer(), 0u);
        } else {
            EXPECT_EQ(w->ErrorListForm()->Items(), QStringList{"Очистка истории"});
            EXPECT_EQ(shown(page), before);
        }
        EXPECT_EQ(saved.Changes(), "");
        QTest::qWait(int(capped().TimeOutCapMs + capped().LateMs) + 50);
    }
}

} // namespace
