// tarvik1-cli flash against the emulated panel: a real image written with
// its summary and progress, the question before writing, damaged images
// refused with nothing on the wire, a failed step with its exit code and
// the recovery by running it again, the program reading its answer from
// standard input, the progress as a line per tenth or one line rewritten on
// a terminal, and --quiet.
#include "cli/CliCommands.h"
#include "cli/CliFlash.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "emulated_panel_fixture.h"
#include "pty_pair.h"
#include "short_link_timings.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kImage = QStringLiteral(CLI_FIRMWARE_DATA "/Arduino-usbserial-atmega16u2-Uno-Rev3.hex");

// A terminal to write standard error to: the slave side of a pty, whose
// master a thread drains meanwhile (a terminal's buffer is small).
class TerminalCapture {
public:
    TerminalCapture() {
        fSlave = ::open(fPty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        fReader = std::thread([this] {
            while (!fStop) {
                pollfd p{fPty.masterFd(), POLLIN, 0};
                if (::poll(&p, 1, 20) > 0) {
                    char buf[4096];
                    const ssize_t n = ::read(fPty.masterFd(), buf, sizeof buf);
                    if (n > 0)
                        fBytes.append(buf, n);
                }
            }
        });
    }
    ~TerminalCapture() {
        Stop();
        if (fSlave >= 0)
            ::close(fSlave);
    }
    int SlaveFd() const { return fSlave; }
    // Everything written, once the writer is done.
    QString Text() {
        Stop();
        return QString::fromUtf8(fBytes + ReadFdFor(fPty.masterFd(), 200, 50));
    }

private:
    void Stop() {
        fStop = true;
        if (fReader.joinable())
            fReader.join();
    }

    PtyPair fPty;
    int fSlave = -1;
    std::atomic<bool> fStop{false};
    QByteArray fBytes;
    std::thread fReader;
};

// The steps and the status line as a terminal shows them: lines, each the
// last text written over it after its carriage returns.
QStringList ShownLines(const QString& text) {
    QStringList shown;
    for (const QString& line : text.split('\n'))
        shown << line.section('\r', -1).trimmed();
    return shown;
}

class CliFlash : public ::testing::Test {
protected:
    CliRun run(const QStringList& args, QString input = {}) const {
        return RunCaught(RunCli, args, timings, std::move(input));
    }

    ShortLinkTimings timings;
};

TEST_F(CliFlash, WritesARealImageWithItsSummaryAndProgressAndDisconnects) {
    for (const auto mode : {emu::LinkMode::Cable, emu::LinkMode::Modem}) {
        auto panel = StartEmulatedPanel(QuickPanelSettings(mode));
        const QStringList args =
            OverLink({"flash", "--port", panel->slavePath(), kImage, "--yes"}, mode, "5551234");
        const CliRun r = run(args);
        const std::string m = emu::linkModeName(mode).toStdString();
        EXPECT_EQ(r.code, ceOk) << m << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("Файл: %1\nСтрок: 254, блоков по 8 строк: 32\n"
                                                    "Байт данных: 4034 (загрузчику уходит байт: 4034)\n"
                                                    "Адреса: 0x0000–0x0FC1\n")
                                         .arg(kImage)))
            << m << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("Панель: REV 07.700.125, память M45PE16\n")) << m;
        EXPECT_TRUE(r.out.endsWith("Прошивка записана: блоков 32, проверка пройдена.\n")) << m;
        for (const char* step :
             {"Переход в загрузчик\n", "Очистка флеш-памяти\n", "Запись блока 1 из 32: 3 %, осталось",
              "Запись блока 32 из 32: 100 %, осталось 0 с\n", "Проверка\n"})
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(step))) << m << step << "\n" << r.err.toStdString();
        EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true)) << m;
        EXPECT_TRUE(SessionClosed(*panel, mode)) << m;
    }
}

TEST_F(CliFlash, AsksBeforeWritingAndSendsNothingWithoutAYes) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    const QStringList args{"flash", "--port", panel->slavePath(), kImage};
    for (const QString answer : {"нет\n", "\n", ""}) {
        const CliRun r = run(args, answer);
        EXPECT_EQ(r.code, ceNotConfirmed) << answer.toStdString();
        EXPECT_TRUE(r.err.startsWith("Записать эту прошивку в панель?"));
        EXPECT_TRUE(r.err.endsWith("Прошивка не записана: нет подтверждения.\n"));
    }
    EXPECT_TRUE(panel->receivedBytes().isEmpty());
    const CliRun r = run(args, "Да\n");
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
}

TEST_F(CliFlash, DamagedImagesAreRefusedWithNothingOnTheWire) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    QFile real(kImage);
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = real.readAll().split('\n');
    QTemporaryDir dir;
    auto write = [&](const QString& name, int index, const QByteArray& line) {
        QList<QByteArray> copy = lines;
        if (index >= 0)
            copy[index] = line;
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(index == -2 ? QByteArray() : copy.join('\n'));
        return path;
    };
    QByteArray sum = lines[6]; // ":1000600098C0000096C0000094C0000092C00000F0\r"
    sum[sum.size() - 2] = sum[sum.size() - 2] == '0' ? '1' : '0';
    QByteArray count = lines[6];
    count[2] = 'F';
    QByteArray pair = lines[6];
    pair[20] = 'x';
    // The file cut at a line end before its end-of-file record (the last
    // element is what follows the final line end), and one going on after it.
    const QList<QByteArray> cut = lines.mid(0, lines.size() - 2) << QByteArray();
    const QList<QByteArray> after = lines.mid(0, lines.size() - 1) << lines[6] << QByteArray();
    auto writeLines = [&](const QString& name, const QList<QByteArray>& content) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content.join('\n'));
        return path;
    };

    struct Case {
        QString path;
        QString says;
    };
    const Case cases[] = {
        {write("sum.hex", 6, sum), "строка 7: контрольная сумма записи"},
        {write("count.hex", 6, count), "строка 7: в записи указано байт данных: 31, а в строке их 16"},
        {write("pair.hex", 6, pair), "строка 7: «"},
        {write("empty.hex", -2, {}), "файл пуст"},
        {writeLines("cut.hex", cut), "в конце нет записи конца файла (тип 01)"},
        {writeLines("after.hex", after), "строка 255: запись после записи конца файла (тип 01) в строке 254"},
        {dir.filePath("missing.hex"), "не удаётся открыть"},
    };
    for (const Case& c : cases) {
        const CliRun r = run({"flash", "--port", panel->slavePath(), c.path, "--yes"});
        EXPECT_EQ(r.code, ceImageRefused) << c.path.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("Файл прошивки «%1»").arg(c.path)))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_TRUE(panel->receivedBytes().isEmpty());

    // The program itself, with the cut file.
    QProcess cli;
    cli.start(TARVIK_CLI_PROGRAM, {"flash", "--port", panel->slavePath(), dir.filePath("cut.hex"), "--yes"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), ceImageRefused);
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains("нет записи конца файла"));
    EXPECT_TRUE(panel->receivedBytes().isEmpty());
}

// The blank lines an editor leaves at the end go nowhere: the image is
// written as the file without them is.
TEST_F(CliFlash, BlankLinesAtTheEndOfAnImageAreNotSent) {
    QFile real(kImage);
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    const QString edited = dir.filePath("edited.hex");
    {
        QFile f(edited);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(real.readAll() + "\r\n  \r\n");
    }
    QList<QStringList> writes;
    QList<QByteArray> flashed;
    for (const QString& image : {kImage, edited}) {
        auto panel = StartEmulatedPanel(QuickPanelSettings());
        const CliRun r = run({"flash", "--port", panel->slavePath(), image, "--yes"});
        EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("Строк: 254, блоков по 8 строк: 32\n")) << r.out.toStdString();
        EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
        writes << panel->receivedLines().filter(QRegularExpression("^\\+(W|EE)"));
        flashed << panel->flashedImage();
    }
    EXPECT_EQ(writes[1], writes[0]);
    EXPECT_EQ(flashed[1], flashed[0]);
}

TEST_F(CliFlash, AFailedStepHasItsExitCodeAndRunningItAgainRecoversThePanel) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    emu::Faults f;
    f.refuseBlock = 2;
    panel->setFaults(f);
    TCliOptions options;
    options.Port = panel->slavePath();
    TFlashOptions flash;
    flash.Image = kImage;
    flash.Yes = true;
    flash.TimeOuts.BootCheck = flash.TimeOuts.FlashErase = flash.TimeOuts.Block = flash.TimeOuts.FinalCheck =
        flash.TimeOuts.BootLoaderAnswer = 300;
    QString none, out, err;
    QTextStream in(&none, QIODevice::ReadOnly), o(&out), e(&err);
    EXPECT_EQ(RunFlash(options, flash, in, o, e), ceFlashFailed);
    e.flush();
    EXPECT_TRUE(
        err.endsWith("Не удалось выполнить шаг «Запись блока 2 из 32»: панель не приняла блок. Панель "
                     "осталась в загрузчике; чтобы восстановить её, запустите обновление ещё раз.\n"))
        << err.toStdString();
    EXPECT_EQ(panel->commandCount("+EE"), 0);
    EXPECT_TRUE(panel->inBootLoader());
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));

    // The panel answers from its boot loader now; the same command finishes the update.
    panel->setFaults({});
    const CliRun again = run({"flash", "--port", panel->slavePath(), kImage, "--yes"});
    EXPECT_EQ(again.code, ceOk) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains("Панель: BL REV 01.002.004"));
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
}

TEST_F(CliFlash, WrongCommandLines) {
    const std::pair<QStringList, QString> cases[] = {
        {{"flash", "--port", "/dev/x"}, "Не указан файл прошивки"},
        {{"flash", "--port", "/dev/x", "a.hex", "b.hex"}, "Лишние слова: b.hex"},
        {{"flash", kImage}, "Не указан порт (--port)"},
    };
    for (const auto& [args, says] : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, ceUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(says)) << r.err.toStdString();
    }
    EXPECT_TRUE(run({"--help"}).out.contains("flash --port ПОРТ ФАЙЛ.hex"));
}

TEST_F(CliFlash, TheProgramTakesItsAnswerFromStandardInput) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    QProcess cli;
    cli.start(TARVIK_CLI_PROGRAM, {"flash", "--port", panel->slavePath(), kImage});
    ASSERT_TRUE(cli.waitForStarted());
    cli.write(QStringLiteral("да\n").toUtf8());
    cli.closeWriteChannel();
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));
}

// Off a terminal (a log, a pipe) the upload is a line per tenth, not a line
// per block; on a terminal it is one line rewritten in place, the steps on
// lines of their own.
TEST_F(CliFlash, ProgressIsALinePerTenthOrOneLineOnATerminal) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    const QStringList args{"flash", "--port", panel->slavePath(), kImage, "--yes"};
    const CliRun lines = run(args);
    ASSERT_EQ(lines.code, ceOk) << lines.err.toStdString();
    const QStringList blocks = lines.err.split('\n').filter("Запись блока");
    ASSERT_EQ(blocks.size(), 11) << "32 blocks, one line per tenth from 0 to 100 %\n"
                                 << lines.err.toStdString();
    EXPECT_TRUE(blocks.first().startsWith("Запись блока 1 из 32: 3 %"));
    EXPECT_TRUE(blocks.last().startsWith("Запись блока 32 из 32: 100 %"));

    TerminalCapture terminal;
    QFile file;
    ASSERT_TRUE(file.open(terminal.SlaveFd(), QIODevice::WriteOnly));
    QString none, out;
    QTextStream in(&none, QIODevice::ReadOnly), o(&out), e(&file);
    EXPECT_EQ(RunCli(args, in, o, e, timings), ceOk);
    e.flush();
    const QString text = terminal.Text();
    EXPECT_EQ(text.count("\rЗапись блока"), 32) << "every block rewrites the line";
    EXPECT_EQ(ShownLines(text), (QStringList{"Переход в загрузчик", "Очистка флеш-памяти",
                                             "Запись блока 32 из 32: 100 %, осталось 0 с", "Проверка", ""}))
        << text.toStdString();
    EXPECT_TRUE(out.endsWith("Прошивка записана: блоков 32, проверка пройдена.\n"));

    // The program itself, its standard error on a terminal.
    TerminalCapture programTerminal;
    QProcess cli;
    const int fd = programTerminal.SlaveFd();
    cli.setChildProcessModifier([fd] { ::dup2(fd, STDERR_FILENO); });
    cli.start(TARVIK_CLI_PROGRAM, args);
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0);
    const QString shown = programTerminal.Text();
    EXPECT_EQ(shown.count("\rЗапись блока"), 32) << shown.toStdString();
    EXPECT_EQ(ShownLines(shown).size(), 5) << shown.toStdString();
}

// --quiet: nothing but what went wrong, and no question it could not show.
TEST_F(CliFlash, QuietTellsOnlyWhatWentWrong) {
    auto panel = StartEmulatedPanel(QuickPanelSettings());
    CliRun r = run({"flash", "--port", panel->slavePath(), kImage, "--quiet"}, "да\n");
    EXPECT_EQ(r.code, ceUsage);
    EXPECT_TRUE(r.err.startsWith("С --quiet сводка прошивки не выводится")) << r.err.toStdString();
    EXPECT_TRUE(panel->receivedBytes().isEmpty());

    r = run({"flash", "--port", panel->slavePath(), kImage, "--yes", "-q"});
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(panel->finalCheckPassed(), std::optional<bool>(true));

    emu::Faults f;
    f.refuseBlock = 2;
    panel->setFaults(f);
    TCliOptions options;
    options.Port = panel->slavePath();
    TFlashOptions flash;
    flash.Image = kImage;
    flash.Yes = true;
    flash.Progress = TProgressStyle::Quiet;
    flash.TimeOuts.BootCheck = flash.TimeOuts.FlashErase = flash.TimeOuts.Block = flash.TimeOuts.FinalCheck =
        flash.TimeOuts.BootLoaderAnswer = 300;
    QString none, out, err;
    QTextStream in(&none, QIODevice::ReadOnly), o(&out), e(&err);
    EXPECT_EQ(RunFlash(options, flash, in, o, e), ceFlashFailed);
    e.flush();
    EXPECT_EQ(out, "");
    EXPECT_EQ(err,
              "Не удалось выполнить шаг «Запись блока 2 из 32»: панель не приняла блок. Панель осталась в "
              "загрузчике; чтобы восстановить её, запустите обновление ещё раз.\n");
}

} // namespace
