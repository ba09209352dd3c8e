#include "panel/LogLine.h"

#include <gtest/gtest.h>

TEST(LogLine, StampHasFixedWidthsAndNoSeparator) {
    const QDateTime when(QDate(2026, 3, 4), QTime(9, 8, 5, 7));
    EXPECT_EQ(LogStamp(when), "2026.03.04 09:08:05.007");
    EXPECT_EQ(StampedLogLine("<< +o", when), "2026.03.04 09:08:05.007<< +o");
    EXPECT_EQ(LogStamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))), "2026.12.31 23:59:59.999");
}
