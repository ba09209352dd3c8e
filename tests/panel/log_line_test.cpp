#include "hostile_files.h"
#include "panel/LogLine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(LogLine, StampHasFixedWidthsAndNoSeparator) {
    const QDateTime when(QDate(2026, 3, 4), QTime(9, 8, 5, 7));
    EXPECT_EQ(LogStamp(when), "2026.03.04 09:08:05.007");
    EXPECT_EQ(StampedLogLine("<< +o", when), "2026.03.04 09:08:05.007<< +o");
    EXPECT_EQ(LogStamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))), "2026.12.31 23:59:59.999");
}

// The log holds every line sent to the panel, its passwords too.
TEST(LogFile, SavedForTheOwnerAloneAndOnlyOverARegularFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("session.log");
    const mode_t mask = umask(022);
    const bool saved = SaveLogLines(file, {"<< +ps12345678"});
    umask(mask);
    ASSERT_TRUE(saved);
    EXPECT_EQ(ModeOf(file), 0600);
    EXPECT_EQ(ContentsOf(file), "<< +ps12345678\r\n");

    const QString fifo = dir.filePath("fifo.log");
    ASSERT_TRUE(MakeFifo(fifo));
    QString error;
    EXPECT_FALSE(SaveLogLines(fifo, {"line"}, &error));
    EXPECT_EQ(error, "это именованный канал (FIFO), а не обычный файл");
    EXPECT_TRUE(IsFifo(fifo));
}
