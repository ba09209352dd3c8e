// The journal read from the emulated panel over a pty, as the history page
// drives it: the reporting entries, the pointer, the newest page with the
// newest record on top whichever way the panel treats the end of "+read",
// paging that asks only for what is missing, records per page, the erase
// with the wake-up off, the whole journal in chunks with a cancel, and the
// failures that must reach the error list.
#include "history/HistoryModel.h"
#include "history/WakeUpSwitch.h"
#include "journal_link.h"
#include "record_indexes.h"
#include "record_lines.h"

#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The indexes the model shows, top to bottom.
QList<int> Shown(const THistoryModel& model) {
    QList<int> out;
    for (int row = 0; row < model.rowCount(); ++row)
        out.append(model.data(model.index(row, 0), THistoryModel::RecordIndexRole).toInt());
    return out;
}

// Switches the device's wake-up as the window does, and remembers how.
class RecordingWakeUp : public IWakeUpSwitch {
public:
    explicit RecordingWakeUp(TDevice& device) : fDevice(device) {}
    void SetWakeUp(bool on) override {
        calls.append(on);
        fDevice.SetWakeUp(on);
    }
    QList<bool> calls;

private:
    TDevice& fDevice;
};

class JournalReaderTest : public JournalLink {
protected:
    void SetUp() override {
        QObject::connect(&reader, &TJournalReader::PageChanged, &model, &THistoryModel::SetPage);
    }

    THistoryModel model{history};
};

// Both kinds of panel: true answers the record at the second index of
// "+read", false leaves it out.
class JournalPaging : public JournalReaderTest, public ::testing::WithParamInterface<bool> {};

TEST_P(JournalPaging, NewestPageOnTopThenBackAndForwardReadOnlyWhatIsMissing) {
    connectTo(Journal(100, GetParam()));
    TJournalResult r = reader.ReadPage();
    EXPECT_TRUE(r.Ok()) << r.Errors.join(", ").toStdString();
    for (int entry = 0; entry < 8; ++entry)
        EXPECT_EQ(panel->commandCount(QStringLiteral("+alphon%1").arg(entry)), 1) << entry;
    EXPECT_EQ(panel->commandCount("+point"), 1);
    EXPECT_EQ(reads(), QStringList{"+read00500064"});
    EXPECT_EQ(Shown(model), Down(99, 80)) << "the newest record at the top";
    EXPECT_EQ(reader.Newest(), 99);

    r = reader.Back();
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(reads().last(), "+read003C0050");
    EXPECT_EQ(Shown(model), Down(79, 60));
    reader.Back();
    EXPECT_EQ(reads().last(), "+read0028003C");
    EXPECT_EQ(Shown(model), Down(59, 40));
    EXPECT_EQ(stored(), Range(40, 99));

    // Forward over what is stored asks the panel for nothing.
    const int readsBefore = int(reads().size());
    reader.Forward();
    EXPECT_EQ(Shown(model), Down(79, 60));
    reader.Forward();
    EXPECT_EQ(Shown(model), Down(99, 80));
    EXPECT_EQ(reads().size(), readsBefore);

    // Past the newest record the panel is asked, has nothing, and the page
    // stays on show.
    r = reader.Forward();
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(reads().last(), "+read00640078");
    EXPECT_EQ(r.Received, 0);
    EXPECT_EQ(Shown(model), Down(99, 80));
    EXPECT_EQ(reader.CurrentPoint(), 80);
}

TEST_P(JournalPaging, BackStartsAtTheFirstMissingRecordAndStopsAtTheOldest) {
    connectTo(Journal(100, GetParam()));
    reader.ReadPage();
    // Records 70..79 came in some other way (an earlier read).
    QStringList lines;
    ASSERT_TRUE(exchange.DeviceCommandLst("+read00460050", lines, 5000));
    lines.removeLast();
    history.AddLines(lines);

    reader.Back();
    EXPECT_EQ(reads().last(), "+read003C0046") << "60..69, the end one past them";
    EXPECT_EQ(Shown(model), Down(79, 60));

    // Record 60 is the start of a page of 20: back to 40, 20, 0, then the
    // first page stays where it is and reads nothing more.
    reader.Back();
    reader.Back();
    reader.Back();
    EXPECT_EQ(Shown(model), Down(19, 0));
    const int readsBefore = int(reads().size());
    reader.Back();
    EXPECT_EQ(Shown(model), Down(19, 0));
    EXPECT_EQ(reads().size(), readsBefore);
    EXPECT_EQ(stored(), Range(0, 99));
}

TEST_P(JournalPaging, ShortJournalShowsEverythingNewestFirst) {
    connectTo(Journal(10, GetParam()));
    EXPECT_TRUE(reader.ReadPage().Ok());
    EXPECT_EQ(reads(), QStringList{"+read0000000A"});
    EXPECT_EQ(Shown(model), Down(9, 0));
}

// A record left out of an answer is asked for again (the indexes from the
// first to the last one missing); filled by the second answer, the page
// reads whole; left out every time, it is named by its index once the
// exchange's attempts are spent, and the records that came are shown.
TEST_P(JournalPaging, ARecordLeftOutIsAskedForAgainAndNamedWhenItNeverComes) {
    connectTo(Journal(100, GetParam()));
    const int attempts = exchange.Attempts();
    ASSERT_GE(attempts, 2);
    const struct {
        const char* what;
        bool always;
        int reads; // "+read00550056" after the page's own
        QStringList errors;
        QList<int> shown;
    } cases[] = {
        {"left out once", false, 1, {}, Down(99, 80)},
        {"left out every time",
         true,
         attempts - 1,
         {"Записи истории: не получена запись 85"},
         Down(99, 86) + Down(84, 80)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        emu::Faults f;
        f.skipRecord = 85;
        f.skipRecordAlways = c.always;
        panel->setFaults(f);
        panel->clearRecords();
        THistory store;
        TJournalReader journal(exchange, store);
        THistoryModel shown(store);
        QObject::connect(&journal, &TJournalReader::PageChanged, &shown, &THistoryModel::SetPage);

        const TJournalResult r = journal.ReadPage();
        EXPECT_EQ(r.Errors, c.errors);
        EXPECT_EQ(r.Missing, c.always ? QList<int>{85} : QList<int>{});
        QStringList expected{"+read00500064"};
        for (int i = 0; i < c.reads; ++i)
            expected << "+read00550056";
        EXPECT_EQ(reads(), expected);
        EXPECT_EQ(Shown(shown), c.shown);
        EXPECT_EQ(r.Received, c.shown.size()) << "each record counted once";
        EXPECT_EQ(r.Rejected, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(BothPanels, JournalPaging, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ReadIncludesEnd" : "ReadExcludesEnd"; });

// Pages that cannot be had: not stored and no panel asked (paging without a
// connection), or asked and not given. The page on show stays, so that the
// buttons can still leave it.
TEST_F(JournalReaderTest, PagingKeepsThePageOnShowWhenItsRecordsCannotBeHad) {
    connectTo(Journal(100));
    reader.ReadPage();
    reader.Back();
    EXPECT_EQ(Shown(model), Down(79, 60));
    const QStringList readsBefore = reads();

    // From the store alone: 40..59 are not there, 80..99 are.
    EXPECT_TRUE(reader.Back(TJournalSource::Store).Ok());
    EXPECT_EQ(Shown(model), Down(79, 60));
    reader.Forward(TJournalSource::Store);
    EXPECT_EQ(Shown(model), Down(99, 80));
    reader.Forward(TJournalSource::Store);
    EXPECT_EQ(Shown(model), Down(99, 80));
    EXPECT_EQ(reads(), readsBefore) << "the panel was not asked";

    // Asked, and nothing came.
    reader.Back(TJournalSource::Store);
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+read";
    panel->setFaults(f);
    capTimeOuts(60);
    const TJournalResult r = reader.Back();
    EXPECT_EQ(r.Errors, QStringList{"Записи истории"});
    EXPECT_EQ(Shown(model), Down(79, 60));
    EXPECT_EQ(reader.CurrentPoint(), 60);
}

// The owner's Cancel may end the exchange in progress at once (the window's
// busy indicator aborts the wait): the chunk broken off is no failure of the
// panel, and what came before it stays.
TEST_F(JournalReaderTest, ACancelThatBreaksOffAChunkEndsTheReadAsCancelled) {
    connectTo(Journal(300, false)); // each chunk exactly what it asks
    emu::Faults slow;
    slow.extraDelayMs = 150;
    slow.onlyCommand = "+read";
    panel->setFaults(slow);
    TJournalTiming timing;
    timing.FirstChunk = timing.MaxChunk = 50;
    reader.SetTiming(timing);
    bool cancelPressed = false;
    reader.SetCancelSource([&] { return cancelPressed; });
    QObject::connect(&reader, &TJournalReader::ReadProgress, [&](int done, int, qint64) {
        if (done >= 100 && !cancelPressed) {
            // Pressed while the next chunk is awaited.
            QTimer::singleShot(60, [&] {
                cancelPressed = true;
                exchange.Abort();
            });
        }
    });
    QSignalSpy finished(&reader, &TJournalReader::ReadFinished);
    ASSERT_TRUE(reader.StartReadAll());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 20000));
    const TJournalResult r = finished.at(0).at(0).value<TJournalResult>();
    EXPECT_TRUE(r.Cancelled);
    EXPECT_TRUE(r.Errors.isEmpty()) << r.Errors.join(", ").toStdString();
    EXPECT_EQ(stored(), Range(0, 99)) << "the two chunks that came";
    EXPECT_EQ(Shown(model), Down(99, 80)) << "the newest records that came";
    EXPECT_EQ(reads().size(), 3) << "the third chunk was asked for and broken off";
}

TEST_F(JournalReaderTest, EmptyJournalAsksForNoRecord) {
    connectTo(Journal(0));
    QSignalSpy pages(&reader, &TJournalReader::PageChanged);
    const TJournalResult r = reader.ReadPage();
    EXPECT_TRUE(r.Empty);
    EXPECT_TRUE(r.Errors.isEmpty());
    EXPECT_EQ(panel->commandCount("+point"), 1);
    EXPECT_TRUE(reads().isEmpty());
    EXPECT_EQ(pages.count(), 0);
    EXPECT_EQ(reader.Newest(), -1);

    QSignalSpy finished(&reader, &TJournalReader::ReadFinished);
    ASSERT_TRUE(reader.StartReadAll());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }));
    EXPECT_TRUE(finished.at(0).at(0).value<TJournalResult>().Empty);
    EXPECT_TRUE(reads().isEmpty());
}

TEST_F(JournalReaderTest, RecordsPerPageTakesEffectAtOnce) {
    connectTo(Journal(100));
    reader.ReadPage();
    QSignalSpy pages(&reader, &TJournalReader::PageChanged);

    EXPECT_EQ(reader.SetRecordsPerPage("40"), 40);
    EXPECT_EQ(pages.count(), 1);
    EXPECT_EQ(Shown(model), Down(99, 80)) << "nothing newer than 99";
    reader.ReadPage();
    EXPECT_EQ(reads().last(), "+read003C0064");
    EXPECT_EQ(Shown(model), Down(99, 60));

    // A count that is none goes back to 20.
    for (const char* text : {"abc", "0", "-3", "65536"}) {
        reader.SetRecordsPerPage("40");
        EXPECT_EQ(reader.SetRecordsPerPage(QString::fromLatin1(text)), 20) << text;
        EXPECT_EQ(model.rowCount(), 20) << text;
    }
    reader.SetRecordsPerPage("50");
    reader.SetDefault();
    EXPECT_EQ(reader.RecordsPerPage(), 20);
    EXPECT_EQ(Shown(model), Down(79, 60));
}

TEST_F(JournalReaderTest, EraseWithTheWakeUpOff) {
    emu::PanelSettings s = Journal(100);
    s.delays.journalEraseMs = 200;
    connectTo(s);
    device.SetWakeUp(true);
    reader.ReadPage();
    RecordingWakeUp wakeUp(device);

    const TJournalResult r = reader.Erase(wakeUp);
    EXPECT_TRUE(r.Ok()) << r.Errors.join(", ").toStdString();
    EXPECT_EQ(wakeUp.calls, (QList<bool>{false, true}));
    EXPECT_TRUE(device.WakeUp());
    EXPECT_EQ(panel->commandCount("+erase"), 1);
    EXPECT_EQ(panel->journalPointer(), 0u);
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(reader.CurrentPoint(), -1);
}

TEST_F(JournalReaderTest, FailedEraseKeepsTheStore) {
    connectTo(Journal(100));
    reader.ReadPage();
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+erase";
    panel->setFaults(f);
    capTimeOuts(100);
    RecordingWakeUp wakeUp(device);

    const TJournalResult r = reader.Erase(wakeUp);
    EXPECT_EQ(r.Errors, QStringList{"Очистка истории"});
    EXPECT_EQ(wakeUp.calls, (QList<bool>{false, true})) << "back on after a failure too";
    EXPECT_EQ(history.Count(), 20);
    EXPECT_EQ(Shown(model), Down(99, 80));
}

TEST_F(JournalReaderTest, DirectionReadFailuresAreReportedAndTheRecordsStillRead) {
    connectTo(Journal(100));
    // A first read that works gives the panel's entries.
    reader.ReadPage();
    const TDirectionTable before = reader.Directions();
    EXPECT_EQ(before[0].Channel, ctCsd);
    EXPECT_EQ(before[0].Direction, 1);

    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+alphon";
    panel->setFaults(f);
    capTimeOuts(60);
    const TJournalResult r = reader.ReadPage();
    QStringList names;
    for (int entry = 1; entry <= 8; ++entry)
        names << QStringLiteral("Параметр направления %1").arg(entry);
    EXPECT_EQ(r.Errors, names);
    EXPECT_EQ(reader.Directions(), before) << "failed entries keep what they had";
    EXPECT_EQ(history.Directions(), before);
    EXPECT_EQ(Shown(model), Down(99, 80));
}

TEST_F(JournalReaderTest, PointerThatDoesNotComeReadsNothing) {
    connectTo(Journal(100));
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+point";
    panel->setFaults(f);
    capTimeOuts(60);
    const TJournalResult r = reader.ReadPage();
    EXPECT_EQ(r.Errors, QStringList{"Значение указателя истории"});
    EXPECT_TRUE(reads().isEmpty());
    EXPECT_EQ(reader.CurrentPoint(), -1);
}

// Answers from a script: the panel values no emulator sends.
class ScriptedExchange : public TPanelExchange {
public:
    QMap<QString, QStringList> answers;
    QStringList sent;
    bool DeviceCommandLst(const QString& command, QStringList& res, uint32_t) override {
        sent << command;
        const auto it = answers.constFind(command);
        if (it == answers.constEnd())
            return false;
        res = *it;
        return true;
    }
    bool Uparam() const override { return false; }
    void SetUparam(bool) override {}
};

TEST(JournalPointerTest, PointerValueThatIsNoNumberIsAnErrorNotARead) {
    for (const QStringList& answer :
         {QStringList{"00G4", "OK"}, QStringList{"OK"}, QStringList{"", "OK"}, QStringList{"10001", "OK"}}) {
        ScriptedExchange link;
        for (int entry = 0; entry < 8; ++entry)
            link.answers[QStringLiteral("+alphon%1").arg(entry)] = {"110002=79001234567", "OK"};
        link.answers["+point"] = answer;
        THistory history;
        TJournalReader reader(link, history);
        const TJournalResult r = reader.ReadPage();
        EXPECT_EQ(r.Errors, QStringList{"Значение указателя истории"}) << answer.join('|').toStdString();
        EXPECT_TRUE(link.sent.filter("+read").isEmpty()) << answer.join('|').toStdString();
        EXPECT_EQ(reader.Newest(), -1);
    }
}

TEST_F(JournalReaderTest, AnswerLinesThatAreNoRecordAreCountedAndNamed) {
    connectTo(Journal(100));
    emu::Faults f;
    f.garbage = true; // a line of noise in front of the records
    f.onlyCommand = "+read";
    panel->setFaults(f);
    const TJournalResult r = reader.ReadPage();
    EXPECT_EQ(r.Rejected, 1);
    EXPECT_EQ(r.Received, 20);
    EXPECT_EQ(r.Errors, QStringList{JournalError::RejectedLines(1)});
    EXPECT_EQ(Shown(model), Down(99, 80));
}

// The whole journal in chunks, a cancel half way that keeps what came, and
// a second read that goes on from there.
class JournalReadAll : public JournalReaderTest, public ::testing::WithParamInterface<bool> {};

TEST_P(JournalReadAll, CancelKeepsWhatWasReadAndTheNextReadGoesOn) {
    connectTo(Journal(1000, GetParam()));
    TJournalTiming timing;
    timing.FirstChunk = 100;
    timing.MaxChunk = 150;
    reader.SetTiming(timing);

    struct Progress {
        int done, total;
        qint64 msLeft;
    };
    QList<Progress> progress;
    QObject::connect(&reader, &TJournalReader::ReadProgress, [&](int done, int total, qint64 msLeft) {
        progress.append({done, total, msLeft});
        if (done >= 300)
            reader.Cancel();
    });
    QSignalSpy finished(&reader, &TJournalReader::ReadFinished);
    ASSERT_TRUE(reader.StartReadAll());
    EXPECT_FALSE(reader.StartReadAll()) << "one read at a time";
    EXPECT_TRUE(reader.ReadPage().Busy);
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 20000));
    const TJournalResult first = finished.at(0).at(0).value<TJournalResult>();

    EXPECT_TRUE(first.Cancelled);
    EXPECT_TRUE(first.Errors.isEmpty());
    EXPECT_EQ(first.Span, (TIndexSpan{0, 999}));
    const QList<int> kept = stored();
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_EQ(kept, Range(0, kept.last())) << "oldest first, nothing skipped";
    EXPECT_GE(kept.size(), 300);
    EXPECT_LT(kept.size(), 1000);
    EXPECT_EQ(first.Received, kept.size()) << "no record read twice";

    ASSERT_GE(progress.size(), 3);
    EXPECT_EQ(progress.first().done, 0);
    EXPECT_EQ(progress.first().msLeft, -1) << "no estimate before the line was measured";
    for (qsizetype i = 1; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i].total, 1000);
        EXPECT_GT(progress[i].done, progress[i - 1].done);
        EXPECT_GE(progress[i].msLeft, 0);
    }
    EXPECT_EQ(progress.last().done, kept.size());

    // The next read asks only for what is missing, and finishes.
    QObject::disconnect(&reader, &TJournalReader::ReadProgress, nullptr, nullptr);
    const qsizetype readsBefore = reads().size();
    ASSERT_TRUE(reader.StartReadAll());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 2; }, 20000));
    const TJournalResult second = finished.at(1).at(0).value<TJournalResult>();
    EXPECT_TRUE(second.Ok()) << second.Errors.join(", ").toStdString();
    EXPECT_TRUE(
        reads()
            .at(readsBefore)
            .startsWith("+read" + QStringLiteral("%1").arg(kept.size(), 4, 16, QLatin1Char('0')).toUpper()));
    EXPECT_EQ(stored(), Range(0, 999));
    EXPECT_EQ(first.Received + second.Received, 1000);
    for (const QString& read : reads())
        EXPECT_LE(read.mid(9, 4).toInt(nullptr, 16) - read.mid(5, 4).toInt(nullptr, 16), 151) << "chunk size";

    // The newest page is on show; a filter reaches past it.
    EXPECT_EQ(Shown(model), Down(999, 980));
    const QString code = QString::number(EventCode(history.RecordAt(0)));
    model.SetFilter(code);
    ASSERT_GT(model.rowCount(), 20);
    const QList<int> found = Shown(model);
    EXPECT_TRUE(std::is_sorted(found.rbegin(), found.rend())) << "newest first";
    EXPECT_EQ(found.last(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothPanels, JournalReadAll, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ReadIncludesEnd" : "ReadExcludesEnd"; });

// A record that never comes does not hold the whole read up: it is named,
// the later chunks follow, the progress counts only what came, and the next
// read asks for that record alone.
TEST_F(JournalReaderTest, TheWholeJournalGoesOnPastARecordThatNeverComes) {
    connectTo(Journal(100));
    TJournalTiming timing;
    timing.FirstChunk = timing.MaxChunk = 30;
    reader.SetTiming(timing);
    emu::Faults f;
    f.skipRecord = 5;
    f.skipRecordAlways = true;
    panel->setFaults(f);
    QList<int> done;
    QObject::connect(&reader, &TJournalReader::ReadProgress, [&](int d, int, qint64) { done << d; });
    QSignalSpy finished(&reader, &TJournalReader::ReadFinished);
    ASSERT_TRUE(reader.StartReadAll());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 20000));
    const TJournalResult r = finished.at(0).at(0).value<TJournalResult>();
    EXPECT_EQ(r.Errors, QStringList{"Записи истории: не получена запись 5"});
    EXPECT_EQ(r.Received, 99);
    EXPECT_EQ(stored(), Range(0, 4) + Range(6, 99));
    ASSERT_FALSE(done.isEmpty());
    EXPECT_EQ(done.last(), 99) << "Прочитано 99 из 100";
    EXPECT_EQ(reads().filter("+read00050006").size(), exchange.Attempts() - 1);
    EXPECT_EQ(reads().size(), 4 + exchange.Attempts() - 1) << "four chunks of 30 and the asks for 5";

    panel->clearRecords();
    panel->setFaults({});
    ASSERT_TRUE(reader.StartReadAll());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 2; }, 20000));
    EXPECT_TRUE(finished.at(1).at(0).value<TJournalResult>().Ok());
    EXPECT_EQ(reads(), QStringList{"+read00050006"});
    EXPECT_EQ(stored(), Range(0, 99));
}

// Answers from a script: a record of an index not asked for is not stored,
// and two different records for one index in the same answer leave that
// index to be asked for again.
TEST(JournalAnswerTest, OnlyRecordsAskedForAreStoredAndAnIndexBroughtTwiceDifferentlyIsAskedAgain) {
    ScriptedExchange link;
    for (int entry = 0; entry < 8; ++entry)
        link.answers[QStringLiteral("+alphon%1").arg(entry)] = {"110002=79001234567", "OK"};
    link.answers["+point"] = {"0003", "OK"};
    const auto line = [](int index, uint32_t global) {
        TestRecord r;
        r.index = index;
        r.global = global;
        return RecordLine(r);
    };
    link.answers["+read00000003"] = {line(0, 1), line(1, 1), line(1, 2), line(2, 1), line(9, 1), "OK"};
    link.answers["+read00010002"] = {line(1, 3), line(2, 1), "OK"};
    THistory history;
    TJournalReader reader(link, history);

    const TJournalResult r = reader.ReadPage();
    EXPECT_EQ(link.sent.filter("+read"), (QStringList{"+read00000003", "+read00010002"}));
    EXPECT_EQ(r.Received, 3);
    EXPECT_EQ(r.Rejected, 3) << "both records for 1, and the one for 9";
    EXPECT_EQ(r.Errors, QStringList{JournalError::RejectedLines(3)});
    ASSERT_EQ(history.Count(), 3);
    EXPECT_FALSE(history.RecordExists(9));
    EXPECT_EQ(history.RecordAt(1).index, 1);
    EXPECT_EQ(history.RecordAt(1).globalindex, 3u) << "the record the second answer brought";
}

TEST_F(JournalReaderTest, ReadNewestCountInChunks) {
    connectTo(Journal(500));
    TJournalTiming timing;
    timing.FirstChunk = 50;
    timing.MaxChunk = 50;
    reader.SetTiming(timing);
    QSignalSpy finished(&reader, &TJournalReader::ReadFinished);
    ASSERT_TRUE(reader.StartReadNewest(120));
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 20000));
    const TJournalResult r = finished.at(0).at(0).value<TJournalResult>();
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.Span, (TIndexSpan{380, 499}));
    EXPECT_EQ(stored(), Range(380, 499));
    EXPECT_EQ(reads().first(), "+read017C01AE");
    EXPECT_EQ(Shown(model), Down(499, 480));
}

} // namespace
