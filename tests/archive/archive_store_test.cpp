// The archive file on a real SQLite database in a temporary folder: the
// schema and its version, the file's kind and mode, panels and their
// connections, journal runs told apart by index and content, pages and the
// filter, configurations, and writes that fail leaving nothing behind.
#include "archive/Archive.h"
#include "archive/ArchiveSchema.h"
#include "archive/ConfigArchive.h"
#include "archive/JournalArchive.h"
#include "archive/RecordIdentity.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

const QDateTime kWhen(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);

// A 75-character record line: index, message, date and running number as
// given; `delivery` stands for the delivery fields and check sum.
QString Line(int index, const QString& message = QStringLiteral("0050181130010050"), uint global = 0x400,
             const QString& delivery = QStringLiteral("00FA00")) {
    QString line = QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper() + message +
                   QStringLiteral("0FFFFFFFFFFFFFFFFF1\"24/03/01,07:12:00+12\"") +
                   QStringLiteral("%1").arg(global, 8, 16, QLatin1Char('0')).toUpper() + delivery;
    return line;
}

QList<TRecordToStore> Records(int first, int last, uint globalBase = 0x400, const QString& search = {},
                              const QString& event = QStringLiteral("1301")) {
    QList<TRecordToStore> out;
    for (int i = first; i <= last; ++i)
        out.append({i, Line(i, QStringLiteral("0050181130010050"), globalBase + uint(i)),
                    search.isEmpty() ? QStringLiteral("запись %1").arg(i) : search, event});
    return out;
}

class ArchiveFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("data/archive.sqlite"));
        ASSERT_TRUE(archive.Open(path)) << archive.Error().toStdString();
        const auto id = archive.NoteConnection(QStringLiteral("0050"), QStringLiteral("REV 07.700.125"),
                                               QStringLiteral("M45PE16"), kWhen);
        ASSERT_TRUE(id);
        panel = *id;
    }

    // (run, index) of the panel's records, newest first.
    QList<QPair<int, int>> Keys(const TArchiveFilter& filter = {}) {
        QList<QPair<int, int>> out;
        const auto page = journal.Page(panel, filter, 0, 1000000);
        EXPECT_TRUE(page) << archive.Error().toStdString();
        for (const TArchivedRecord& r : page.value_or(QList<TArchivedRecord>{}))
            out.append({r.Run, r.Index});
        return out;
    }

    QTemporaryDir dir;
    QString path;
    TArchive archive;
    TJournalArchive journal{archive};
    TConfigArchive configs{archive};
    qint64 panel = 0;
};

TEST_F(ArchiveFile, NewFileIsVersionedWriteAheadAndOwnersAlone) {
    QSqlQuery query(archive.Db());
    ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA user_version")) && query.next());
    EXPECT_EQ(query.value(0).toInt(), kArchiveSchemaVersion);
    ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("wal"));

    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // The log beside it holds the same data: the owner's alone too.
    query.finish();
    ASSERT_TRUE(journal.Store(panel, Records(0, 0), false, kWhen)) << journal.Error().toStdString();
    ASSERT_EQ(::stat(QFile::encodeName(path + QStringLiteral("-wal")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ArchiveFile, WhatWasStoredIsThereAfterReopening) {
    ASSERT_TRUE(journal.Store(panel, Records(0, 9), false, kWhen));
    ASSERT_TRUE(configs.Store(panel, {QStringLiteral("Object=0050")}, TConfigDirection::Read,
                              QStringLiteral("monter"), kWhen));
    TArchive again;
    ASSERT_TRUE(again.Open(path)) << again.Error().toStdString();
    const auto found = again.Panel(QStringLiteral("0050"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Records, 10);
    EXPECT_EQ(found->Runs, 1);
    EXPECT_EQ(found->Configurations, 1);
    EXPECT_EQ(found->VersionLine, QStringLiteral("REV 07.700.125"));
    EXPECT_EQ(found->Memory, QStringLiteral("M45PE16"));
    EXPECT_EQ(found->FirstSeen, kWhen);
}

// Files the archive must not take, each left exactly as it was.
TEST(ArchiveOpen, RefusesWhatIsNoArchiveOfThisProgramAndChangesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    const QString text = dir.filePath(QStringLiteral("text.sqlite"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    const QString newer = dir.filePath(QStringLiteral("newer.sqlite"));
    {
        TArchive archive;
        ASSERT_TRUE(archive.Open(newer));
        QSqlQuery(archive.Db())
            .exec(QStringLiteral("PRAGMA user_version = %1").arg(kArchiveSchemaVersion + 1));
    }
    const QString folder = dir.filePath(QStringLiteral("folder.sqlite"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString fifo = dir.filePath(QStringLiteral("fifo.sqlite"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    for (const QString& path : {text, newer, folder, fifo}) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray before = QFileInfo(path).isFile() ? [&] {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }() : QByteArray();
        TArchive archive;
        EXPECT_FALSE(archive.Open(path));
        EXPECT_TRUE(archive.Error().startsWith(path)) << archive.Error().toStdString();
        if (QFileInfo(path).isFile()) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), before);
        }
    }
}

TEST_F(ArchiveFile, SameRecordsReadAgainStayInOneRunAndTakeTheNewerDeliveryState) {
    ASSERT_TRUE(journal.Store(panel, Records(0, 9), false, kWhen));
    ASSERT_TRUE(journal.Store(panel, Records(5, 14), false, kWhen));
    // Record 3 again, delivered meanwhile: the same event.
    ASSERT_TRUE(journal.Store(panel,
                              {{3,
                                Line(3, QStringLiteral("0050181130010050"), 0x403, QStringLiteral("00F000")),
                                QStringLiteral("x"),
                                {}}},
                              false, kWhen));
    const auto run = journal.Run(panel, 1);
    ASSERT_TRUE(run);
    ASSERT_EQ(run->size(), 15);
    EXPECT_TRUE(run->at(3).Raw.endsWith(QStringLiteral("00F000")));
    EXPECT_EQ(journal.Runs(panel).value(), QList<int>{1});
}

// A record that differs from the run's record at its index, or a pointer
// that showed an erase or a wrap, starts the next run; the run before is
// kept as it was.
TEST_F(ArchiveFile, ADifferentRecordOrAnErasedJournalStartsANewRunAndKeepsTheOld) {
    ASSERT_TRUE(journal.Store(panel, Records(0, 9), false, kWhen));
    // After an erase: indexes 0..3 again, other events.
    ASSERT_TRUE(journal.Store(panel, Records(0, 3, 0x900), false, kWhen));
    // Then 4..6 of the same new journal: they go on in its run.
    ASSERT_TRUE(journal.Store(panel, Records(4, 6, 0x900), false, kWhen));
    // The caller saw the pointer go back: a third run, even for indexes the
    // second run lacks.
    ASSERT_TRUE(journal.Store(panel, Records(20, 21, 0xA00), true, kWhen));

    EXPECT_EQ(journal.Runs(panel).value(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(journal.Run(panel, 1)->size(), 10);
    EXPECT_EQ(journal.Run(panel, 1)->at(0).Raw, Records(0, 0).first().Raw);
    EXPECT_EQ(journal.Run(panel, 2)->size(), 7);
    const auto head = journal.Head(panel);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->Run, 3);
    EXPECT_EQ(head->Index, 21);
    // Newest first: the newest run, highest index first.
    const QList<QPair<int, int>> keys = Keys();
    ASSERT_EQ(keys.size(), 19);
    EXPECT_EQ(keys.first(), qMakePair(3, 21));
    EXPECT_EQ(keys.at(2), qMakePair(2, 6));
    EXPECT_EQ(keys.last(), qMakePair(1, 0));
}

// Pages go newest first, by offset or from a record's key across runs; the
// filter finds a text in the search texts (any case) or the events named.
TEST_F(ArchiveFile, PagesAndFilterGoNewestFirstAcrossRuns) {
    ASSERT_TRUE(journal.Store(panel,
                              Records(0, 49, 0x400,
                                      QStringLiteral("130\x1f"
                                                     "5\x1f"
                                                     "1\x1fабв0050"),
                                      "1301"),
                              false, kWhen));
    ASSERT_TRUE(journal.Store(panel,
                              Records(0, 9, 0x900,
                                      QStringLiteral("401\x1f"
                                                     "3\x1f"
                                                     "1\x1fгде0051"),
                                      "4011"),
                              false, kWhen)); // run 2
    const auto page = journal.Page(panel, {}, 12, 5);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->size(), 5);
    EXPECT_EQ(page->first().Run, 1);
    EXPECT_EQ(page->first().Index, 47);
    EXPECT_EQ(page->first().ReadAt, kWhen);

    // From a key: older across the runs' border, and back newer.
    const auto older = journal.Older(panel, {}, TArchiveKey{2, 2}, 5);
    ASSERT_TRUE(older);
    QList<QPair<int, int>> keys;
    for (const TArchivedRecord& r : *older)
        keys.append({r.Run, r.Index});
    EXPECT_EQ(keys, (QList<QPair<int, int>>{{2, 1}, {2, 0}, {1, 49}, {1, 48}, {1, 47}}));
    const auto newer = journal.Newer(panel, {}, TArchiveKey{1, 48}, 3);
    ASSERT_TRUE(newer);
    ASSERT_EQ(newer->size(), 3);
    EXPECT_EQ(newer->first().Run, 2);
    EXPECT_EQ(newer->first().Index, 1);
    EXPECT_EQ(newer->last().Run, 1);
    EXPECT_EQ(newer->last().Index, 49);
    EXPECT_EQ(journal.Older(panel, {}, std::nullopt, 1)->first().Index, 9);

    struct Case {
        TArchiveFilter filter;
        qint64 count;
    };
    const Case cases[] = {
        {{QStringLiteral("ГДЕ"), {}}, 10},                          // Cyrillic in any case
        {{QStringLiteral(" 0050 "), {}}, 50},                       // trimmed
        {{QStringLiteral("снятие"), {QStringLiteral("4011")}}, 10}, // by its event's text
        {{QStringLiteral("31"), {}}, 0},                            // "3" and "1" are apart
        {{QStringLiteral("zz"), {QStringLiteral("1301"), QStringLiteral("4011")}}, 60},
        {{}, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.Text.toStdString());
        EXPECT_EQ(journal.Count(panel, c.filter).value(), c.count);
    }
    const QList<QPair<int, int>> found = Keys({QStringLiteral("абв"), {}});
    ASSERT_EQ(found.size(), 50);
    EXPECT_EQ(found.first(), qMakePair(1, 49));
    EXPECT_EQ(journal.Older(panel, {QStringLiteral("где"), {}}, TArchiveKey{2, 5}, 20)->size(), 5);
}

TEST_F(ArchiveFile, AFailedWriteLeavesNothingOfItsBatch) {
    ASSERT_TRUE(journal.Store(panel, Records(0, 4), false, kWhen));
    QList<TRecordToStore> batch = Records(5, 9);
    batch.append({70000, Line(0), QStringLiteral("x"), {}}); // no journal index: refused by the table
    EXPECT_FALSE(journal.Store(panel, batch, false, kWhen));
    EXPECT_TRUE(journal.Error().startsWith(path)) << journal.Error().toStdString();
    EXPECT_EQ(journal.Count(panel, {}).value(), 5);
    // The file still takes writes.
    EXPECT_TRUE(journal.Store(panel, Records(5, 9), false, kWhen));
    EXPECT_EQ(journal.Count(panel, {}).value(), 10);
}

TEST_F(ArchiveFile, ConfigurationsKeepTheirLinesTimeDirectionAndUser) {
    const QStringList first{QStringLiteral("Object=0050"), QStringLiteral("GprsPassword=секрет=1"),
                            QStringLiteral("Empty=")};
    ASSERT_TRUE(configs.Store(panel, first, TConfigDirection::Read, QStringLiteral("monter"), kWhen));
    ASSERT_TRUE(configs.Store(panel, {QStringLiteral("Object=0051")}, TConfigDirection::Written,
                              QStringLiteral("другой"), kWhen.addDays(1)));
    const auto list = configs.List(panel);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2);
    EXPECT_EQ(list->at(0).Number, 1);
    EXPECT_EQ(list->at(0).Lines, first);
    EXPECT_EQ(list->at(0).Direction, TConfigDirection::Read);
    EXPECT_EQ(list->at(0).User, QStringLiteral("monter"));
    EXPECT_EQ(list->at(0).SavedAt, kWhen);
    EXPECT_EQ(list->at(1).Direction, TConfigDirection::Written);
    EXPECT_EQ(list->at(1).SavedAt, kWhen.addDays(1));
}

TEST_F(ArchiveFile, PanelsAreKeptApartAndOneIsRemovedWithAllItHolds) {
    const auto other = archive.NoteConnection(QStringLiteral("0051"), QStringLiteral("REV 07.700.130"),
                                              QStringLiteral("Unknown"), kWhen);
    ASSERT_TRUE(other);
    ASSERT_NE(*other, panel);
    // A second connection notes the newer version under the same panel.
    ASSERT_EQ(archive.NoteConnection(QStringLiteral("0050"), QStringLiteral("REV 07.700.126"),
                                     QStringLiteral("M45PE16"), kWhen.addDays(2)),
              panel);
    ASSERT_TRUE(journal.Store(panel, Records(0, 9), false, kWhen));
    ASSERT_TRUE(journal.Store(*other, Records(0, 2, 0x900), false, kWhen));
    ASSERT_TRUE(configs.Store(panel, {QStringLiteral("Object=0050")}, TConfigDirection::Read, {}, kWhen));
    // Each panel its own runs: the other's different records start no run here.
    EXPECT_EQ(journal.Runs(panel).value(), QList<int>{1});
    EXPECT_EQ(journal.Runs(*other).value(), QList<int>{1});

    const auto panels = archive.Panels();
    ASSERT_TRUE(panels);
    ASSERT_EQ(panels->size(), 2);
    EXPECT_EQ(panels->at(0).Object, QStringLiteral("0050"));
    EXPECT_EQ(panels->at(0).VersionLine, QStringLiteral("REV 07.700.126"));
    EXPECT_EQ(panels->at(0).LastSeen, kWhen.addDays(2));
    EXPECT_EQ(panels->at(1).Records, 3);
    QSqlQuery query(archive.Db());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM connections")) && query.next());
    EXPECT_EQ(query.value(0).toInt(), 3);

    ASSERT_TRUE(archive.RemovePanel(QStringLiteral("0050")));
    EXPECT_FALSE(archive.Panel(QStringLiteral("0050")));
    for (const char* table : {"journal_records", "configurations", "connections"}) {
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE panel_id = %2")
                                   .arg(QLatin1String(table))
                                   .arg(panel)) &&
                    query.next());
        EXPECT_EQ(query.value(0).toInt(), 0) << table;
    }
    EXPECT_EQ(archive.Panel(QStringLiteral("0051"))->Records, 3);
}

TEST(RecordIdentityTest, DeliveryFieldsAndCheckSumDoNotMakeAnotherRecord) {
    const QString a = Line(5, QStringLiteral("0050181130010050"), 0x405, QStringLiteral("00FA11"));
    EXPECT_EQ(RecordIdentity(a),
              RecordIdentity(Line(5, QStringLiteral("0050181130010050"), 0x405, QStringLiteral("02F022"))));
    EXPECT_NE(RecordIdentity(a), RecordIdentity(Line(5, QStringLiteral("0050181130010050"), 0x406)));
    EXPECT_NE(RecordIdentity(a), RecordIdentity(Line(5, QStringLiteral("0050183130010050"), 0x405)));
    EXPECT_NE(RecordIdentity(a), RecordIdentity(Line(6, QStringLiteral("0050181130010050"), 0x405)));
}

} // namespace
