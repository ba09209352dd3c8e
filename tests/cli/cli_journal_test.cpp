// tarvik1-cli journal and erase-journal against the emulated panel: the
// newest records or the whole journal into the window's sheet, progress on
// standard error, the erase only when confirmed, records the panel left out
// named by index, the exit codes of what can go wrong, the CSV to standard
// output and --quiet.
#include "cli/CliCommands.h"
#include "cli/CliJournal.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "emulated_panel_fixture.h"
#include "sheet_reader.h"
#include "short_link_timings.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

class CliJournal : public ::testing::Test {
protected:
    CliRun run(const QStringList& args) const { return RunCaught(RunCli, args, timings); }

    static emu::PanelSettings Journal(int records, emu::LinkMode mode = emu::LinkMode::Cable) {
        emu::PanelSettings s = QuickPanelSettings(mode);
        s.journalRecords = records;
        s.delays.journalEraseMs = 100;
        return s;
    }

    static QStringList CsvLines(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split("\r\n");
        lines.removeLast();
        return lines;
    }

    ShortLinkTimings timings;
    QTemporaryDir dir;
};

TEST_F(CliJournal, NewestRecordsIntoTheWindowsSheet) {
    auto panel = StartEmulatedPanel(Journal(300));
    const QString xlsx = dir.filePath("journal.xlsx");
    CliRun r = run({"journal", "--port", panel->slavePath(), "--out", xlsx});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Записано записей: 20 в %1\n").arg(xlsx));
    const Workbook book = ReadWorkbook(xlsx);
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    EXPECT_EQ(book.text("A1"), "№");
    EXPECT_EQ(book.text("A2"), "280") << "one page of 20, oldest first";
    EXPECT_EQ(book.text("A21"), "299");
    EXPECT_EQ(book.lastRow(), 21);
    EXPECT_EQ(book.cells.value("B2").type, "") << "the time as a date-time";
    EXPECT_TRUE(panel->receivedLines().endsWith("CABLE DISCONNECT"));

    const QString csv = dir.filePath("journal.csv");
    r = run({"journal", "--port", panel->slavePath(), "--last", "50", "--out", csv});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    const QStringList lines = CsvLines(csv);
    ASSERT_EQ(lines.size(), 51);
    EXPECT_TRUE(lines[1].startsWith("250;"));
    EXPECT_TRUE(lines[50].startsWith("299;"));
}

TEST_F(CliJournal, WholeJournalWithProgressOverCableAndModem) {
    for (const auto mode : {emu::LinkMode::Cable, emu::LinkMode::Modem}) {
        const std::string m = emu::linkModeName(mode).toStdString();
        emu::PanelSettings settings = Journal(300, mode);
        settings.badRecords = 6;
        auto panel = StartEmulatedPanel(settings);
        const QString csv = dir.filePath(QString::fromStdString(m) + ".csv");
        const QStringList args =
            OverLink({"journal", "--port", panel->slavePath(), "--all", "--out", csv}, mode, "5551234");
        const CliRun r = run(args);
        ASSERT_EQ(r.code, ceOk) << m << r.err.toStdString();
        const QStringList lines = CsvLines(csv);
        ASSERT_EQ(lines.size(), 301) << m;
        EXPECT_TRUE(lines[1].startsWith("0;")) << m;
        EXPECT_TRUE(lines[300].startsWith("299;")) << m;
        // Faulty records are written with the check that fails: a wrong
        // record check sum ("КС", the last column) or a wrong check digit
        // ("КС CID", after the message).
        static const QRegularExpression faulty(QStringLiteral(";[0-9A-F]{16};НЕТ;|;НЕТ$"));
        EXPECT_EQ(lines.filter(faulty).size(), 6) << m;
        const QStringList progress = r.err.split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(progress.size(), 2) << m;
        EXPECT_EQ(progress.first(), "Прочитано 0 из 300 записей") << m;
        EXPECT_EQ(progress.last(), "Прочитано 300 из 300 записей, осталось 0 с") << m;
    }
}

// A record the panel leaves out of its answer is asked for again; one that
// never comes is named by index with exit code 1, and the rest is written.
TEST_F(CliJournal, ARecordLeftOutIsAskedForAgainOrNamed) {
    const struct {
        const char* what;
        bool always;
        int code;
        QString lastProgress;
        QString error;
        int rows;
    } cases[] = {
        {"left out once", false, ceOk, "Прочитано 30 из 30 записей, осталось 0 с", "", 30},
        {"left out every time", true, ceExchangeFailed, "Прочитано 29 из 30 записей, осталось 0 с",
         "Ошибка: Записи истории: не получена запись 5", 29},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        emu::PanelSettings settings = Journal(30);
        settings.faults.skipRecord = 5;
        settings.faults.skipRecordAlways = c.always;
        auto panel = StartEmulatedPanel(settings);
        const QString csv = dir.filePath(QStringLiteral("skip-%1.csv").arg(c.always));
        const CliRun r = run({"journal", "--port", panel->slavePath(), "--all", "--out", csv});
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        const QStringList err = r.err.split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(err.filter("Прочитано").last(), c.lastProgress);
        EXPECT_EQ(err.filter("Ошибка"), c.error.isEmpty() ? QStringList{} : QStringList{c.error});
        EXPECT_EQ(r.out, QStringLiteral("Записано записей: %1 в %2\n").arg(c.rows).arg(csv));
        QStringList indexes;
        for (const QString& line : CsvLines(csv).mid(1))
            indexes << line.section(';', 0, 0);
        EXPECT_EQ(indexes.size(), c.rows);
        EXPECT_EQ(indexes.contains("5"), !c.always);
        EXPECT_EQ(indexes.last(), "29");
    }
}

TEST_F(CliJournal, EraseOnlyWhenConfirmed) {
    auto panel = StartEmulatedPanel(Journal(100));
    CliRun r = run({"erase-journal", "--port", panel->slavePath()});
    EXPECT_EQ(r.code, ceUsage);
    EXPECT_TRUE(r.err.startsWith("Очистка журнала панели необратима")) << r.err.toStdString();
    EXPECT_TRUE(panel->receivedLines().isEmpty()) << "the port was not even opened";
    EXPECT_EQ(panel->journalPointer(), 100u);

    r = run({"erase-journal", "--port", panel->slavePath(), "--yes"});
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(r.out, "Журнал панели очищен\n");
    EXPECT_EQ(panel->commandCount("+erase"), 1);
    EXPECT_EQ(panel->journalPointer(), 0u);

    // Nothing left to write.
    const QString xlsx = dir.filePath("empty.xlsx");
    r = run({"journal", "--port", panel->slavePath(), "--out", xlsx});
    EXPECT_EQ(r.code, ceJournalEmpty);
    EXPECT_EQ(r.err, "Журнал панели пуст: файл не записан\n");
    EXPECT_FALSE(QFile::exists(xlsx));
}

TEST_F(CliJournal, PanelThatDoesNotAnswer) {
    auto panel = StartEmulatedPanel(Journal(100));
    emu::Faults f;
    f.dropEvery = 1;
    f.onlyCommand = "+erase";
    panel->setFaults(f);
    TCliOptions options;
    options.Port = panel->slavePath();
    TJournalTiming timing;
    timing.EraseTimeOut = 100;
    timing.ReadTimeOut = 100;
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(RunEraseJournal(options, timing, o, e), ceExchangeFailed);
    e.flush();
    EXPECT_TRUE(err.endsWith("Ошибка: Очистка истории\n")) << err.toStdString();
    EXPECT_EQ(panel->journalPointer(), 100u);

    // No record comes: no file, and the failure named.
    f.onlyCommand = "+read";
    panel->setFaults(f);
    TJournalOptions journal;
    journal.Out = dir.filePath("none.xlsx");
    journal.Timing = timing;
    err.clear();
    EXPECT_EQ(RunJournal(options, journal, o, e), ceExchangeFailed);
    e.flush();
    EXPECT_TRUE(err.contains("Ошибка: Записи истории\n")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(journal.Out));
}

TEST_F(CliJournal, CommandLineAndOutputFailures) {
    auto panel = StartEmulatedPanel(Journal(30));
    const QString port = panel->slavePath();
    const struct {
        QStringList args;
        int code;
        QString errStart;
    } cases[] = {
        {{"journal", "--out", "a.xlsx"}, ceUsage, "Не указан порт (--port)"},
        {{"journal", "--port", port}, ceUsage, "Не указан файл таблицы (--out)"},
        {{"journal", "--port", port, "--out", "a.xls"},
         ceUsage,
         "Файл таблицы должен быть .xlsx или .csv: a.xls"},
        {{"journal", "--port", port, "--out", "a.csv", "--last", "0"}, ceUsage, "Неверное число записей: 0"},
        {{"journal", "--port", port, "--out", "a.csv", "--last", "many"},
         ceUsage,
         "Неверное число записей: many"},
        {{"journal", "--port", port, "--out", "a.csv", "--last", "5", "--all"},
         ceUsage,
         "Укажите либо --last"},
        {{"erase-journal", "--port", port, "--yes", "now"}, ceUsage, "Лишние слова: now"},
        {{"journal", "--port", port, "--out", dir.filePath("no/such/folder.xlsx")},
         ceOutputFailed,
         "Не удалось записать файл " + dir.filePath("no/such/folder.xlsx")},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.errStart)) << r.err.toStdString();
    }
    EXPECT_EQ(panel->commandCount("+read"), 1) << "only the run that got as far as reading";
}

TEST_F(CliJournal, ProgramWritesTheSheet) {
    auto panel = StartEmulatedPanel(Journal(60));
    const QString xlsx = dir.filePath("program.xlsx");
    QProcess cli;
    cli.start(TARVIK_CLI_PROGRAM, {"journal", "--port", panel->slavePath(), "--all", "--out", xlsx});
    ASSERT_TRUE(cli.waitForFinished(20000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const Workbook book = ReadWorkbook(xlsx);
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    EXPECT_EQ(book.lastRow(), 61);
    EXPECT_EQ(book.text("A61"), "59");
}

// --out -: the CSV file's very bytes on standard output, the report on
// standard error; a standard output that takes nothing is told.
TEST_F(CliJournal, TheCsvGoesToStandardOutputAsTheFileHoldsIt) {
    auto panel = StartEmulatedPanel(Journal(300));
    const QString csv = dir.filePath("journal.csv");
    ASSERT_EQ(run({"journal", "--port", panel->slavePath(), "--last", "50", "--out", csv}).code, ceOk);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF№;")) << "the byte-order mark, then the captions";

    const QStringList args{"journal", "--port", panel->slavePath(), "--last", "50", "--out", "-"};
    const CliBytesRun r = RunCaughtBytes(RunCli, args, timings);
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(r.out, bytes);
    EXPECT_TRUE(r.err.endsWith("Записано записей: 50 в стандартный вывод\n")) << r.err.toStdString();

    QFile full("/dev/full");
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    const CliRun failed = RunOutputTo(full, RunCli, args, timings);
    EXPECT_EQ(failed.code, ceOutputFailed);
    EXPECT_TRUE(failed.err.contains("Не удалось записать таблицу в стандартный вывод: "))
        << failed.err.toStdString();
    EXPECT_FALSE(failed.err.contains("Записано"));

    // The program, quiet: the bytes alone, nothing on standard error.
    QProcess cli;
    cli.start(TARVIK_CLI_PROGRAM, args + QStringList{"--quiet"});
    ASSERT_TRUE(cli.waitForFinished(20000));
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_EQ(cli.readAllStandardError(), "");
    EXPECT_EQ(cli.readAllStandardOutput(), bytes);
}

// --quiet: success says nothing; what went wrong is still told.
TEST_F(CliJournal, QuietTellsOnlyWhatWentWrong) {
    emu::PanelSettings settings = Journal(30);
    settings.faults.skipRecord = 5;
    settings.faults.skipRecordAlways = true;
    auto skipping = StartEmulatedPanel(settings);
    auto panel = StartEmulatedPanel(Journal(30));
    const struct {
        const char* what;
        QStringList args;
        int code;
        QString err;
    } cases[] = {
        {"the journal read",
         {"journal", "--port", panel->slavePath(), "--all", "--out", dir.filePath("a.csv")},
         ceOk,
         ""},
        {"a record that never comes",
         {"journal", "--port", skipping->slavePath(), "--all", "--out", dir.filePath("b.csv")},
         ceExchangeFailed,
         "Ошибка: Записи истории: не получена запись 5\n"},
        {"the erase", {"erase-journal", "--port", panel->slavePath(), "--yes"}, ceOk, ""},
        {"an empty journal",
         {"journal", "--port", panel->slavePath(), "--out", dir.filePath("c.csv")},
         ceJournalEmpty,
         "Журнал панели пуст: файл не записан\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args + QStringList{"--quiet"});
        EXPECT_EQ(r.code, c.code) << c.what << r.err.toStdString();
        EXPECT_EQ(r.err, c.err) << c.what;
        EXPECT_EQ(r.out, "") << c.what;
    }
    EXPECT_EQ(panel->journalPointer(), 0u);
    EXPECT_EQ(CsvLines(dir.filePath("b.csv")).size(), 30) << "the records that came are written";
}

} // namespace
