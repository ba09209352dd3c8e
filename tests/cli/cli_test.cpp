// tarvik1-cli against the emulated panel: identify and send over the cable
// and through the modem, the log file, and the exit codes of its failures.
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "emulated_panel_fixture.h"
#include "panel/ConnectSequence.h"
#include "panel/DisconnectSequence.h"
#include "panel/LinkMessages.h"
#include "cli/LogFile.h"
#include "short_link_timings.h"
#include "test_wait.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

#include <algorithm>

namespace {

class Cli : public ::testing::Test {
protected:
    CliRun run(const QStringList& args) { return RunCaught(RunCli, args, timings); }

    ShortLinkTimings timings;
};

TEST_F(Cli, IdentifyOverCableAndModem) {
    for (const auto mode : {emu::LinkMode::Cable, emu::LinkMode::Modem}) {
        auto panel = StartEmulatedPanel(QuickPanelSettings(mode));
        const QStringList args =
            OverLink({"identify", "--port", panel->slavePath()}, mode, "+7 900 123-45-67");
        const CliRun r = run(args);
        const std::string m = emu::linkModeName(mode).toStdString();
        EXPECT_EQ(r.code, ceOk) << m << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("Версия: REV 07.700.125")) << m;
        EXPECT_TRUE(r.out.contains("Старший номер: 7\nМладший номер: 700\nВыпуск: 125")) << m;
        EXPECT_TRUE(r.out.contains("Память: M45PE16")) << m;
        EXPECT_TRUE(r.out.contains("Совместимость: да")) << m;
        // Disconnected as the tool does.
        EXPECT_TRUE(SessionClosed(*panel, mode)) << m;
    }
}

TEST_F(Cli, IncompatibleFirmwareHasItsOwnExitCode) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    panel->setVersionLine("REV 08.700.001");
    const CliRun r = run({"identify", "--port", panel->slavePath()});
    EXPECT_EQ(r.code, ceIncompatible);
    EXPECT_TRUE(r.out.contains("Совместимость: нет"));
    EXPECT_EQ(r.err, "Несовместимая оболочка\n");
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));
}

TEST_F(Cli, SendPrintsAnswersAndReadsTheSignalWithBothOks) {
    for (const auto mode : {emu::LinkMode::Cable, emu::LinkMode::Modem}) {
        auto panel = StartEmulatedPanel(QuickPanelSettings(mode));
        panel->setSignal(3, 7);
        const QStringList args =
            OverLink({"send", "--port", panel->slavePath(), "+o", "+o4321", "+o", "+U"}, mode, "5551234");
        const CliRun r = run(args);
        const std::string m = emu::linkModeName(mode).toStdString();
        EXPECT_EQ(r.code, ceOk) << m << r.err.toStdString();
        const QString before = panel->parameter("+o");
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 6) << m << r.out.toStdString();
        EXPECT_EQ(lines[2], "OK") << "the write's answer";
        EXPECT_EQ(lines[3], "4321") << "read back";
        EXPECT_TRUE(r.out.endsWith("0307\nOK\n")) << m << r.out.toStdString();
        EXPECT_EQ(before, "4321");
    }
}

TEST_F(Cli, SendRefusesAPanelTheWindowRefuses) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    panel->setVersionLine("REV 08.123.001");
    const CliRun r = run({"send", "--port", panel->slavePath(), "+o0077"});
    EXPECT_EQ(r.code, ceIncompatible);
    EXPECT_EQ(r.err, "Несовместимая оболочка: REV 08.123.001\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(panel->commandCount("+o"), 0) << "nothing written to the panel";
    EXPECT_EQ(panel->parameter("+o"), "0050");
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));
}

// Each argument of send is one command, and the commands that cannot be
// taken back go out only with --yes. Refused before the port is opened.
TEST_F(Cli, SendTakesOneCommandPerArgumentAndIrreversibleOnesOnlyWithYes) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    const QString port = panel->slavePath();
    struct Case {
        QStringList commands;
        bool yes;
        QString says;
    };
    const Case refused[] = {
        // A line end inside an argument would be a second command.
        {{"+o\r\n+erase"}, false, "Управляющий символ в команде «+o\\r\\n+erase»"},
        {{"+o\r\n+erase"}, true, "Управляющий символ в команде «+o\\r\\n+erase»"},
        {{"+o", "+disp\n"}, false, "Управляющий символ в команде «+disp\\n»"},
        {{"+o\x1b[2J"}, false, "Управляющий символ в команде «+o\\x1B[2J»"},
        {{"+erase"}, false, "Команда +erase очищает журнал событий панели"},
        {{"+o", " +ERASE"}, false, "Команда +ERASE очищает журнал событий панели"},
        {{"+BL"}, false, "Команда +BL переводит панель в загрузчик"},
        {{"+bl"}, false, "Команда +bl переводит панель в загрузчик"},
        {{"+BE"}, false, "Команда +BE стирает прошивку панели"},
        {{"+W0000:0102030405:01"}, false, "Команда +W0000:0102030405:01 записывает блок прошивки"},
        {{"+EEAB000000"}, false, "Команда +EEAB000000 завершает запись прошивки"},
    };
    for (const Case& c : refused) {
        QStringList args{"send", "--port", port};
        if (c.yes)
            args << "--yes";
        const CliRun r = run(args + c.commands);
        const std::string shown = c.commands.join(' ').toStdString();
        EXPECT_EQ(r.code, ceUsage) << shown;
        EXPECT_TRUE(r.err.startsWith(c.says)) << shown << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 2) << "the reason and the pointer to --help";
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(panel->receivedBytes().isEmpty()) << "the port was never opened";
    EXPECT_EQ(panel->journalLines().size(), 100);

    // Commands that merely begin like them are no such commands.
    CliRun r = run({"send", "--port", port, "+enaing", "+ps"});
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    // Confirmed, the erase goes out.
    r = run({"send", "--port", port, "--yes", "+erase"});
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(panel->commandCount("+erase"), 1);
    EXPECT_EQ(panel->journalLines().size(), 0);
}

// The port is the tool's alone, for root too: a second program (identify,
// send) is refused before it sends anything, and the program that has the
// port goes on with its session.
TEST_F(Cli, APortInUseIsRefusedAndTheProgramHoldingItGoesOn) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    const QString port = panel->slavePath();
    QString firstOut;
    QString firstErr;
    QTextStream out(&firstOut);
    QTextStream err(&firstErr);
    TCliOptions options;
    options.Port = port;
    TCliSession first(options, out, err, timings);
    ASSERT_EQ(first.Connect(), ceOk) << firstErr.toStdString();
    const QStringList before = panel->receivedLines();

    for (const QStringList& args :
         {QStringList{"identify", "--port", port}, QStringList{"send", "--port", port, "+o"}}) {
        QProcess second;
        second.start(TARVIK_CLI_PROGRAM, args);
        ASSERT_TRUE(second.waitForFinished(20000));
        EXPECT_EQ(second.exitCode(), cePortFailed) << args.first().toStdString();
        EXPECT_EQ(QString::fromUtf8(second.readAllStandardError()),
                  QStringLiteral("Не удалось открыть порт %1: порт занят другой программой: закройте её или "
                                 "выберите другой порт\n")
                      .arg(port));
        EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    }
    EXPECT_EQ(panel->receivedLines(), before) << "nothing of the second program reached the panel";

    EXPECT_EQ(first.Send({"+o"}), ceOk) << firstErr.toStdString();
    out.flush();
    EXPECT_EQ(firstOut, "0050\nOK\n");
    EXPECT_EQ(first.Finish(ceOk), ceOk);
    EXPECT_EQ(panel->receivedLines().count("CABLE DISCONNECT"), 1);
}

TEST_F(Cli, EveryAnswerGoesToItsOwnCommand) {
    // The panel answers "+o" after the time-out: the retry takes the late
    // answer, and "+disp" is asked only once the second one is in.
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    emu::Faults f;
    f.extraDelayMs = 300;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    timings.LateMs = 1200;
    CliRun r = run({"send", "--port", panel->slavePath(), "--timeout", "250", "+o", "+disp"});
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(r.out, "0050\nOK\nFF\nOK\n");

    // A refusal is a failure with its own message, never an "OK".
    panel->setFaults({});
    r = run({"send", "--port", panel->slavePath(), "+dispZZ", "+disp"});
    EXPECT_EQ(r.code, ceExchangeFailed);
    EXPECT_EQ(r.err, "Панель отвергла команду +dispZZ\n");
    EXPECT_EQ(r.out, "FF\nOK\n");
}

TEST_F(Cli, LineLostWhileIdentifyingEndsAtOnce) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    emu::Faults f;
    f.extraDelayMs = 2000;
    f.onlyCommand = "+v";
    panel->setFaults(f);
    timings.CableResendMs = 3000; // giving up would take 15 s
    const QString port = panel->slavePath();
    QTimer::singleShot(300, [&] { panel->stop(); });
    QElapsedTimer t;
    t.start();
    const CliRun r = run({"identify", "--port", port});
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(r.code, ceNoAnswer);
    EXPECT_EQ(r.err, LineLostMessage(port) + "\n");
}

// The modem's call drops in the middle of an answer ("NO CARRIER"): the
// panel is lost, said as for a port gone, and nothing more is sent.
TEST_F(Cli, ModemCallDroppedInAnAnswerEndsTheSend) {
    auto panel = StartEmulatedPanel(QuickPanelSettings(emu::LinkMode::Modem));
    emu::Faults f;
    f.hangupAt = 1;
    f.onlyCommand = "+disp";
    panel->setFaults(f);
    const QString port = panel->slavePath();
    const CliRun r = run({"send", "--port", port, "--modem", "5551234", "+o", "+disp", "+o"});
    EXPECT_EQ(r.code, ceExchangeFailed);
    EXPECT_EQ(r.err, LineLostMessage(port) + "\n");
    EXPECT_EQ(r.out, "0050\nOK\n");
    EXPECT_EQ(panel->commandCount("+o"), 1) << "nothing sent after the drop";
}

TEST_F(Cli, FailuresAreOneLineWithDistinctCodes) {
    struct Case {
        QStringList args;
        int code;
        QString errStart;
    };
    const Case cases[] = {
        {{}, ceUsage, "Не указана команда"},
        {{"frobnicate"}, ceUsage, "Неизвестная команда frobnicate"},
        {{"identify"}, ceUsage, "Не указан порт (--port)"},
        {{"send", "--port", "/dev/x"}, ceUsage, "Не указаны команды для панели"},
        {{"send", "--port", "/dev/x", "--timeout", "soon", "+o"}, ceUsage, "Неверное время ожидания: soon"},
        {{"identify", "--port"}, ceUsage, "Параметру --port нужно значение"},
        {{"identify", "--port", "/dev/tarvik-none"},
         cePortFailed,
         "Не удалось открыть порт /dev/tarvik-none: такого порта нет"},
        {{"identify", "--port", "/dev/x", "--modem", " "}, ceUsage, "Не указан номер телефона панели"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(c.errStart)) << r.err.toStdString();
    }
}

TEST_F(Cli, SilentPanelAndUnansweredCommand) {
    timings.CableResendMs = 30;
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    emu::Faults f;
    f.dropEvery = 1;
    panel->setFaults(f);
    CliRun r = run({"identify", "--port", panel->slavePath()});
    EXPECT_EQ(r.code, ceNoAnswer);
    EXPECT_EQ(r.err, "Панель не отвечает: Ошибка подключения\n");

    // Connected, but one command never gets its "OK".
    panel->setFaults({});
    f = {};
    f.missingOk = true;
    f.onlyCommand = "+disp";
    panel->setFaults(f);
    r = run({"send", "--port", panel->slavePath(), "--timeout", "50", "+disp", "+o"});
    EXPECT_EQ(r.code, ceExchangeFailed);
    EXPECT_EQ(r.err, "Нет ответа на команду +disp\n");
    EXPECT_TRUE(r.out.endsWith("OK\n")) << "the other command still ran";
}

TEST_F(Cli, ProgramWritesTheLogFile) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    QTemporaryDir dir;
    const QString logPath = dir.filePath("session.log");
    QProcess cli;
    cli.start(TARVIK_CLI_PROGRAM, {"send", "--port", panel->slavePath(), "--log", logPath, "+disp"});
    ASSERT_TRUE(cli.waitForFinished(20000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.readAllStandardOutput(), "FF\nOK\n");
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    for (const char* part : {"<< CABLE CONNECT\r\n", ">> REV 07.700.125\r\n", "<< +disp\r\n\r\n", ">> FF\r\n",
                             "<< CABLE DISCONNECT\r\n"})
        EXPECT_TRUE(text.contains(part)) << part;
    EXPECT_TRUE(QRegularExpression("^\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}<< CABLE CONNECT")
                    .match(QString::fromLatin1(text))
                    .hasMatch());
}

TEST_F(Cli, AChatteringLineHoldsNothingForEver) {
    // A RING every 30 ms, and "+o" lost every time: the line is never quiet,
    // yet "+o" fails after its attempts and "+disp" is asked and answered.
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    emu::Faults f;
    f.chatterMs = 30;
    f.dropEvery = 1;
    f.onlyCommand = "+o";
    panel->setFaults(f);
    const CliRun r = run({"send", "--port", panel->slavePath(), "--timeout", "200", "+o", "+disp"});
    EXPECT_EQ(r.code, ceExchangeFailed);
    EXPECT_EQ(r.err, "Нет ответа на команду +o\n");
    EXPECT_TRUE(r.out.endsWith("FF\nOK\n")) << r.out.toStdString();
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));
}

TEST_F(Cli, APanelThatAnswersTwiceGetsNoValueCreditedLate) {
    // Each answer comes again 300 ms later, most often after the next
    // command has gone out ("+typepan"'s copy lands on "+o", "+o"'s on
    // "+disp", and so on). None is of the next command's form: whatever the
    // timing, a command prints its own value or is named as failed, never
    // another command's value.
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    const QStringList commands = {"+o", "+disp", "+pwlog"};
    std::map<QString, QString> own;
    for (const QString& command : commands) {
        const CliRun clean = run({"send", "--port", panel->slavePath(), command});
        ASSERT_EQ(clean.code, ceOk) << command.toStdString();
        own[command] = clean.out;
    }
    emu::Faults f;
    f.answerTwice = true;
    f.answerTwiceGapMs = 300;
    f.onlyCommand = "+";
    panel->setFaults(f);
    // No resend while connecting: a resent "+typepan" would be answered
    // twice more, and a copy of "07" can pass for "+disp"'s two digits (a
    // repeat of the same form cannot be told apart).
    timings.CableResendMs = 2000;
    for (int round = 0; round < 3; ++round) {
        const CliRun r = run({"send", "--port", panel->slavePath(), "+o", "+disp", "+pwlog"});
        SCOPED_TRACE(r.out.toStdString() + r.err.toStdString());
        QString expected;
        int failed = 0;
        for (const QString& command : commands) {
            if (r.err.contains(QStringLiteral("команду %1 ").arg(command)))
                ++failed;
            else
                expected += own[command];
        }
        EXPECT_EQ(r.out, expected) << "only each command's own value is printed";
        EXPECT_GT(failed, 0) << "the copy of the identity's answer lands on +o at least";
        EXPECT_EQ(r.code, ceExchangeFailed);
        EXPECT_FALSE(r.err.contains("Нет ответа")) << "every command got an answer";
    }
}

TEST_F(Cli, LogUnderAFloodGoesToTheFileAsItComes) {
    // The panel floods the line once it has answered the session's first
    // command (after CABLE CONNECT, +v, +typepan and +o): the session writes
    // every line to the log file as it comes and keeps next to nothing of it
    // in memory.
    emu::PanelSettings settings = QuickPanelSettings();
    settings.faults.floodLine = "RING 0050 18 1130 01 005";
    settings.faults.floodAfter = 4;
    settings.faults.floodLines = 30000; // 750 kB on the line
    auto panel = StartEmulatedPanel(settings);
    QTemporaryDir dir;
    const QString logPath = dir.filePath("session.log");
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    TCliOptions options;
    options.Port = panel->slavePath();
    options.LogFile = logPath;
    TCliSession session(options, outStream, errStream, timings);
    ASSERT_EQ(session.Connect(), ceOk);
    ASSERT_NE(session.LogFile(), nullptr);
    EXPECT_EQ(session.Send({"+o"}), ceOk);
    // Each line of the flood is 52 bytes in the log: the stamp, ">> ", the
    // line, CR LF. The panel's answer to CABLE DISCONNECT comes after the
    // whole flood.
    ASSERT_TRUE(waitUntil(
        [&] { return panel->floodLinesSent() == 30000 && session.LogFile()->Size() >= 30000 * 52; }, 20000));
    EXPECT_LE(session.LogFile()->Buffered(), 64 * 1024) << "the log is on its way to the disk, not in memory";
    EXPECT_FALSE(QFile::exists(logPath)) << "the log takes its place at the end";
    EXPECT_EQ(session.Finish(ceOk), ceOk);

    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    const QRegularExpression ring(
        "^\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}>> RING 0050 18 1130 01 005\r$");
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [&](const QByteArray& l) { return ring.match(QString::fromLatin1(l)).hasMatch(); }),
        30000);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QByteArray& l) {
        return l.endsWith("<< CABLE DISCONNECT\r");
    })) << "and the session to its end";
}

TEST_F(Cli, LogThatCannotBeWrittenIsTold) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    QTemporaryDir dir;
    const QString logPath = dir.filePath("missing/session.log");
    const CliRun r = run({"send", "--port", panel->slavePath(), "--log", logPath, "+o"});
    EXPECT_EQ(r.code, ceLogFailed);
    EXPECT_EQ(r.out, "0050\nOK\n") << "the session ran";
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Не удалось записать журнал обмена %1: ").arg(logPath)))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(logPath));
}

} // namespace
