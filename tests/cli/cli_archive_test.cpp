// tarvik1-cli and the archive, against the emulated panel over a pty with a
// real archive file: journal --new reads only the records after the
// archived ones (after an erase or a wrap, the new journal from its start,
// as a new run); two panels are kept apart by object number; the archive
// commands export a run or a configuration without a panel; and what the
// archive refuses is told with its exit code before the port is opened.
#include "archive/Archive.h"
#include "archive/ConfigArchive.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli_run.h"
#include "emulated_panel_fixture.h"
#include "short_link_timings.h"

#include "pages/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class CliArchive : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    CliRun run(QStringList args) const {
        args << "--archive" << archivePath;
        return RunCaught(RunCli, args, timings);
    }

    static std::unique_ptr<emu::EmulatedPanel> Panel(int records, const QByteArray& object = "0050") {
        emu::PanelSettings s = QuickPanelSettings();
        s.journalRecords = records;
        auto panel = StartEmulatedPanel(s);
        if (panel && object != "0050") {
            panel->storeParameterBytes(QStringLiteral("+o"), object);
            panel->regenerateJournal(records, 0, 7);
        }
        return panel;
    }

    // The index column of a CSV the journal wrote.
    static QList<int> CsvIndexes(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split("\r\n");
        lines.removeLast();
        lines.removeFirst();
        QList<int> out;
        for (const QString& line : lines)
            out.append(line.section(';', 0, 0).toInt());
        return out;
    }

    static QList<int> Range(int first, int last) {
        QList<int> out;
        for (int i = first; i <= last; ++i)
            out.append(i);
        return out;
    }

    static QStringList Reads(const emu::EmulatedPanel& panel) {
        return panel.receivedLines().filter(QRegularExpression(QStringLiteral("^\\+read")));
    }

    ShortLinkTimings timings;
    QTemporaryDir dir;
    QString archivePath = dir.filePath("archive.sqlite");
};

TEST_F(CliArchive, NewRecordsOnlyThenAnErasedJournalAndAWrappedPointerStartNewRuns) {
    auto panel = Panel(100);
    ASSERT_TRUE(panel);
    const QString csv = dir.filePath("new.csv");
    const QStringList journalNew{"journal", "--port", panel->slavePath(), "--new", "--out", csv};

    // Nothing archived: the whole journal.
    CliRun r = run(journalNew);
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(CsvIndexes(csv), Range(0, 99));
    EXPECT_TRUE(r.err.contains(QStringLiteral("В архиве сохранено записей: 100 (объект 0050)")))
        << r.err.toStdString();

    // Nothing new: no file, exit 11, only the comparing read.
    QFile::remove(csv);
    panel->clearRecords();
    r = run(journalNew);
    EXPECT_EQ(r.code, ceJournalEmpty) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Новых записей в журнале панели нет: файл не записан")));
    EXPECT_FALSE(QFile::exists(csv));
    EXPECT_EQ(Reads(*panel), QStringList{"+read00630064"});

    // Five new events: those five alone.
    panel->appendJournalRecords(5);
    panel->clearRecords();
    r = run(journalNew);
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(CsvIndexes(csv), Range(100, 104));
    EXPECT_EQ(Reads(*panel), (QStringList{"+read00630064", "+read00640069"}));

    // Erased, 30 new events: the new journal whole, as run 2.
    panel->setJournalLines({});
    panel->appendJournalRecords(30, 8);
    r = run(journalNew);
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(CsvIndexes(csv), Range(0, 29));

    // Wrapped past 65535 to pointer 12: run 3 from index 0.
    panel->appendJournalRecords(65536 - 30 + 12, 9);
    ASSERT_EQ(panel->journalPointer(), 12u);
    r = run(journalNew);
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(CsvIndexes(csv), Range(0, 11));

    r = run({"archive", "list", "0050"});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Журнал, серия 1: записей 105, индексы 0–104")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Журнал, серия 2: записей 30, индексы 0–29")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Журнал, серия 3: записей 12, индексы 0–11")));

    // Each run exported without the panel, the old ones as they were read.
    const QString old = dir.filePath("run1.csv");
    r = run({"archive", "journal", "0050", "--run", "1", "--out", old});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(CsvIndexes(old), Range(0, 104));
    r = run({"archive", "journal", "0050", "--out", old});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(CsvIndexes(old), Range(0, 11));
}

TEST_F(CliArchive, TwoPanelsAreKeptApartByObjectNumber) {
    auto first = Panel(40);
    auto second = Panel(60, "0051");
    ASSERT_TRUE(first && second);
    for (const auto* panel : {first.get(), second.get()}) {
        const CliRun r =
            run({"journal", "--port", panel->slavePath(), "--all", "--out", dir.filePath("j.csv")});
        ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    }
    // New events on the second: --new there reads them, the first has none.
    second->appendJournalRecords(3);
    CliRun r = run({"journal", "--port", second->slavePath(), "--new", "--out", dir.filePath("n.csv")});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_EQ(CsvIndexes(dir.filePath("n.csv")), Range(60, 62));
    r = run({"journal", "--port", first->slavePath(), "--new", "--out", dir.filePath("n.csv")});
    EXPECT_EQ(r.code, ceJournalEmpty) << r.err.toStdString();

    r = run({"archive", "list"});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("0050\tREV 07.700.125\tM45PE16\t")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("записей журнала 40 (серий 1)")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("0051\t")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("записей журнала 63 (серий 1)")));

    // The second panel's sheet holds its own records (object 51).
    const QString csv = dir.filePath("0051.csv");
    r = run({"archive", "journal", "0051", "--out", csv});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 64);
    EXPECT_EQ(rows[1].section(';', 2, 2), QStringLiteral("51"));

    // Removed with its question answered, the other panel stays.
    r = run({"archive", "remove", "0051"});
    EXPECT_EQ(r.code, ceUsage);
    r = run({"archive", "remove", "0051", "--yes"});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    r = run({"archive", "list"});
    EXPECT_EQ(r.out.count('\n'), 1);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("0050\t")));
}

TEST_F(CliArchive, AConfigurationGoesToASettingsFileOfTheOwnersAlone) {
    const QStringList older{QStringLiteral("Object=0050"), QStringLiteral("GprsPassword=старый")};
    const QStringList newer{QStringLiteral("Object=0050"), QStringLiteral("GprsPassword=новый")};
    {
        TArchive archive;
        ASSERT_TRUE(archive.Open(archivePath));
        const qint64 id =
            archive.NoteConnection("0050", "REV 07.700.125", "M45PE16", QDateTime::currentDateTimeUtc())
                .value();
        TConfigArchive configs(archive);
        ASSERT_TRUE(
            configs.Store(id, older, TConfigDirection::Read, "monter", QDateTime::currentDateTimeUtc()));
        ASSERT_TRUE(
            configs.Store(id, newer, TConfigDirection::Written, "monter", QDateTime::currentDateTimeUtc()));
    }
    const QString ini = dir.filePath("panel.ini");
    CliRun r = run({"archive", "config", "0050", "--out", ini});
    ASSERT_EQ(r.code, ceOk) << r.err.toStdString();
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), TSettingsFile::Encode(newer));
    EXPECT_EQ(QFileInfo(ini).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

    const QByteArray bytes =
        RunCaughtBytes(RunCli,
                       {"archive", "config", "0050", "--at", "1", "--out", "-", "--archive", archivePath},
                       timings)
            .out;
    EXPECT_EQ(bytes, TSettingsFile::Encode(older));

    r = run({"archive", "list", "0050"});
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("Настройки 1: [-0-9 :]+, чтение, monter"))))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("Настройки 2: [-0-9 :]+, запись, monter"))));
}

TEST_F(CliArchive, WrongRequestsAndAnArchiveThatCannotBeOpened) {
    auto panel = Panel(20);
    ASSERT_TRUE(panel);
    ASSERT_EQ(run({"journal", "--port", panel->slavePath(), "--out", dir.filePath("a.csv")}).code, ceOk);
    const QString port = panel->slavePath();
    const QString csv = dir.filePath("x.csv");
    struct Case {
        QStringList args;
        int code;
        QString message;
    };
    const QList<Case> cases = {
        {{"journal", "--port", port, "--out", csv, "--new", "--all"}, ceUsage, "без --last и --all"},
        {{"journal", "--port", port, "--out", csv, "--new", "--no-archive"}, ceUsage, "без --no-archive"},
        {{"archive"}, ceUsage, "Не указано, что сделать с архивом"},
        {{"archive", "journal"}, ceUsage, "Не указан номер объекта панели"},
        {{"archive", "journal", "0050"}, ceUsage, "Не указан файл таблицы (--out)"},
        {{"archive", "journal", "0050", "--out", csv, "--run", "x"}, ceUsage, "Неверный номер серии: x"},
        {{"archive", "config", "0050", "--out", csv, "--run", "1"},
         ceUsage,
         "--run только для archive journal"},
        {{"archive", "journal", "0099", "--out", csv},
         ceNotInArchive,
         "В архиве нет панели с номером объекта 0099"},
        {{"archive", "journal", "0050", "--out", csv, "--run", "2"}, ceNotInArchive, "нет серии 2"},
        {{"archive", "config", "0050", "--out", csv}, ceNotInArchive, "В архиве нет настроек панели 0050"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(csv));

    // An archive that is no database: refused, named, left alone, and the
    // panel never asked.
    const QString broken = dir.filePath("broken.sqlite");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'z'));
    }
    panel->clearRecords();
    for (const QStringList& args :
         {QStringList{"journal", "--port", port, "--new", "--out", csv}, QStringList{"archive", "list"}}) {
        const CliRun r = RunCaught(RunCli, QStringList(args) << "--archive" << broken, timings);
        EXPECT_EQ(r.code, ceArchiveFailed) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("Ошибка архива: %1: ").arg(broken)))
            << r.err.toStdString();
    }
    EXPECT_TRUE(panel->receivedLines().isEmpty());
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(2048, 'z'));

    // --no-archive: the journal is read and written, no archive is made.
    const QString none = dir.filePath("none.sqlite");
    const CliRun r = RunCaught(
        RunCli, {"journal", "--port", port, "--no-archive", "--out", csv, "--archive", none}, timings);
    EXPECT_EQ(r.code, ceOk) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(csv));
    EXPECT_FALSE(QFile::exists(none));
}

} // namespace
