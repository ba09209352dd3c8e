// Files survive a kill -9 in the middle of writing: a child process
// (crash_writer) writes one of the tool's files again and again with the
// tool's own code, alternating two known contents, and is killed with SIGKILL
// after a random delay. After every kill the file must be exactly the old
// content or exactly the new one: never cut, never mixed, never gone.
//
// The exchange log is saved whole from the window's log (the tool keeps no
// append-only log file), so it gets the same strict check as the others.
// A workbook carries its creation time, so it is checked by reading the zip
// strictly and comparing every member but the document properties.
#include "zip_members.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdio>
#include <random>
#include <thread>

namespace {

enum class TCompare { Exact, Workbook };

struct TWriterCase {
    const char* writer;   // crash_writer's name for it
    const char* fileName; // under the scratch folder
    TCompare compare;
    int kills; // a multiple of kLanes
};

void PrintTo(const TWriterCase& c, std::ostream* os) {
    *os << c.writer;
}

// One row per file the tool writes.
// clang-format off
const TWriterCase kWriters[] = {
    {"sms", "texts.sms", TCompare::Exact, 40},
    {"settings", "panel.ini", TCompare::Exact, 40},
    {"log", "session.log", TCompare::Exact, 40},
    {"csv", "journal.csv", TCompare::Exact, 40},
    {"xlsx", "journal.xlsx", TCompare::Workbook, 40},
    {"window", "Velmor/Tarvik1.conf", TCompare::Exact, 40},
};
// clang-format on

// The kill comes this long after the child is ready, at most: several
// rounds of the slowest writer.
constexpr int kMaxKillDelayMs = 40;
constexpr int kStartTimeoutMs = 20000;
constexpr int kLanes = 4;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs crash_writer once to completion: content A or B at `path`.
QByteArray WriteOnce(const TWriterCase& c, const QString& path, const char* which) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QProcess child;
    child.start(QStringLiteral(CRASH_WRITER), {QLatin1String(c.writer), path, QLatin1String(which)});
    if (!child.waitForFinished(kStartTimeoutMs) || child.exitCode() != 0) {
        ADD_FAILURE() << c.writer << " " << which << ": " << child.readAllStandardError().toStdString();
        return {};
    }
    return ReadAll(path);
}

// The workbook's members without its document properties (their time
// stamp), or an error.
QString WorkbookMembers(const QByteArray& bytes, QMap<QString, QByteArray>& out) {
    const ZipMembers zip = ReadZipMembers(bytes);
    if (!zip.ok)
        return zip.error;
    out = zip.members;
    if (out.remove(QStringLiteral("docProps/core.xml")) != 1)
        return QStringLiteral("no docProps/core.xml");
    if (!out.contains(QStringLiteral("xl/worksheets/sheet1.xml")))
        return QStringLiteral("no sheet");
    return QString();
}

class CrashTest : public ::testing::TestWithParam<TWriterCase> {};

TEST_P(CrashTest, KilledWriterLeavesOldOrNewFileWhole) {
    const TWriterCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray a = WriteOnce(c, dir.filePath(QStringLiteral("a/") + QLatin1String(c.fileName)), "a");
    const QByteArray b = WriteOnce(c, dir.filePath(QStringLiteral("b/") + QLatin1String(c.fileName)), "b");
    ASSERT_FALSE(a.isEmpty());
    ASSERT_FALSE(b.isEmpty());
    QMap<QString, QByteArray> membersA, membersB;
    if (c.compare == TCompare::Workbook) {
        ASSERT_EQ(WorkbookMembers(a, membersA), QString());
        ASSERT_EQ(WorkbookMembers(b, membersB), QString());
        ASSERT_NE(membersA, membersB);
    } else {
        ASSERT_NE(a, b);
    }

    // Four children at a time, each on its own file; before every run the
    // file is the old content A, and the child writes B first.
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, kMaxKillDelayMs * 1000);
    int foundA = 0, foundB = 0, aheadOfReport = 0, minWrites = INT_MAX, maxWrites = 0;
    for (int run = 0; run < c.kills; run += kLanes) {
        struct TLane {
            QString target;
            QProcess child;
            QByteArray out;
            std::chrono::microseconds delay;
        };
        std::array<TLane, kLanes> lanes;
        for (int i = 0; i < kLanes; ++i) {
            TLane& lane = lanes[size_t(i)];
            lane.target = dir.filePath(QStringLiteral("work%1/").arg(i) + QLatin1String(c.fileName));
            QDir().mkpath(QFileInfo(lane.target).absolutePath());
            QFile old(lane.target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(a) == a.size());
            old.close();
            lane.delay = std::chrono::microseconds(delayUs(random));
            lane.child.start(QStringLiteral(CRASH_WRITER),
                             {QLatin1String(c.writer), lane.target, QStringLiteral("loop")});
        }
        for (TLane& lane : lanes) {
            while (!lane.out.contains('\n') && lane.child.waitForReadyRead(kStartTimeoutMs))
                lane.out += lane.child.readAllStandardOutput();
            ASSERT_EQ(lane.out.left(6), "ready\n") << lane.child.readAllStandardError().toStdString();
        }
        std::array<TLane*, kLanes> byDelay;
        for (int i = 0; i < kLanes; ++i)
            byDelay[size_t(i)] = &lanes[size_t(i)];
        std::sort(byDelay.begin(), byDelay.end(), [](TLane* l, TLane* r) { return l->delay < r->delay; });
        const auto ready = std::chrono::steady_clock::now();
        for (TLane* lane : byDelay) {
            std::this_thread::sleep_until(ready + lane->delay);
            lane->child.kill(); // SIGKILL
        }

        for (TLane& lane : lanes) {
            ASSERT_TRUE(lane.child.waitForFinished(kStartTimeoutMs));
            ASSERT_EQ(lane.child.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself";
            lane.out += lane.child.readAllStandardOutput();
            const int writes = int(lane.out.count('.'));
            minWrites = std::min(minWrites, writes);
            maxWrites = std::max(maxWrites, writes);

            const QByteArray now = ReadAll(lane.target);
            bool isB = false;
            if (c.compare == TCompare::Workbook) {
                QMap<QString, QByteArray> members;
                ASSERT_EQ(WorkbookMembers(now, members), QString()) << "after " << writes << " writes";
                ASSERT_TRUE(members == membersA || members == membersB) << "a workbook of neither content";
                isB = members == membersB;
            } else {
                ASSERT_TRUE(now == a || now == b)
                    << "after " << writes << " writes: " << now.size() << " bytes, neither content";
                isB = now == b;
            }
            (isB ? foundB : foundA) += 1;
            // After an odd number of finished writes the file holds B; the
            // other content means the kill came after the write in progress
            // had put its file in place.
            if (isB != (writes % 2 == 1))
                ++aheadOfReport;
        }
    }
    std::printf("%s: %d kills, %d..%d writes done before a kill; found A %d, B %d "
                "(%d times the new file was in place, the write not yet returned)\n",
                c.writer, foundA + foundB, minWrites, maxWrites, foundA, foundB, aheadOfReport);
}

INSTANTIATE_TEST_SUITE_P(Writers, CrashTest, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.writer); });

} // namespace
