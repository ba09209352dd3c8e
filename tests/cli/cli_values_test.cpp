// Values a real panel holds, through every path: read into the window and
// the command line, the settings file, the comparison with a file and the
// write back.
#include "../mainwindow/main_window_fixture.h"
#include "cli/CliPages.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "pages/SettingsFile.h"

#include <QTemporaryDir>

namespace {

class CliValues : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(scratch.isValid());
    }

    CliRun run(QStringList args) { return RunCaught(RunCliWithPages, args, timings); }
    QString path(const QString& name) const { return scratch.filePath(name); }
    QStringList fileLines(const QString& name) const {
        TSettingsFile file;
        EXPECT_TRUE(file.Read(path(name)));
        return file.Lines();
    }

    QTemporaryDir scratch;
};

// A panel holding an empty text answers "OK" alone: the empty value (the
// "Мегафон" and "Теле2" presets have an empty user name and password).
TEST_F(CliValues, AnEmptyTextIsReadAsEmpty) {
    const std::pair<const char*, const char*> empty[] = {
        {"+gprsname0", "UserName="}, {"+gprspswd0", "UserPWD="}, {"+phing1", "EPhone2="},
        {"+smstext2", "SMS3="},      {"+IP1adr", "IP2="},
    };
    for (const auto& [command, line] : empty)
        ASSERT_TRUE(panel->storeParameterBytes(command, ""));

    const CliRun r = run({"read", "--port", panel->slavePath(), "--out", path("empty.ini")});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    const QStringList lines = fileLines("empty.ini");
    for (const auto& [command, line] : empty)
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << command;

    const CliRun same = run({"diff", "--port", panel->slavePath(), path("empty.ini")});
    EXPECT_EQ(same.code, ceOk) << same.out.toStdString() << same.err.toStdString();
    EXPECT_TRUE(same.err.endsWith("Различий нет\n")) << same.err.toStdString();

    // The window reads the same panel without a failure.
    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadAllActionExecute();
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    disconnectWindow(*w);
}

// A number answered with "OK" alone carries no value: its read fails and no
// file is written.
TEST_F(CliValues, ANumberAnsweredWithOkAloneIsAFailedRead) {
    for (const char* command : {"+o", "+disp", "+presstime", "+pwlog"}) {
        SCOPED_TRACE(command);
        panel->resetParameters();
        ASSERT_TRUE(panel->storeParameterBytes(command, ""));
        const QString out = path(QString::fromLatin1(command).mid(1) + ".ini");
        const CliRun r = run({"read", "--port", panel->slavePath(), "--out", out});
        EXPECT_NE(r.code, ceOk);
        EXPECT_FALSE(QFile::exists(out));
    }
}

// Channel codes 7, 8 and 9 have no item that writes them: the command
// line's read keeps them in the file, and its write gives them back, to a
// panel that held other entries, exactly as they were.
TEST_F(CliValues, ChannelCodesWithoutAnItemGoBackAsTheyCame) {
    emu::PanelSettings settings = QuickPanelSettings();
    settings.channelCodesToNine = true;
    const std::unique_ptr<emu::EmulatedPanel> wide = StartEmulatedPanel(settings);
    const QByteArray held[] = {"110007=111", "120008=222", "130009=333", "140002=444",
                               "150000=",    "160000=",    "170000=",    "180000="};
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(wide->storeParameterBytes(QString("+alphon%1").arg(i), held[i]));

    const CliRun r = run({"read", "--port", wide->slavePath(), "--out", path("wide.ini")});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    const QStringList lines = fileLines("wide.ini");
    for (const char* line : {"CCombo1=6", "CCode1=7", "CCombo2=-1", "CCode2=8", "CCombo3=-1", "CCode3=9"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
    EXPECT_FALSE(lines.contains("CCode4=2")) << "a code an item writes needs no key of its own";

    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(wide->storeParameterBytes(QString("+alphon%1").arg(i), "110002=5"));
    const CliRun w = run({"write", "--port", wide->slavePath(), "--erase-journal", path("wide.ini")});
    ASSERT_EQ(w.code, ceOk) << w.err.toStdString();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(wide->parameterBytes(QString("+alphon%1").arg(i)), held[i]) << i;

    const CliRun same = run({"diff", "--port", wide->slavePath(), path("wide.ini")});
    EXPECT_EQ(same.code, ceOk) << same.out.toStdString();
}

// An autotest period beyond the lists (30 h 5 min, restart event on) goes
// through the command line's own file and back to a panel that held the
// defaults; diff tells the two apart.
TEST_F(CliValues, AnAutotestPeriodBeyondTheListsGoesBackAsItCame) {
    emu::PanelSettings settings = QuickPanelSettings();
    settings.periodsToFE = true;
    const std::unique_ptr<emu::EmulatedPanel> longer = StartEmulatedPanel(settings);
    ASSERT_TRUE(longer->storeParameterBytes("+pwlog", "FFFF001E05FFFFFFFF"));
    const CliRun r = run({"read", "--port", longer->slavePath(), "--out", path("period.ini")});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    const QStringList lines = fileLines("period.ini");
    for (const char* line : {"Hour=23", "HourKept=30", "Min=5", "Reboot=1"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;

    longer->resetParameters();
    const CliRun differs = run({"diff", "--port", longer->slavePath(), path("period.ini")});
    EXPECT_EQ(differs.code, ceDifferent) << differs.err.toStdString();
    const CliRun w = run({"write", "--port", longer->slavePath(), "--erase-journal", path("period.ini")});
    ASSERT_EQ(w.code, ceOk) << w.err.toStdString();
    EXPECT_EQ(longer->parameterBytes("+pwlog"), "FFFF001E05FFFFFFFF");
    const CliRun same = run({"diff", "--port", longer->slavePath(), path("period.ini")});
    EXPECT_EQ(same.code, ceOk) << same.out.toStdString();
}

} // namespace
