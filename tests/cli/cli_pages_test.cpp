// tarvik1-cli read, write and diff against the emulated panel: the file the
// command line writes is the window's byte for byte; a write puts a kept
// configuration back, and one that would erase the journal is refused
// without --erase-journal; diff tells key by key; the failures' exit codes;
// the program itself without a display; the settings file to standard
// output; --quiet and --version.
#include "../mainwindow/file_dialogs.h"
#include "../mainwindow/main_window_fixture.h"
#include "cli/CliPageList.h"
#include "cli/CliPages.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "hostile_files.h"
#include "pages/SettingsFile.h"
#include "pages/StringConsts.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <map>

namespace {

std::map<QString, QByteArray> PanelState(emu::EmulatedPanel& panel) {
    std::map<QString, QByteArray> state;
    for (const QString& name : panel.parameterNames())
        state[name] = panel.parameterBytes(name);
    return state;
}

QByteArray BytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CliPages : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(scratch.isValid());
    }

    CliRun run(QStringList args) { return RunCaught(RunCliWithPages, args, timings); }
    QString path(const QString& name) const { return scratch.filePath(name); }

    // The panel changed away from its factory state here and there.
    void changePanel() {
        ASSERT_TRUE(panel->setParameter("+o", "4321"));
        ASSERT_TRUE(panel->setParameter("+IPadr", "010.000.000.001"));
        ASSERT_TRUE(panel->setParameter("+enaing", "00"));
        ASSERT_TRUE(panel->setParameter("+phing1", "5551234"));
        ASSERT_TRUE(panel->setParameter("+smstext2", QString::fromUtf8("Изменено = вот так")));
        ASSERT_TRUE(panel->setParameter("+alphon0", "110002=+79990000000"));
    }

    QTemporaryDir scratch;
};

TEST_F(CliPages, ReadWritesTheWindowsFileByteForByte) {
    changePanel();
    const QString window = path("window.ini");
    {
        auto w = makeWindow();
        connectWindow(*w);
        ASSERT_TRUE(w->Connected());
        w->ReadAllActionExecute();
        FileDialogAnswers answers({window});
        w->SaveSettingsActionExecute();
        disconnectWindow(*w);
    }
    const QString cli = path("cli.ini");
    const CliRun r = run({"read", "--port", panel->slavePath(), "--out", cli});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    ASSERT_FALSE(BytesOf(window).isEmpty());
    EXPECT_EQ(BytesOf(cli), BytesOf(window));
    EXPECT_TRUE(BytesOf(cli).startsWith("Object=4321\r\n"));
    // Progress per page, in page order, and nothing else to tell.
    QStringList progress;
    for (int tag = ptCommon; tag <= ptSMS; ++tag)
        progress << "Чтение: " + PageName(tag);
    progress << "Настройки записаны в файл " + cli;
    EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts), progress);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));

    // Some pages: their lines alone, in page order, whatever the list's.
    const CliRun some = run({"read", "--port", panel->slavePath(), "--out", path("some.ini"), "--pages",
                             "sms, Общие настройки,6"});
    ASSERT_EQ(some.code, ceOk) << some.err.toStdString();
    TSettingsFile all, part;
    ASSERT_TRUE(all.Read(cli));
    ASSERT_TRUE(part.Read(path("some.ini")));
    EXPECT_EQ(part.Lines(), all.Lines().mid(0, 3) + all.Lines().mid(all.Lines().size() - 6));
}

TEST_F(CliPages, WriteBringsAKeptConfigurationBack) {
    const QString kept = path("kept.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", kept}).code, ceOk);
    const std::map<QString, QByteArray> saved = PanelState(*panel);
    const int records = panel->journalLines().size();
    changePanel();

    // The Channels page erases the journal: refused without the word for it,
    // before the port is even opened.
    panel->clearRecords();
    CliRun r = run({"write", "--port", panel->slavePath(), kept});
    EXPECT_EQ(r.code, ceUsage);
    EXPECT_TRUE(r.err.contains("--erase-journal")) << r.err.toStdString();
    EXPECT_TRUE(panel->receivedLines().isEmpty());

    // Without the Channels page: everything else, the journal kept.
    r = run({"write", "--port", panel->slavePath(), kept, "--pages", "0,1,2,alarm-buttons,5,6"});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    std::map<QString, QByteArray> now = PanelState(*panel);
    EXPECT_EQ(now["+alphon0"], "110002=+79990000000");
    now["+alphon0"] = saved.at("+alphon0");
    EXPECT_EQ(now, saved);
    EXPECT_EQ(panel->commandCount("+erase"), 0);
    EXPECT_EQ(panel->journalLines().size(), records);

    // All pages with the erase confirmed: the kept configuration whole.
    changePanel();
    r = run({"write", "--port", panel->slavePath(), kept, "--erase-journal"});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(PanelState(*panel), saved);
    EXPECT_EQ(panel->commandCount("+erase"), 1);
    EXPECT_TRUE(panel->journalLines().isEmpty() || panel->journalPointer() == 0);
    for (int tag = ptCommon; tag <= ptSMS; ++tag)
        EXPECT_TRUE(r.err.contains("Запись: " + PageName(tag))) << tag;
    EXPECT_TRUE(
        r.err.contains(PageName(ptChannels) + ": При записи история прибора будет очищена, продолжать? — да"))
        << r.err.toStdString();
}

TEST_F(CliPages, AFileOfSomePagesWritesThosePagesAlone) {
    const QString part = path("part.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", part, "--pages", "gprs,sms"}).code, ceOk);
    const std::map<QString, QByteArray> saved = PanelState(*panel);
    changePanel();
    std::map<QString, QByteArray> changed = PanelState(*panel);

    // No --pages: the file's pages are written (no erase to confirm), the
    // others left as the panel has them, not put on their defaults.
    panel->clearRecords();
    CliRun r = run({"write", "--port", panel->slavePath(), part});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Страниц нет в файле, они пропущены: " + PageName(ptCommon) + ", " +
                               PageName(ptSystemEvents) + ", " + PageName(ptChannels)))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Запись: " + PageName(ptCommon)));
    EXPECT_EQ(panel->writeCount("+o"), 0);
    for (const char* gprsOrSms : {"+IPadr", "+smstext2"})
        changed[gprsOrSms] = saved.at(gprsOrSms);
    EXPECT_EQ(PanelState(*panel), changed);

    // diff likewise compares the pages the file holds.
    r = run({"diff", "--port", panel->slavePath(), part});
    EXPECT_EQ(r.code, ceOk) << r.out.toStdString() << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Чтение: " + PageName(ptCommon)));

    // Named with --pages, a page the file lacks is loaded as a load does
    // it (its defaults) and written; the Channels page still needs the word.
    EXPECT_EQ(run({"write", "--port", panel->slavePath(), part, "--pages", "channels"}).code, ceUsage);
    r = run({"write", "--port", panel->slavePath(), part, "--pages", "common"});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(panel->parameter("+o"), "0050");

    // A file with no page's setting writes nothing.
    ASSERT_TRUE(TSettingsFile(QStringList{"Comment=1"}).Write(path("none.ini")));
    panel->clearRecords();
    for (const char* command : {"write", "diff"}) {
        r = run({command, "--port", panel->slavePath(), path("none.ini")});
        EXPECT_EQ(r.code, ceSettingsFileFailed) << command;
        EXPECT_TRUE(r.err.contains("нет настроек ни одной страницы")) << r.err.toStdString();
    }
    EXPECT_TRUE(panel->receivedLines().isEmpty());
}

TEST_F(CliPages, DiffTellsKeyByKey) {
    const QString kept = path("kept.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", kept}).code, ceOk);
    CliRun r = run({"diff", "--port", panel->slavePath(), kept});
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts).last(), "Различий нет");

    ASSERT_TRUE(panel->setParameter("+o", "4321"));
    // A file without the SMS page's third text, and a line no page uses.
    TSettingsFile file;
    ASSERT_TRUE(file.Read(kept));
    QStringList lines = file.Lines();
    lines.removeIf([](const QString& l) { return l.startsWith("SMS3="); });
    lines << "Comment=1";
    ASSERT_TRUE(TSettingsFile(lines).Write(path("less.ini")));
    r = run({"diff", "--port", panel->slavePath(), path("less.ini")});
    EXPECT_EQ(r.code, ceDifferent) << r.err.toStdString();
    EXPECT_EQ(r.out.split('\n', Qt::SkipEmptyParts),
              (QStringList{"Общие настройки: Номер объекта [Object]: в панели «4321», в файле «0050»",
                           "Настройка СМС: Текст СМС 3 (Разряд АКБ) [SMS3]: в панели «Разряд АКБ», в файле "
                           "нет ключа"}));
    EXPECT_TRUE(r.err.endsWith("Различий: 2\n"));

    // Only the pages asked for are compared.
    r = run({"diff", "--port", panel->slavePath(), path("less.ini"), "--pages", "sms"});
    EXPECT_EQ(r.code, ceDifferent);
    EXPECT_FALSE(r.out.contains("Object"));
    EXPECT_FALSE(r.err.contains("Чтение: " + PageName(ptCommon)));
    EXPECT_TRUE(panel->writeCount("+o") == 0) << "diff writes nothing";
}

TEST_F(CliPages, FailuresHaveTheirOwnExitCodes) {
    const QString kept = path("kept.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", kept}).code, ceOk);
    QFile damaged(path("damaged.ini"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("Object=0051\r\nSMS1=\x98\r\n");
    damaged.close();

    // A file that cannot be read: told, and nothing sent.
    for (const QString& file : {path("missing.ini"), path("damaged.ini")}) {
        panel->clearRecords();
        for (const QStringList& args :
             {QStringList{"write", "--port", panel->slavePath(), file, "--erase-journal"},
              QStringList{"diff", "--port", panel->slavePath(), file}}) {
            const CliRun r = run(args);
            EXPECT_EQ(r.code, ceSettingsFileFailed) << args.join(' ').toStdString();
            EXPECT_TRUE(r.err.contains(file)) << r.err.toStdString();
        }
        EXPECT_TRUE(panel->receivedLines().isEmpty());
    }

    // A file that cannot be written after the read (a folder of that name).
    const QString folder = path("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    CliRun r = run({"read", "--port", panel->slavePath(), "--out", folder});
    EXPECT_EQ(r.code, ceSettingsFileFailed);
    EXPECT_TRUE(r.err.contains("Не удалось записать файл настроек " + folder)) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A parameter the panel does not give: named, and no file (read) or no
    // comparison (diff).
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    timings.TimeOutCapMs = 200;
    timings.LateMs = 400;
    r = run({"read", "--port", panel->slavePath(), "--out", path("partial.ini")});
    EXPECT_EQ(r.code, ceExchangeFailed);
    EXPECT_TRUE(r.err.contains(PageName(ptCommon) + ": не прочитано: Номер объекта")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("partial.ini")));
    r = run({"diff", "--port", panel->slavePath(), kept});
    EXPECT_EQ(r.code, ceNotAllRead);
    EXPECT_EQ(r.out, "");

    // Command lines that make no sense.
    const std::vector<QStringList> wrong{
        {"read", "--port", panel->slavePath()},
        {"read", "--port", panel->slavePath(), "--out", path("x.ini"), "--pages", "История"},
        {"read", "--port", panel->slavePath(), "--out", path("x.ini"), "--pages", "8"},
        {"read", "--out", path("x.ini")},
        {"diff", "--port", panel->slavePath()},
        {"diff", "--port", panel->slavePath(), kept, "more"},
    };
    for (const QStringList& args : wrong)
        EXPECT_EQ(run(args).code, ceUsage) << args.join(' ').toStdString();
}

// A file that could never be written is told before the panel is reached:
// nothing is sent, a FIFO stays a FIFO, and a link another user planted in
// a shared folder leads nowhere.
TEST_F(CliPages, FilesThatCannotBeWrittenAreRefusedBeforeThePanelIsAsked) {
    const QString slave = panel->slavePath();
    const QString fifo = path("fifo.csv");
    ASSERT_TRUE(MakeFifo(fifo));
    const QString notRegular = ": это именованный канал (FIFO), а не обычный файл";
    struct Case {
        QStringList args;
        int code;
        QString error;
    };
    std::vector<Case> cases{
        {{"read", "--port", slave, "--out", fifo},
         ceSettingsFileFailed,
         "Не удалось записать файл настроек " + fifo + notRegular},
        {{"journal", "--port", slave, "--out", fifo},
         ceOutputFailed,
         "Не удалось записать файл " + fifo + notRegular},
        {{"send", "--port", slave, "--log", fifo, "+o"},
         ceLogFailed,
         "Не удалось записать журнал обмена " + fifo + notRegular},
    };
    const QString victim = path("victim.ini");
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the user's own file");
    }
    if (RunningAsRoot()) {
        const QString shared = path("shared");
        ASSERT_TRUE(MakeSharedFolder(shared));
        const QString planted = " в общей папке принадлежит другому пользователю (uid %1)";
        for (const QString name : {"panel.ini", "journal.xlsx", "session.log"})
            ASSERT_TRUE(PlantLink(victim, shared + '/' + name, kStrangerUid));
        const QString link = shared + "/panel.ini";
        cases.push_back({{"read", "--port", slave, "--out", shared + "/panel.ini"},
                         ceSettingsFileFailed,
                         "Не удалось записать файл настроек " + link + ": символьная ссылка " + link +
                             planted.arg(kStrangerUid)});
        const QString sheet = shared + "/journal.xlsx";
        cases.push_back({{"journal", "--port", slave, "--all", "--out", sheet},
                         ceOutputFailed,
                         "Не удалось записать файл " + sheet + ": символьная ссылка " + sheet +
                             planted.arg(kStrangerUid)});
        const QString log = shared + "/session.log";
        cases.push_back({{"identify", "--port", slave, "--log", log},
                         ceLogFailed,
                         "Не удалось записать журнал обмена " + log + ": символьная ссылка " + log +
                             planted.arg(kStrangerUid)});
    }
    for (const Case& c : cases) {
        panel->clearRecords();
        const CliRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(c.error)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << "told once: " << r.err.toStdString();
        EXPECT_TRUE(panel->receivedLines().isEmpty()) << c.args.join(' ').toStdString();
    }
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_EQ(ContentsOf(victim), "the user's own file");
}

// The settings file and the log hold the panel's passwords.
TEST_F(CliPages, FilesHoldingPasswordsAreTheOwnersAlone) {
    const mode_t mask = umask(022);
    const CliRun r = run({"read", "--port", panel->slavePath(), "--out", path("panel.ini"), "--pages", "gprs",
                          "--log", path("session.log")});
    umask(mask);
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_TRUE(ContentsOf(path("session.log")).contains("<< +ps"));
    EXPECT_EQ(ModeOf(path("panel.ini")), 0600);
    EXPECT_EQ(ModeOf(path("session.log")), 0600);
}

// NUL and escape sequences in a value never reach the panel: the file is
// refused whole, with its line and key, before the port is opened.
TEST_F(CliPages, ASettingsFileWithControlCharactersSendsNothing) {
    const QString kept = path("kept.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", kept, "--pages", "gprs"}).code, ceOk);
    TSettingsFile file;
    ASSERT_TRUE(file.Read(kept));
    QByteArray bytes = TSettingsFile::Encode(file.Lines());
    const qsizetype at = bytes.indexOf("Password=");
    ASSERT_GE(at, 0);
    bytes.insert(at + 9, QByteArray("\x00\x1B[2J", 5));
    const QString hostile = path("hostile.ini");
    {
        QFile f(hostile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const int line = int(bytes.left(at).count('\n')) + 1;
    for (const QString command : {"write", "diff"}) {
        panel->clearRecords();
        const CliRun r = run({command, "--port", panel->slavePath(), hostile});
        EXPECT_EQ(r.code, ceSettingsFileFailed) << command.toStdString();
        EXPECT_EQ(r.err, QStringLiteral("Не удалось прочитать файл настроек %1: строка %2 (ключ «Password») "
                                        "содержит управляющий символ с кодом 0x00\n")
                             .arg(hostile)
                             .arg(line));
        EXPECT_TRUE(panel->receivedLines().isEmpty()) << command.toStdString();
    }
}

TEST_F(CliPages, HostileLinesGiveNoWrongValue) {
    const QString clean = path("clean.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--pages", "channels", "--out", clean}).code, ceOk);

    // A modem's "+CREG: 0,1" before every entry's answer: the entry is its
    // value line, and the file is the clean one.
    emu::Faults f;
    f.lineBefore = "+CREG: 0,1";
    f.onlyCommand = "+alphon";
    panel->setFaults(f);
    const QString stray = path("stray.ini");
    CliRun r = run({"read", "--port", panel->slavePath(), "--pages", "channels", "--out", stray});
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(BytesOf(stray), BytesOf(clean));

    // A RING every 30 ms and "+disp" lost every time: the read ends with the
    // parameter named.
    f = {};
    f.chatterMs = 30;
    f.dropEvery = 1;
    f.onlyCommand = "+disp";
    panel->setFaults(f);
    timings.TimeOutCapMs = 200;
    r = run({"read", "--port", panel->slavePath(), "--pages", "common", "--out", path("chatter.ini")});
    EXPECT_EQ(r.code, ceExchangeFailed);
    EXPECT_TRUE(r.err.contains("не прочитано: Параметры диспетчерской связи")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("chatter.ini")));
}

struct PageListCase {
    const char* list;
    std::vector<int> tags;
    const char* error;
};

TEST(CliPageList, NamesTagsAndLatinNames) {
    const std::vector<PageListCase> cases{
        {"", {0, 1, 2, 3, 4, 5, 6}, nullptr},
        {"3", {3}, nullptr},
        {"sms,0", {0, 6}, nullptr},
        {" Каналы связи , GPRS ,channels", {2, 3}, nullptr},
        {"настройка смс,ALARM-BUTTONS,engineer-numbers,system-events,common", {0, 1, 4, 5, 6}, nullptr},
        {"7", {}, "Страница «История» не входит в файл настроек"},
        {"history", {}, "Страница «История» не входит в файл настроек"},
        {"common,,sms", {}, "Неизвестная страница «» в --pages"},
        {"-1", {}, "Неизвестная страница «-1» в --pages"},
        {"Общие", {}, "Неизвестная страница «Общие» в --pages"},
    };
    for (const PageListCase& c : cases) {
        std::vector<int> tags{42};
        QString error;
        const bool ok = ParsePageList(QString::fromUtf8(c.list), tags, error);
        EXPECT_EQ(ok, c.error == nullptr) << c.list;
        if (ok)
            EXPECT_EQ(tags, c.tags) << c.list;
        else
            EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.list;
    }
}

// The program as a script runs it: no display, no platform chosen.
TEST_F(CliPages, TheProgramNeedsNoDisplay) {
    QProcessEnvironment bare;
    bare.insert("PATH", "/usr/bin:/bin");
    bare.insert("HOME", scratch.path());
    bare.insert("LANG", "C.UTF-8");
    const auto program = [&](const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(bare);
        p.start(TARVIK_CLI_PROGRAM, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::make_tuple(p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                               QString::fromUtf8(p.readAllStandardError()));
    };
    const auto [help, helpOut, helpErr] = program({"--help"});
    EXPECT_EQ(help, 0) << helpErr.toStdString();
    EXPECT_TRUE(helpOut.contains("--erase-journal"));
    EXPECT_TRUE(helpOut.contains("13 diff"));

    const QString file = path("program.ini");
    const auto [read, readOut, readErr] = program({"read", "--port", panel->slavePath(), "--out", file});
    EXPECT_EQ(read, 0) << readErr.toStdString();
    EXPECT_TRUE(readErr.startsWith("Чтение: " + PageName(ptCommon) + "\n"))
        << "nothing from Qt itself: " << readErr.toStdString();
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", path("in-process.ini")}).code, ceOk);
    EXPECT_EQ(BytesOf(file), BytesOf(path("in-process.ini")));

    const auto [diff, diffOut, diffErr] = program({"diff", "--port", panel->slavePath(), file});
    EXPECT_EQ(diff, 0) << diffErr.toStdString();
}

// The program links no widgets and no GUI: nothing of Qt Gui or Qt Widgets
// is loaded, directly or through another library.
TEST(CliProgram, LinksNeitherQtWidgetsNorQtGui) {
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {TARVIK_CLI_PROGRAM});
    ASSERT_TRUE(ldd.waitForFinished(20000));
    ASSERT_EQ(ldd.exitCode(), 0) << ldd.readAllStandardError().toStdString();
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    ASSERT_TRUE(libraries.contains("libQt6Core")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Widgets")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Gui")) << libraries.toStdString();
}

// A write that switches the dispatcher link on, run as a script runs the
// program: standard error holds the command's own lines and nothing else,
// the same as the run inside the test prints.
TEST_F(CliPages, TheProgramsWriteTellsOnlyItsOwnLines) {
    const QString kept = path("kept.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", kept}).code, ceOk);
    TSettingsFile file;
    ASSERT_TRUE(file.Read(kept));
    QStringList lines = file.Lines();
    ASSERT_TRUE(lines.contains("Disp=0"));
    lines.replace(lines.indexOf("Disp=0"), "Disp=1");
    const QString dispatcher = path("dispatcher.ini");
    ASSERT_TRUE(TSettingsFile(lines).Write(dispatcher));
    const QByteArray before = panel->parameterBytes("+disp");

    QProcessEnvironment bare;
    bare.insert("PATH", "/usr/bin:/bin");
    bare.insert("HOME", scratch.path());
    bare.insert("LANG", "C.UTF-8");
    QProcess program;
    program.setProcessEnvironment(bare);
    const QStringList args{"write", "--port", panel->slavePath(), dispatcher, "--erase-journal"};
    program.start(TARVIK_CLI_PROGRAM, args);
    ASSERT_TRUE(program.waitForFinished(60000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), ceOk) << err.toStdString();
    EXPECT_EQ(program.readAllStandardOutput(), "");
    EXPECT_NE(panel->parameterBytes("+disp"), before) << "the link switched on";
    EXPECT_EQ(run({"diff", "--port", panel->slavePath(), dispatcher}).code, ceOk);

    const CliRun inProcess = run(args);
    ASSERT_EQ(inProcess.code, ceOk) << inProcess.err.toStdString();
    EXPECT_EQ(err, inProcess.err);
}

// --out -: the settings file's bytes (Windows-1251, CR LF) on standard
// output, as the file of the same pages holds them.
TEST_F(CliPages, ReadToStandardOutputGivesTheFilesBytes) {
    changePanel();
    for (const QStringList& pages : {QStringList{}, QStringList{"--pages", "gprs,sms"}}) {
        const QString file = path("file.ini");
        ASSERT_EQ(run(QStringList{"read", "--port", panel->slavePath(), "--out", file} + pages).code, ceOk);
        const CliBytesRun r =
            RunCaughtBytes(RunCliWithPages,
                           QStringList{"read", "--port", panel->slavePath(), "--out", "-"} + pages, timings);
        EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
        EXPECT_EQ(r.out, BytesOf(file)) << pages.join(' ').toStdString();
        EXPECT_TRUE(r.err.endsWith("Настройки выведены в стандартный вывод\n")) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("-")));
    }
    EXPECT_TRUE(BytesOf(path("file.ini")).contains("\xC8\xE7\xEC\xE5\xED\xE5\xED\xEE"))
        << "Изменено, in Windows-1251";

    QFile full("/dev/full");
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    const CliRun failed =
        RunOutputTo(full, RunCliWithPages, {"read", "--port", panel->slavePath(), "--out", "-"}, timings);
    EXPECT_EQ(failed.code, ceSettingsFileFailed);
    EXPECT_TRUE(failed.err.contains("Не удалось записать файл настроек стандартный вывод: "))
        << failed.err.toStdString();
}

// --quiet: only what went wrong on standard error; diff's differences stay
// on standard output, being what was asked for.
TEST_F(CliPages, QuietTellsOnlyWhatWentWrong) {
    const QString kept = path("kept.ini");
    CliRun r = run({"read", "--port", panel->slavePath(), "--out", kept, "--quiet"});
    EXPECT_EQ(r.code, ceOk);
    EXPECT_EQ(r.err, "");
    changePanel();
    r = run({"diff", "--port", panel->slavePath(), kept, "-q"});
    EXPECT_EQ(r.code, ceDifferent);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(
        r.out.startsWith("Общие настройки: Номер объекта [Object]: в панели «4321», в файле «0050»\n"))
        << r.out.toStdString();
    // A file of some pages, with the journal's erase: no page named, no question told.
    const QString part = path("part.ini");
    ASSERT_EQ(run({"read", "--port", panel->slavePath(), "--out", part, "--pages", "common,channels"}).code,
              ceOk);
    r = run({"write", "--port", panel->slavePath(), part, "--erase-journal", "--quiet"});
    EXPECT_EQ(r.code, ceOk);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");

    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    timings.TimeOutCapMs = 200;
    timings.LateMs = 400;
    r = run({"read", "--port", panel->slavePath(), "--out", path("partial.ini"), "--quiet"});
    EXPECT_EQ(r.code, ceExchangeFailed);
    EXPECT_EQ(r.err, PageName(ptCommon) + ": не прочитано: Номер объекта\nФайл " + path("partial.ini") +
                         " не записан: не все настройки прочитаны из панели\n");
}

TEST_F(CliPages, VersionWhateverTheCommand) {
    for (const QStringList& args : {QStringList{"--version"}, QStringList{"read", "--version"},
                                    QStringList{"flash", "--port", "/dev/null", "--version"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, ceOk) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, "tarvik1-cli " TARVIK_VERSION "\n");
        EXPECT_EQ(r.err, "");
    }
    QProcess cli;
    cli.start(TARVIK_CLI_PROGRAM, {"--version"});
    ASSERT_TRUE(cli.waitForFinished(20000));
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_EQ(cli.readAllStandardOutput(), "tarvik1-cli " TARVIK_VERSION "\n");
}

} // namespace
