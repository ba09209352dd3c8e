// tarvik1-cli read and write keep the configuration in the archive: the
// file read is the configuration the archive gives back byte for byte; a
// write keeps the pages written, as written; --no-archive keeps nothing.
#include "archive/ArchiveUser.h"
#include "cli/CliPages.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "emulated_panel_fixture.h"
#include "pages/SettingsFile.h"
#include "short_link_timings.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CliConfigArchive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        panel = StartEmulatedPanel(QuickPanelSettings());
        ASSERT_TRUE(panel);
    }

    CliRun run(QStringList args) {
        args << "--archive" << archive;
        return RunCaught(RunCliWithPages, args, timings);
    }

    static QByteArray BytesOf(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ShortLinkTimings timings;
    QTemporaryDir dir;
    QString archive = dir.filePath("archive.sqlite");
    std::unique_ptr<emu::EmulatedPanel> panel;
};

TEST_F(CliConfigArchive, ReadAndWriteKeepTheConfigurationAsTheFileHoldsIt) {
    const QString ini = dir.filePath("panel.ini");
    CliRun r = run({"read", "--port", panel->slavePath(), "--out", ini});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    CliBytesRun kept = RunCaughtBytes(
        RunCliWithPages, {"archive", "config", "0050", "--out", "-", "--archive", archive}, timings);
    ASSERT_EQ(kept.code, ceOk) << kept.err.toStdString();
    EXPECT_EQ(kept.out, BytesOf(ini));

    // The Common page written with a short object number: kept as the
    // panel took it, filled with zeros, under that number.
    const QString common = dir.filePath("common.ini");
    TSettingsFile file;
    ASSERT_TRUE(file.Read(ini));
    QStringList lines = file.Lines();
    lines.replaceInStrings(QRegularExpression(QStringLiteral("^Object=.*$")), QStringLiteral("Object=51"));
    ASSERT_TRUE(TSettingsFile(lines).Write(common));
    r = run({"write", "--port", panel->slavePath(), common, "--pages", "common"});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    kept = RunCaughtBytes(RunCliWithPages, {"archive", "config", "0051", "--out", "-", "--archive", archive},
                          timings);
    ASSERT_EQ(kept.code, ceOk) << kept.err.toStdString();
    QStringList written;
    QString reason;
    ASSERT_TRUE(TSettingsFile::Decode(kept.out, written, reason));
    EXPECT_TRUE(written.contains(QStringLiteral("Object=0051"))) << written.join('|').toStdString();
    EXPECT_FALSE(TSettingsFile(written).Contains(QStringLiteral("CPhone1"))) << "the Common page alone";

    r = run({"archive", "list", "0051"});
    EXPECT_TRUE(r.out.contains(QStringLiteral(", запись, %1\n").arg(ArchiveUserName())))
        << r.out.toStdString();
    r = run({"archive", "list", "0050"});
    EXPECT_TRUE(r.out.contains(QStringLiteral(", чтение, %1\n").arg(ArchiveUserName())))
        << r.out.toStdString();

    // Nothing kept without the archive.
    const QString none = dir.filePath("none.sqlite");
    r = RunCaught(RunCliWithPages,
                  {"read", "--port", panel->slavePath(), "--out", ini, "--no-archive", "--archive", none},
                  timings);
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(none));
}

} // namespace
