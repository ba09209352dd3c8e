// The history exported to a workbook and to CSV, read back: cells typed as
// numbers, date-times and texts, the message without an apostrophe, the
// delivered-to-all column as the list shows it, the bold frozen header,
// widths from the contents; the file written whole or not at all; the file
// name offered; the locale's formats as spreadsheet formats.
#include "history/ExportCells.h"
#include "history/HistoryExport.h"
#include "history/HistoryUnit.h"
#include "hostile_files.h"
#include "record_lines.h"
#include "sheet_reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale.h>
#include <sys/stat.h>

namespace {

const QLocale kRussian(QLocale::Russian, QLocale::Russia);
const QString kNoDate = QString(22, QLatin1Char('F'));

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        add({.index = 10, .global = 4000000000u});
        add({.index = 11, .code = "301", .date = kNoDate});
        // Sent over GPRS online, through no reporting entry.
        add({.index = 12, .code = "146", .partition = "03", .zone = "077", .sendflag = 2, .phones = 0xFF});
        add({.index = 13, .code = "602", .date = "\"24/03/02,00:00:00+12\""});
    }

    void add(const TestRecord& r) { ASSERT_TRUE(history.Add(RecordLine(r))); }
    QString path(const QString& name) const { return dir.filePath(name); }
    TExportResult exportAll(const QString& name) {
        return ExportHistory(history, ExportRowList(history, -1, -1), path(name), kRussian);
    }

    QTemporaryDir dir;
    THistory history;
};

TEST_F(ExportTest, WorkbookCellsAreTypedAsTheListShowsThem) {
    const TExportResult r = exportAll("journal.xlsx");
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_EQ(r.Rows, 4);
    const Workbook book = ReadWorkbook(path("journal.xlsx"));
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    EXPECT_EQ(book.sheetNames, QStringList{"История"});

    // The header: the captions in bold, the row frozen above the records.
    const QString columns = "ABCDEFGHIJKLM";
    const QStringList captions = HistoryColumnCaptions();
    for (int c = 0; c < 13; ++c) {
        const QString ref = columns.mid(c, 1) + "1";
        EXPECT_EQ(book.text(ref), captions.at(c)) << ref.toStdString();
        EXPECT_TRUE(book.styleOf(ref).bold) << ref.toStdString();
        EXPECT_NE(book.cells.value(ref).type, "") << "captions are text";
    }
    EXPECT_EQ(book.paneState, "frozen");
    EXPECT_EQ(book.paneTopLeft, "A2");
    EXPECT_EQ(book.paneYSplit, 1);
    EXPECT_FALSE(book.cells.contains("N1")) << "13 columns";

    // Numbers as numbers.
    const struct {
        const char* ref;
        const char* value;
    } numbers[] = {{"A2", "10"}, {"C2", "50"},         {"D2", "130"}, {"E2", "1"},
                   {"F2", "5"},  {"L2", "4000000000"}, {"A5", "13"},  {"D5", "602"}};
    for (const auto& n : numbers) {
        EXPECT_EQ(book.cells.value(n.ref).type, "") << n.ref;
        EXPECT_EQ(book.text(n.ref), n.value) << n.ref;
        EXPECT_FALSE(book.styleOf(n.ref).bold) << n.ref;
    }
    // The time as a date-time in the short date and long time format: 1 March
    // 2024 07:12:00 is day 45352 and 0.3 of a day.
    EXPECT_EQ(book.cells.value("B2").type, "");
    EXPECT_NEAR(book.text("B2").toDouble(), 45352.3, 1e-9);
    EXPECT_EQ(book.styleOf("B2").numberFormat, "dd.mm.yyyy hh:mm:ss");
    EXPECT_NEAR(book.text("B5").toDouble(), 45353.0, 1e-9);
    EXPECT_EQ(book.styleOf("B5").numberFormat, "dd.mm.yyyy hh:mm:ss");
    // A record without a date keeps the list's text: the sheet's days start
    // in 1900.
    EXPECT_NE(book.cells.value("B3").type, "");
    EXPECT_EQ(book.text("B3"), "30.12.1899");

    // Texts: the message without an apostrophe, the list's yes and no.
    EXPECT_EQ(book.cells.value("H2").type, "inlineStr");
    EXPECT_EQ(book.text("H2"), "0050181130010050");
    EXPECT_EQ(book.text("G2"), "Тревога по зоне");
    EXPECT_EQ(book.text("G4"), "\"Тихая тревога; проникновение\"");
    EXPECT_EQ(book.text("I2"), "ДА");
    EXPECT_EQ(book.text("M2"), "ДА");
    EXPECT_EQ(book.text("J2"), "НЕТ") << "two entries used, no directions read";
    EXPECT_EQ(book.text("J4"), "ДА") << "GPRS online counts as delivered to all, as in the list";
    EXPECT_EQ(book.text("K4"), "GPRS");
    EXPECT_EQ(book.lastRow(), 5);

    // Widths from the contents: the event text column holds its longest text.
    EXPECT_GE(book.widths.value(7), QString("\"Тихая тревога; проникновение\"").size());
    EXPECT_GE(book.widths.value(2), QString("01.03.2024 07:12:00").size());
    EXPECT_GE(book.widths.value(12), QString("Глобальный индекс").size());
    EXPECT_LT(book.widths.value(1), book.widths.value(7));
    EXPECT_EQ(book.widths.size(), 13);
}

// The calling thread in a locale with a decimal comma, as the tool runs
// for the installers; back to what it was at the end of the scope.
class CommaLocale {
public:
    CommaLocale() : fLocale(newlocale(LC_ALL_MASK, "ru_RU.UTF-8", nullptr)) {
        if (fLocale)
            fPrevious = uselocale(fLocale);
    }
    ~CommaLocale() {
        if (fPrevious)
            uselocale(fPrevious);
        if (fLocale)
            freelocale(fLocale);
    }
    bool Active() const { return fPrevious != nullptr; }

private:
    locale_t fLocale;
    locale_t fPrevious = nullptr;
};

std::string Printed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

TEST_F(ExportTest, WorkbookNumbersStayInTheFileFormatUnderADecimalComma) {
    const CommaLocale comma;
    ASSERT_TRUE(comma.Active()) << "the locale ru_RU.UTF-8 is not installed: scripts/setup.sh generates it";
    ASSERT_EQ(Printed(3.85), "3,85") << "the locale prints a decimal comma";

    ASSERT_TRUE(exportAll("journal.xlsx").Ok);
    const Workbook book = ReadWorkbook(path("journal.xlsx"));
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    EXPECT_NEAR(book.text("B2").toDouble(), 45352.3, 1e-9);
    EXPECT_GE(book.widths.value(7), QString("\"Тихая тревога; проникновение\"").size());
    EXPECT_EQ(Printed(3.85), "3,85") << "the thread's own locale is back after the export";
}

TEST_F(ExportTest, PageRowsGoOldestFirst) {
    // The page's top and bottom indexes, in either order.
    const TExportResult r =
        ExportHistory(history, ExportRowList(history, 12, 11), path("page.xlsx"), kRussian);
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    const Workbook book = ReadWorkbook(path("page.xlsx"));
    EXPECT_EQ(book.text("A2"), "11");
    EXPECT_EQ(book.text("A3"), "12");
    EXPECT_EQ(book.lastRow(), 3);
}

TEST_F(ExportTest, CsvHasTheSameColumnsForRussianSpreadsheets) {
    ASSERT_TRUE(exportAll("journal.csv").Ok);
    QFile file(path("journal.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8 with a byte-order mark";
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    ASSERT_EQ(lines.size(), 6) << "header, four records, the end";
    EXPECT_EQ(lines[0], HistoryColumnCaptions().join(';'));
    EXPECT_EQ(lines[1],
              "10;01.03.2024 07:12:00;50;130;1;5;Тревога по зоне;0050181130010050;ДА;НЕТ;;4000000000;ДА");
    EXPECT_TRUE(lines[2].startsWith("11;30.12.1899;50;301;")) << lines[2].toStdString();
    EXPECT_EQ(lines[3], "12;01.03.2024 07:12:00;50;146;3;77;\"\"\"Тихая тревога; проникновение\"\"\";"
                        "005018114603077C;ДА;ДА;GPRS;1;ДА");
    EXPECT_TRUE(lines[4].startsWith("13;02.03.2024;")) << "midnight shows the date alone, as in the list";
    EXPECT_EQ(lines[5], "");
}

TEST_F(ExportTest, NothingToExportOrNowhereToWriteLeavesNoFile) {
    const TExportResult empty = ExportHistory(history, {}, path("empty.xlsx"), kRussian);
    EXPECT_FALSE(empty.Ok);
    EXPECT_EQ(empty.Error, "Нет записей для экспорта");
    EXPECT_FALSE(QFile::exists(path("empty.xlsx")));
    THistory none;
    EXPECT_FALSE(ExportHistory(none, ExportRowList(none, -1, -1), path("none.csv"), kRussian).Ok);
    EXPECT_FALSE(QFile::exists(path("none.csv")));

    const TExportResult other = exportAll("journal.xls");
    EXPECT_FALSE(other.Ok);
    EXPECT_TRUE(other.Error.contains("journal.xls"));
    EXPECT_FALSE(QFile::exists(path("journal.xls")));

    for (const char* name : {"missing/journal.xlsx", "missing/journal.csv"}) {
        const TExportResult r = exportAll(name);
        EXPECT_FALSE(r.Ok) << name;
        EXPECT_TRUE(r.Error.startsWith("Не удалось записать файл")) << r.Error.toStdString();
        EXPECT_TRUE(r.Error.contains(QString::fromLatin1(name))) << r.Error.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{});
}

TEST_F(ExportTest, AnExistingFileIsReplacedWholeAndKeepsItsPermissions) {
    for (const QString& name : {QStringLiteral("old.xlsx"), QStringLiteral("old.csv")}) {
        QFile old(path(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous contents");
        old.close();
        ASSERT_TRUE(
            QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        ASSERT_TRUE(exportAll(name).Ok) << name.toStdString();
        EXPECT_EQ(
            QFile::permissions(path(name)) & 0x7777,
            (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser | QFile::WriteUser) &
                0x7777)
            << name.toStdString();
    }
    EXPECT_EQ(ReadWorkbook(path("old.xlsx")).text("A2"), "10");
    // A new file gets what the file mode mask allows, like any other.
    const mode_t mask = umask(027);
    ASSERT_TRUE(exportAll("new.xlsx").Ok);
    umask(mask);
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(path("new.xlsx")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left beside them.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"new.xlsx", "old.csv", "old.xlsx"}));
}

TEST_F(ExportTest, OnlyARegularFileIsReplaced) {
    for (const char* name : {"journal.xlsx", "journal.csv"}) {
        const QString fifo = path(QString::fromLatin1(name));
        ASSERT_TRUE(MakeFifo(fifo));
        const TExportResult r = exportAll(QString::fromLatin1(name));
        EXPECT_FALSE(r.Ok) << name;
        EXPECT_EQ(r.Error,
                  "Не удалось записать файл " + fifo + ": это именованный канал (FIFO), а не обычный файл");
        EXPECT_TRUE(IsFifo(fifo)) << name;
    }
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        (QStringList{"journal.csv", "journal.xlsx"}));
}

TEST(ExportNamesTest, FormatByExtensionAndTheNameOffered) {
    EXPECT_EQ(ExportFormatOf("a/Журнал.XLSX"), TExportFormat::Xlsx);
    EXPECT_EQ(ExportFormatOf("b.csv"), TExportFormat::Csv);
    EXPECT_EQ(ExportFormatOf("c.xls"), std::nullopt);
    EXPECT_EQ(ExportFormatOf("xlsx"), std::nullopt);

    THistory history;
    EXPECT_EQ(ExportObjectText(history), "");
    ASSERT_TRUE(history.Add(RecordLine({.index = 5, .account = "00A7"})));
    ASSERT_TRUE(history.Add(RecordLine({.index = 3, .account = "1234"})));
    EXPECT_EQ(ExportObjectText(history), "00A7") << "the newest record's object";
    const QDate day(2024, 3, 1);
    EXPECT_EQ(DefaultExportFileName("00A7", day, TExportFormat::Xlsx), "История_00A7_2024-03-01.xlsx");
    EXPECT_EQ(DefaultExportFileName("", day, TExportFormat::Csv), "История_2024-03-01.csv");
}

TEST(ExportFormatsTest, LocaleFormatsBecomeSpreadsheetFormats) {
    const struct {
        const char* qt;
        const char* sheet;
    } cases[] = {
        {"dd.MM.yyyy", "dd.mm.yyyy"},
        {"HH:mm:ss t", "hh:mm:ss"},
        {"M/d/yy", "m/d/yy"},
        {"h:mm:ss AP t", "h:mm:ss AM/PM"},
        {"h:mm:ss ap", "h:mm:ss am/pm"},
        {"d MMM yyyy", "d mmm yyyy"},
        {"dddd, d MMMM yyyy", "dddd, d mmmm yyyy"},
        {"yyyy-MM-dd", "yyyy-mm-dd"},
        {"dd.MM.yyyy 'г.'", "dd.mm.yyyy \"г.\""},
        {"HH'h'mm", "hh\"h\"mm"},
        {"HH:mm:ss.zzz", "hh:mm:ss.000"},
        {"d''MM", "d\\'mm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpreadsheetFormat(QString::fromUtf8(c.qt)), QString::fromUtf8(c.sheet)) << c.qt;
    EXPECT_EQ(SpreadsheetDateTimeFormat(kRussian), "dd.mm.yyyy hh:mm:ss");
    EXPECT_EQ(SpreadsheetDateTimeFormat(QLocale(QLocale::English, QLocale::UnitedStates)),
              "m/d/yy h:mm:ss AM/PM");
}

} // namespace
