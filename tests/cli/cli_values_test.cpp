// Values a real panel holds, through every path: read into the window and
// the command line, the settings file, the comparison with a file and the
// write back.
#include "../mainwindow/file_dialogs.h"
#include "../mainwindow/main_window_fixture.h"
#include "cli/CliPages.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "cp1251.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsLookup.h"
#include "pages/SettingsPages.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// A panel that takes channel codes 7..9 and test periods beyond the lists.
emu::PanelSettings WidePanelSettings() {
    emu::PanelSettings settings = QuickPanelSettings();
    settings.channelCodesToNine = true;
    settings.periodsToFE = true;
    settings.oddValues = true;
    return settings;
}

// Values at the edges of the lists and beyond them: channel codes without an
// item, a test period beyond the lists, the last dispatcher time, alarm
// codes and a hold time no item stands for, the longest texts, Russian
// letters.
bool StoreEdgeValues(emu::EmulatedPanel& panel) {
    const std::pair<const char*, QString> held[] = {
        {"+o", "FFFF"},
        {"+disp", "FE"},
        {"+pwlog", "FFFF00FEFEFFFFFFFF"},
        {"+timegpres", "0384"},
        {"+gphon0", "*99***1#"},
        {"+GAPN0", QString(30, 'a')},
        {"+gprsname0", QString(30, 'u')},
        {"+gprspswd0", "p"},
        {"+ps", "ZZZZZZZZ"},
        {"+IPadr", "255.255.255.255"},
        {"+IPport", "65535"},
        {"+IP1adr", "0.0.0.0"},
        {"+IP1port", "1"},
        {"+gprsena", "00"},
        {"+alphon0", "110007=111"},
        {"+alphon1", "120008=222"},
        {"+alphon2", "210009=333"},
        {"+alphon3", "220001=" + QString(30, '9')},
        {"+alphon4", "310006=666"},
        {"+alphon5", "320005=555"},
        {"+alphon6", "410002=2"},
        {"+alphon7", "420000="},
        {"+JDIR", "00"},
        {"+enaing", "00"},
        {"+phing0", "+" + QString(29, '7')},
        {"+phing4", "1"},
        {"+smstext0", "Тревога: секция 8, шлейф 99 — «ёЁ»"},
        {"+smstext5", "Z"},
        {"+n00", "199901002"},
        {"+n02", "000900999"},
        {"+presstime", "0C"},
    };
    for (const auto& [name, value] : held) {
        if (!panel.storeParameterBytes(name, emu::cp1251::encode(value)))
            return false;
    }
    return true;
}

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
    // The command line reads `panel` into the file `name`, which holds each
    // of `expected`; its lines go to `lines`.
    void readHolding(emu::EmulatedPanel& panel, const QString& name, std::initializer_list<const char*> expected,
                     QStringList* lines = nullptr) {
        const CliRun r = run({"read", "--port", panel.slavePath(), "--out", path(name)});
        ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
        const QStringList read = fileLines(name);
        for (const char* line : expected)
            EXPECT_TRUE(read.contains(QString::fromLatin1(line))) << line;
        if (lines)
            *lines = read;
    }
    // The file `name` written to `panel` leaves it holding `held`, and diff
    // then finds nothing to change.
    void writeGivesBack(emu::EmulatedPanel& panel, const QString& name,
                        const std::vector<std::pair<QString, QByteArray>>& held) {
        const CliRun w = run({"write", "--port", panel.slavePath(), "--erase-journal", path(name)});
        ASSERT_EQ(w.code, ceOk) << w.err.toStdString();
        for (const auto& [command, value] : held)
            EXPECT_EQ(panel.parameterBytes(command), value) << command.toStdString();
        const CliRun same = run({"diff", "--port", panel.slavePath(), path(name)});
        EXPECT_EQ(same.code, ceOk) << same.out.toStdString();
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

    // The empty texts compare equal with the panel's; only the empty
    // reserve address differs, since a write fills it with the main one.
    const CliRun same = run({"diff", "--port", panel->slavePath(), path("empty.ini")});
    EXPECT_EQ(same.code, ceDifferent) << same.out.toStdString() << same.err.toStdString();
    EXPECT_EQ(same.out, PageName(ptGPRS) + ": IP адрес резервный [+IP1adr]: в панели «», в файле "
                                           "«127.000.000.001»\n");

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
    const QByteArray entries[] = {"110007=111", "120008=222", "130009=333", "140002=444",
                                  "150000=",    "160000=",    "170000=",    "180000="};
    std::vector<std::pair<QString, QByteArray>> held;
    for (int i = 0; i < 8; ++i) {
        held.emplace_back(QString("+alphon%1").arg(i), entries[i]);
        ASSERT_TRUE(wide->storeParameterBytes(held.back().first, entries[i]));
    }

    QStringList lines;
    ASSERT_NO_FATAL_FAILURE(readHolding(
        *wide, "wide.ini", {"CCombo1=6", "CCode1=7", "CCombo2=-1", "CCode2=8", "CCombo3=-1", "CCode3=9"}, &lines));
    EXPECT_FALSE(lines.contains("CCode4=2")) << "a code an item writes needs no key of its own";

    for (const auto& [command, value] : held)
        ASSERT_TRUE(wide->storeParameterBytes(command, "110002=5"));
    writeGivesBack(*wide, "wide.ini", held);
}

// An autotest period beyond the lists (30 h 5 min, restart event on) goes
// through the command line's own file and back to a panel that held the
// defaults; diff tells the two apart.
TEST_F(CliValues, AnAutotestPeriodBeyondTheListsGoesBackAsItCame) {
    emu::PanelSettings settings = QuickPanelSettings();
    settings.periodsToFE = true;
    const std::unique_ptr<emu::EmulatedPanel> longer = StartEmulatedPanel(settings);
    ASSERT_TRUE(longer->storeParameterBytes("+pwlog", "FFFF001E05FFFFFFFF"));
    ASSERT_NO_FATAL_FAILURE(readHolding(*longer, "period.ini", {"Hour=23", "HourKept=30", "Min=5", "Reboot=1"}));

    longer->resetParameters();
    const CliRun differs = run({"diff", "--port", longer->slavePath(), path("period.ini")});
    EXPECT_EQ(differs.code, ceDifferent) << differs.err.toStdString();
    writeGivesBack(*longer, "period.ini", {{"+pwlog", "FFFF001E05FFFFFFFF"}});
}

// diff tells where writing the file would change the panel: rows with a
// free one between them differ from their own file (the write packs them),
// and numbers written alike are equal however the file spells them.
TEST_F(CliValues, DiffComparesWhatAWriteWouldSend) {
    const QByteArray gap[] = {
        "110001=111", "120000=", "310005=333", "320000=", "330000=", "340000=", "350000=", "360000="};
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(panel->storeParameterBytes(QString("+alphon%1").arg(i), gap[i]));
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", path("gap.ini")}).code, ceOk);

    CliRun r = run({"diff", "--port", panel->slavePath(), path("gap.ini")});
    EXPECT_EQ(r.code, ceDifferent) << r.err.toStdString();
    const QString channels = PageName(ptChannels);
    EXPECT_TRUE(r.out.contains(channels + ": Параметр направления 2 [+alphon1]: в панели «120000=», в файле "
                                          "«120005=333»"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("[+alphon2]: в панели «310005=333», в файле «130000=»"))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("[+alphon0]")) << "a row a write leaves alone";
    EXPECT_FALSE(r.out.contains(PageName(ptCommon))) << r.out.toStdString();

    ASSERT_EQ(run({"write", "--port", panel->slavePath(), "--erase-journal", path("gap.ini")}).code, ceOk);
    EXPECT_EQ(panel->parameterBytes("+alphon1"), "120005=333");
    EXPECT_EQ(panel->parameterBytes("+alphon2"), "130000=");
    r = run({"diff", "--port", panel->slavePath(), path("gap.ini")});
    EXPECT_EQ(r.code, ceOk) << r.out.toStdString();
    EXPECT_TRUE(r.err.endsWith("Различий нет\n")) << r.err.toStdString();

    // The same numbers with zeros in front: loaded, they are the panel's.
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", path("forms.ini")}).code, ceOk);
    QStringList lines = fileLines("forms.ini");
    int padded = 0;
    for (QString& line : lines) {
        for (const char* key : {"Disp=", "Time=", "Hour=", "Min=", "Reboot=", "Move=", "Online="}) {
            if (line.startsWith(QLatin1String(key))) {
                line.insert(int(qstrlen(key)), "00");
                ++padded;
            }
        }
    }
    ASSERT_EQ(padded, 7);
    ASSERT_TRUE(lines.contains("Disp=000")) << lines.join(' ').toStdString();
    ASSERT_TRUE(TSettingsFile(lines).Write(path("forms.ini")));
    r = run({"diff", "--port", panel->slavePath(), path("forms.ini")});
    EXPECT_EQ(r.code, ceOk) << r.out.toStdString();
    EXPECT_EQ(r.out, "");

    // A setting the file changes is told by its caption, with both values as
    // loading gives them.
    const int hour = SettingsValue(lines, "Hour").toInt();
    const int other = hour == 5 ? 6 : 5;
    lines.replaceInStrings(QRegularExpression("^Hour=.*"), QString("Hour=000%1").arg(other));
    ASSERT_TRUE(TSettingsFile(lines).Write(path("forms.ini")));
    r = run({"diff", "--port", panel->slavePath(), path("forms.ini")});
    EXPECT_EQ(r.code, ceDifferent);
    EXPECT_EQ(
        r.out.split('\n', Qt::SkipEmptyParts),
        QStringList{
            PageName(ptSystemEvents) +
            QString(": Период автотеста: Часов [Hour]: в панели «%1», в файле «%2»").arg(hour).arg(other)});

    // A value beyond its list that the write would not send anyway (the
    // dispatcher link off): the panel would not change, and diff says so,
    // telling the value as write does.
    ASSERT_TRUE(panel->storeParameterBytes("+disp", "FF"));
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", path("off.ini")}).code, ceOk);
    lines = fileLines("off.ini");
    lines.replaceInStrings(QRegularExpression("^Time=.*"), "Time=300");
    lines.replaceInStrings(QRegularExpression("^Disp=.*"), "Disp=0");
    ASSERT_TRUE(TSettingsFile(lines).Write(path("off.ini")));
    r = run({"diff", "--port", panel->slavePath(), path("off.ini")});
    EXPECT_EQ(r.code, ceOk) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("значение Time=300 вне допустимых")) << r.err.toStdString();
    r = run({"write", "--port", panel->slavePath(), "--erase-journal", path("off.ini")});
    EXPECT_EQ(r.code, ceExchangeFailed) << "a value of the file not taken: the write is not done";
    EXPECT_EQ(panel->parameterBytes("+disp"), "FF");
}

// A panel holding values at the edges of the lists and beyond them: read
// into a file by the command line, written to a panel
// that held other values, that panel ends up equal to the first, parameter
// for parameter, and the file compares equal with both.
TEST_F(CliValues, AFileGivesAnotherPanelExactlyWhatTheFirstHeld) {
    const std::unique_ptr<emu::EmulatedPanel> first = StartEmulatedPanel(WidePanelSettings());
    const std::unique_ptr<emu::EmulatedPanel> second = StartEmulatedPanel(WidePanelSettings());
    ASSERT_TRUE(StoreEdgeValues(*first));

    const CliRun r = run({"read", "--port", first->slavePath(), "--out", path("edges.ini")});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    const CliRun w = run({"write", "--port", second->slavePath(), "--erase-journal", path("edges.ini")});
    ASSERT_EQ(w.code, ceOk) << w.err.toStdString();
    for (const QString& name : first->parameterNames())
        EXPECT_EQ(second->parameterBytes(name), first->parameterBytes(name)) << name.toStdString();
    for (const emu::EmulatedPanel* p : {first.get(), second.get()}) {
        const CliRun same = run({"diff", "--port", p->slavePath(), path("edges.ini")});
        EXPECT_EQ(same.code, ceOk) << same.out.toStdString();
    }
}

// The same through the window: Прочитать все, Сохранить в файл, then on
// another panel Загрузить из файла and Записать все.
TEST_F(CliValues, TheWindowGivesAnotherPanelExactlyWhatTheFirstHeld) {
    panel = StartEmulatedPanel(WidePanelSettings());
    ASSERT_TRUE(StoreEdgeValues(*panel));
    const std::unique_ptr<emu::EmulatedPanel> second = StartEmulatedPanel(WidePanelSettings());

    auto w = makeWindow();
    connectWindow(*w);
    ASSERT_TRUE(w->Connected());
    w->ReadAllActionExecute();
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    {
        FileDialogAnswers answers({path("window.ini")});
        w->SaveSettingsActionExecute();
        EXPECT_TRUE(answers.used());
    }
    disconnectWindow(*w);

    connectWindow(*w, [&](TConnectForm& d) { pressConnect(d, second->slavePath()); });
    ASSERT_TRUE(w->Connected());
    {
        FileDialogAnswers answers({path("window.ini")});
        w->LoadSettingsActionExecute();
        EXPECT_TRUE(answers.used());
    }
    w->WriteAllActionExecute();
    EXPECT_TRUE(w->ErrorListForm()->isHidden()) << w->ErrorListForm()->Items().join(", ").toStdString();
    disconnectWindow(*w);
    for (const QString& name : panel->parameterNames())
        EXPECT_EQ(second->parameterBytes(name), panel->parameterBytes(name)) << name.toStdString();
}

// A number beyond its list in a file: the page takes every other key of
// the file and writes it; that value's control has no selection, nothing
// is made up for it, the line is told and the write is not done.
TEST_F(CliValues, ANumberBeyondItsListLeavesTheRestOfTheFileToBeWritten) {
    const CliRun r = run({"read", "--port", panel->slavePath(), "--out", path("base.ini")});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    const auto edited = [&](const QString& name, const std::vector<std::pair<QString, QString>>& values) {
        QStringList lines = fileLines("base.ini");
        for (QString& line : lines) {
            for (const auto& [key, value] : values) {
                if (line.startsWith(key + QLatin1Char('=')))
                    line = key + QLatin1Char('=') + value;
            }
        }
        EXPECT_TRUE(TSettingsFile(lines).Write(path(name)));
        return path(name);
    };
    const struct {
        const char* what;
        std::vector<std::pair<QString, QString>> file;
        QStringList told;
        std::vector<std::pair<const char*, QByteArray>> panelAfter;
    } cases[] = {
        {"the dispatcher's time beyond its list, the link on: +disp is not sent",
         {{"Object", "0077"}, {"Disp", "1"}, {"Time", "300"}},
         {"Time=300"},
         {{"+o", "0077"}, {"+disp", "0A"}}},
        {"the link off needs no time: +dispFF",
         {{"Object", "0077"}, {"Disp", "0"}, {"Time", "300"}},
         {"Time=300"},
         {{"+o", "0077"}, {"+disp", "FF"}}},
        {"a switch neither on nor off is not sent",
         {{"Object", "0078"}, {"Disp", "2"}, {"Time", "5"}, {"EnableEng", "7"}, {"Reboot", "3"}},
         {"Disp=2", "Reboot=3", "EnableEng=7"},
         {{"+o", "0078"}, {"+disp", "0A"}, {"+enaing", "00"}, {"+pwlog", "FFFF00FF05FFFFFFFF"}}},
        {"an alarm type beyond its list: the enable bit still goes out",
         {{"Enable1", "1"}, {"Alarm1", "500"}, {"AKBmessage", "0"}, {"HoldTime", "9"}},
         {"Alarm1=500", "HoldTime=9"},
         {{"+X", "01"}, {"+n00", "313101002"}, {"+presstime", "06"}}},
        {"a pause beyond its list is not sent as five minutes",
         {{"GPRSPause", "40"}, {"Object", "0079"}},
         {"GPRSPause=40"},
         {{"+o", "0079"}, {"+timegpres", "0258"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        panel->resetParameters();
        // The panel holds values the file's own would overwrite.
        for (const auto& [command, value] :
             std::initializer_list<std::pair<const char*, QByteArray>>{{"+disp", "0A"},
                                                                       {"+enaing", "00"},
                                                                       {"+pwlog", "FFFF00FF05FFFFFFFF"},
                                                                       {"+n00", "313101002"},
                                                                       {"+presstime", "06"},
                                                                       {"+timegpres", "0258"}})
            ASSERT_TRUE(panel->storeParameterBytes(command, value));
        const QString file = edited(QStringLiteral("edited.ini"), c.file);
        const CliRun w = run({"write", "--port", panel->slavePath(), "--erase-journal", file});
        EXPECT_EQ(w.code, ceExchangeFailed) << w.err.toStdString();
        for (const QString& line : c.told)
            EXPECT_TRUE(w.err.contains(RefusedValueText(file, line))) << line.toStdString() << "\n"
                                                                      << w.err.toStdString();
        for (const auto& [command, value] : c.panelAfter)
            EXPECT_EQ(panel->parameterBytes(command), value) << command;
    }
}

// An alarm code no item carries and a hold time no item stands for go
// through the command line's own file in keys of their own, and its write
// gives a panel that held other values exactly what the first one held.
TEST_F(CliValues, AlarmValuesWithoutAnItemGoBackAsTheyCame) {
    panel->setOddValues(true);
    const std::vector<std::pair<QString, QByteArray>> odd = {
        {"+n00", "199901002"},
        {"+n02", "000900999"},
        {"+presstime", "0C"},
    };
    for (const auto& [command, value] : odd)
        ASSERT_TRUE(panel->storeParameterBytes(command, value));
    ASSERT_NO_FATAL_FAILURE(readHolding(*panel, "odd.ini",
                                        {"Alarm1=-1", "AlarmCode1=1999", "Alarm2=-1", "AlarmCode2=0009",
                                         "HoldTime=-1", "HoldTimeKept=0C"}));

    panel->resetParameters();
    const CliRun differs = run({"diff", "--port", panel->slavePath(), path("odd.ini")});
    EXPECT_EQ(differs.code, ceDifferent) << differs.err.toStdString();
    writeGivesBack(*panel, "odd.ini", odd);
}

// Values of no hexadecimal the lists can show: a hold time that is no
// hexadecimal number, a dispatcher time above FF, a restart field that is
// no switch value. None is a failed read; each is kept and goes back
// through the command line's own file exactly as the panel gave it.
TEST_F(CliValues, ValuesNoListShowsAreKeptAndGoBackAsTheyCame) {
    panel->setOddValues(true);
    const std::vector<std::pair<QString, QByteArray>> odd = {
        {"+presstime", "G1"},
        {"+disp", "1FF"},
        {"+pwlog", "FFFFZZ051EFFFFFFFF"},
    };
    for (const auto& [command, value] : odd)
        ASSERT_TRUE(panel->storeParameterBytes(command, value));
    ASSERT_NO_FATAL_FAILURE(readHolding(*panel, "odd.ini",
                                        {"HoldTime=-1", "HoldTimeKept=G1", "Disp=1", "Time=-1", "DispKept=1FF",
                                         "Hour=5", "Min=30", "Reboot=1", "RebootKept=ZZ"}));

    panel->resetParameters();
    writeGivesBack(*panel, "odd.ini", odd);
}

} // namespace
