// A journal read from the emulated panel over a pty, recorded in a real
// archive file: the whole journal the first time, then only the records
// after the last archived one; an erased journal and a wrapped pointer
// start a new run and leave the old one as it was.
#include "archive/Archive.h"
#include "archive/JournalArchive.h"
#include "archive/JournalRecorder.h"
#include "journal_link.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ArchiveRecorder : public JournalLink {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(archive.Open(dir.filePath(QStringLiteral("archive.sqlite"))))
            << archive.Error().toStdString();
        panelId =
            archive.NoteConnection(QStringLiteral("0050"), {}, {}, QDateTime::currentDateTimeUtc()).value();
    }

    // What "read new records" does: a fresh store and reader each time, as a
    // new connection has; returns the "+read" commands it sent.
    QStringList readNew() {
        panel->clearRecords();
        THistory store;
        TJournalReader newReader(exchange, store);
        TJournalRecorder recorder(journal, exchange, panelId);
        recorder.Attach(newReader);
        bool finished = false;
        QObject::connect(&newReader, &TJournalReader::ReadFinished, [&](const TJournalResult& r) {
            finished = true;
            lastResult = r;
        });
        EXPECT_TRUE(newReader.StartReadFrom([&](int) { return recorder.FirstNewIndex(); }));
        EXPECT_TRUE(waitUntil([&] { return finished; }, 20000));
        EXPECT_TRUE(recorder.Error().isEmpty()) << recorder.Error().toStdString();
        EXPECT_TRUE(lastResult.Ok()) << lastResult.Errors.join(", ").toStdString();
        lastStored = recorder.Stored();
        return reads();
    }

    QList<int> RunIndexes(int run) {
        QList<int> out;
        for (const TArchivedRecord& r : journal.Run(panelId, run).value_or(QList<TArchivedRecord>{}))
            out.append(r.Index);
        return out;
    }

    // The archived lines of a run equal the panel's lines with those indexes
    // as they were when read.
    QList<QByteArray> RunLines(int run) {
        QList<QByteArray> out;
        for (const TArchivedRecord& r : journal.Run(panelId, run).value_or(QList<TArchivedRecord>{}))
            out.append(r.Raw.toLatin1());
        return out;
    }

    QTemporaryDir dir;
    TArchive archive;
    TJournalArchive journal{archive};
    qint64 panelId = 0;
    TJournalResult lastResult;
    int lastStored = 0;
};

TEST_F(ArchiveRecorder, FirstReadTakesEverythingThenOnlyTheNewRecordsAreAskedFor) {
    connectTo(Journal(100));
    readNew();
    EXPECT_EQ(lastStored, 100);
    EXPECT_EQ(RunLines(1), panel->journalLines());

    // Nothing new: the archived newest record is compared, nothing else read.
    EXPECT_EQ(readNew(), QStringList{QStringLiteral("+read00630064")});
    EXPECT_EQ(lastStored, 0);

    panel->appendJournalRecords(7);
    const QStringList sent = readNew();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent.at(0), QStringLiteral("+read00630064")); // the comparison
    EXPECT_EQ(sent.at(1), QStringLiteral("+read0064006B")); // 100..106 only
    EXPECT_EQ(lastStored, 7);
    EXPECT_EQ(RunIndexes(1), Range(0, 106));
    EXPECT_EQ(RunLines(1), panel->journalLines());
    EXPECT_EQ(journal.Runs(panelId).value(), QList<int>{1});
}

// After an erase the pointer may be below the archived records or, once
// enough new events came, above them: either way the panel's journal is a
// new run, read from its start, and the old run stays whole.
class ArchiveAfterErase : public ArchiveRecorder, public ::testing::WithParamInterface<int> {};

TEST_P(ArchiveAfterErase, TheErasedJournalIsReadWholeIntoANewRun) {
    const int after = GetParam();
    connectTo(Journal(100));
    readNew();
    const QList<QByteArray> before = panel->journalLines();

    panel->setJournalLines({});
    panel->appendJournalRecords(after, 5);
    const QStringList sent = readNew();
    // From the start of the journal (after the comparison, when the pointer
    // did not show the erase by itself).
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_TRUE(sent.at(after < 100 ? 0 : 1).startsWith(QStringLiteral("+read0000")))
        << sent.join(' ').toStdString();
    EXPECT_EQ(lastStored, after);
    EXPECT_EQ(journal.Runs(panelId).value(), (QList<int>{1, 2}));
    EXPECT_EQ(RunLines(1), before);
    EXPECT_EQ(RunLines(2), panel->journalLines());
}

INSTANTIATE_TEST_SUITE_P(BelowAndAbove, ArchiveAfterErase, ::testing::Values(30, 150));

// A panel that answers the record at the end index of "+read" too brings,
// after a wrap, a record of the previous pass past the pointer: it is not
// this journal's newest, and is not archived with it.
TEST_F(ArchiveRecorder, AWrappedPointerStartsANewRunThatLaterReadsContinue) {
    connectTo(Journal(100));
    readNew();
    // 65 446 events later the pointer has gone round past 65535 to 10.
    panel->appendJournalRecords(65536 - 100 + 10, 3);
    ASSERT_EQ(panel->journalPointer(), 10u);
    const QStringList sent = readNew();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent.first(), QStringLiteral("+read0000000A"));
    EXPECT_EQ(RunIndexes(2), Range(0, 9));
    EXPECT_EQ(RunIndexes(1), Range(0, 99));

    panel->appendJournalRecords(5, 4);
    EXPECT_EQ(readNew(), (QStringList{QStringLiteral("+read0009000A"), QStringLiteral("+read000A000F")}));
    EXPECT_EQ(RunIndexes(2), Range(0, 14));
    EXPECT_EQ(journal.Runs(panelId).value(), (QList<int>{1, 2}));
}

TEST_F(ArchiveRecorder, EveryAnswerIsStoredAsItComesAndAReadOfTheNewestPageGoesToTheRunToo) {
    connectTo(Journal(300));
    // The window's newest page first: records 280..299 (the store grows by
    // answer, before the progress is told).
    TJournalRecorder recorder(journal, exchange, panelId);
    recorder.Attach(reader);
    // Whenever the progress is told, every record the reader took is on disk.
    QList<QPair<qint64, int>> atProgress;
    QObject::connect(&reader, &TJournalReader::ReadProgress, [&](int, int, qint64) {
        atProgress.append({journal.Count(panelId, {}).value_or(-1), history.Count()});
    });
    TJournalTiming timing = reader.Timing();
    timing.FirstChunk = 50;
    timing.MaxChunk = 50;
    reader.SetTiming(timing);
    bool done = false;
    QObject::connect(&reader, &TJournalReader::ReadFinished, [&] { done = true; });
    ASSERT_TRUE(reader.StartReadNewest(120));
    ASSERT_TRUE(waitUntil([&] { return done; }, 20000));
    ASSERT_GE(atProgress.size(), 3);
    for (const auto& [archived, taken] : atProgress)
        EXPECT_EQ(archived, taken);
    EXPECT_EQ(RunIndexes(1), Range(180, 299));

    // Read new: the archive holds up to 299, nothing after it.
    panel->appendJournalRecords(3);
    const QStringList sent = readNew();
    EXPECT_EQ(sent.last(), QStringLiteral("+read012C012F"));
    EXPECT_EQ(RunIndexes(1), Range(180, 302));
}

} // namespace
