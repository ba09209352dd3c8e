// A journal read killed with SIGKILL loses no record it had told as read:
// a child process (crash_journal_reader, the command line's journal read
// with the archive on) reads the emulated panel's journal in small chunks
// and is killed after a random delay; the archive then opens and holds at
// least every record its last progress counted, each exactly as the panel
// sent it.
#include "archive/Archive.h"
#include "archive/JournalArchive.h"
#include "emulated_panel_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

constexpr int kRecords = 1500;
constexpr int kKills = 8;
constexpr int kStartTimeoutMs = 20000;
constexpr int kMaxKillDelayMs = 1500;

// The number of records the last progress on `text` counted; -1 when none.
int LastToldRead(const QString& text) {
    static const QRegularExpression told(QStringLiteral("Прочитано (\\d+) из"));
    int last = -1;
    for (auto it = told.globalMatch(text); it.hasNext();)
        last = it.next().captured(1).toInt();
    return last;
}

TEST(CrashJournal, KilledReadKeepsEveryRecordItToldAsRead) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMs(0, kMaxKillDelayMs);
    int killedMidway = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        emu::PanelSettings settings = QuickPanelSettings();
        settings.journalRecords = kRecords;
        // A fast line (6.5 ms a record) still takes seconds for the journal:
        // the kill comes while it is read.
        settings.faults.baud = 115200;
        auto panel = StartEmulatedPanel(settings);
        ASSERT_TRUE(panel);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString archivePath = dir.filePath(QStringLiteral("archive.sqlite"));

        QProcess child;
        child.start(QStringLiteral(CRASH_JOURNAL_READER),
                    {panel->slavePath(), archivePath, dir.filePath(QStringLiteral("j.csv"))});
        child.setReadChannel(QProcess::StandardError);
        QByteArray err;
        // Killed once the first records are told, a random while later.
        while (LastToldRead(QString::fromUtf8(err)) <= 0 && child.waitForReadyRead(kStartTimeoutMs))
            err += child.readAllStandardError();
        ASSERT_GT(LastToldRead(QString::fromUtf8(err)), 0) << err.toStdString();
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        while (child.waitForReadyRead(0))
            err += child.readAllStandardError();
        const int told = LastToldRead(QString::fromUtf8(err));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(kStartTimeoutMs));
        if (child.exitStatus() == QProcess::CrashExit && told < kRecords)
            ++killedMidway;

        TArchive archive;
        ASSERT_TRUE(archive.Open(archivePath)) << archive.Error().toStdString();
        const auto found = archive.Panel(QStringLiteral("0050"));
        ASSERT_TRUE(found);
        TJournalArchive journal(archive);
        const auto records = journal.Run(found->Id, 1);
        ASSERT_TRUE(records);
        EXPECT_GE(records->size(), told) << "kill " << kill;
        const QList<QByteArray> lines = panel->journalLines();
        for (const TArchivedRecord& rec : *records) {
            ASSERT_LT(rec.Index, lines.size());
            EXPECT_EQ(rec.Raw.toLatin1(), lines.at(rec.Index)) << rec.Index;
        }
        std::printf("kill %d: told %d, archived %lld\n", kill, told, qlonglong(records->size()));
    }
    // Most kills land while the read runs (on a very slow machine a read may
    // finish first; it is then checked all the same).
    EXPECT_GT(killedMidway, 0);
}

} // namespace
