// Firmware image files: their text, every line checked as an Intel HEX
// record before anything is sent, the messages that name the file and the
// line, and the summary the installer confirms, checked against the real
// images and their shape table.
#include "firmware/FirmwareImage.h"
#include "firmware/HexRecord.h"
#include "firmware/ImageSummary.h"
#include "firmware/ImageText.h"
#include "hex_lines.h"
#include "hostile_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::string Text(const QString& s) {
    return s.toStdString();
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

TEST(ImageText, LinesEndAtCrLfCrOrLfAndOnlyAByteOrderMarkChoosesTheEncoding) {
    struct Case {
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\r\n", {"a", ""}},
        {"", {}},
        {"\xEF\xBB\xBF:00000001FF\r\n", {":00000001FF"}},
        {QByteArray("\xFF\xFE:\0a\0\r\0\n\0b\0", 12), {":a", "b"}},
        {"\xCF\xF0\xEE\xF8\xE8\xE2\xEA\xE0", {QStringLiteral("Прошивка")}}, // Windows-1251 without a mark
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageTextLines(c.bytes), c.lines) << c.bytes.toHex().constData();
}

TEST(HexRecord, WellFormedRecordsAreReadInEitherCase) {
    struct Case {
        QString line;
        int type;
        quint16 address;
        QByteArray data;
    };
    const Case cases[] = {
        {":0100000001FE", hrData, 0x0000, "\x01"},
        {":10E000000D9489F10D94B2F10D94B2F10D94B2F129", hrData, 0xE000,
         QByteArray::fromHex("0D9489F10D94B2F10D94B2F10D94B2F1")},
        {QStringLiteral(":10E000000D9489F10D94B2F10D94B2F10D94B2F129").toLower(), hrData, 0xE000,
         QByteArray::fromHex("0D9489F10D94B2F10D94B2F10D94B2F1")},
        {":020000023000CC", hrExtendedSegmentAddress, 0, QByteArray::fromHex("3000")},
        {":0400000300001E5586", hrStartSegmentAddress, 0, QByteArray::fromHex("00001E55")},
        {":00000001FF", hrEndOfFile, 0, {}},
    };
    for (const Case& c : cases) {
        QString problem;
        const std::optional<THexRecord> r = ParseHexRecord(c.line, &problem);
        ASSERT_TRUE(r) << Text(c.line) << ": " << Text(problem);
        EXPECT_EQ(r->Type, c.type) << Text(c.line);
        EXPECT_EQ(r->Address, c.address) << Text(c.line);
        EXPECT_EQ(r->Data, c.data) << Text(c.line);
    }
}

TEST(HexRecord, WhatIsWrongWithALineIsSaid) {
    struct Case {
        QString line;
        QString problem;
    };
    const Case cases[] = {
        {"", "пустая строка"},
        {"0100000001FE", "строка не начинается с двоеточия, это не запись Intel HEX"},
        {":00000001F", "строка короче 11 знаков, это не запись Intel HEX"},
        {":0100000001FEF", "после двоеточия нечётное число знаков"},
        {":01000000G1FE", "«G1» в знаках 10–11 не шестнадцатеричное число"},
        {":0100000001 E", "« E» в знаках 12–13 не шестнадцатеричное число"},
        {":0200000001FD", "в записи указано байт данных: 2, а в строке их 1"},
        {":0100000001FF", "контрольная сумма записи FF, а должна быть FE"},
        {":00000006FA", "неизвестный тип записи 06"},
        {":0100000001FE ", "после двоеточия нечётное число знаков"},
        {" \t ", "пустая строка"},
    };
    for (const Case& c : cases) {
        QString problem;
        EXPECT_FALSE(ParseHexRecord(c.line, &problem)) << Text(c.line);
        EXPECT_EQ(problem, c.problem) << Text(c.line);
    }
}

class ImageFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;

    // Ten data records and the end, with line 4 (index 3) replaced.
    QString Damaged(const QString& name, const QString& line4) {
        QStringList lines = DataRecords(10);
        lines << kEndOfFile;
        lines[3] = line4;
        return WriteFile(dir, name, (lines.join("\r\n") + "\r\n").toLatin1());
    }
};

TEST_F(ImageFiles, DamagedImagesAreRefusedNamingTheFileAndTheLine) {
    const QString good = DataRecords(10).at(3); // ":10003000..."
    QString badSum = good;
    badSum.replace(badSum.size() - 2, 2, good.endsWith("00") ? "01" : "00");
    QString badCount = good;
    badCount.replace(1, 2, "0F");
    QString notHex = good;
    notHex.replace(15, 2, "Z9");

    struct Case {
        QString name;
        QString line4;
        QString problem;
    };
    const Case cases[] = {
        {"sum.hex", badSum, "контрольная сумма записи"},
        {"count.hex", badCount, "в записи указано байт данных: 15, а в строке их 16"},
        {"pair.hex", notHex, "«Z9» в знаках 16–17 не шестнадцатеричное число"},
        {"blank.hex", "", "пустая строка"},
        {"comment.hex", "# built 2015-05-15", "строка не начинается с двоеточия"},
    };
    for (const Case& c : cases) {
        const QString path = Damaged(c.name, c.line4);
        TFirmwareImage image{"untouched", {"x"}};
        QString error;
        EXPECT_FALSE(LoadFirmwareFile(path, image, error)) << Text(c.name);
        EXPECT_TRUE(error.startsWith(QStringLiteral("Файл прошивки «%1», строка 4: %2").arg(path, c.problem)))
            << Text(error);
        EXPECT_EQ(image.Name, "untouched") << "a refused image is not handed out";
    }
}

TEST_F(ImageFiles, EmptyUnreadableAndDatalessFilesAreRefused) {
    QStringList gap = DataRecords(8);
    for (int i = 0; i < 8; ++i)
        gap << ":0000000000"; // data records of no bytes: a block with nothing to write
    gap << DataRecords(8, 16, 0x80) << kEndOfFile;

    const QString missing = dir.filePath("missing.hex");
    struct Case {
        QString path;
        QString message;
    };
    const Case cases[] = {
        {WriteFile(dir, "empty.hex", ""), "файл пуст, записывать нечего."},
        {WriteFile(dir, "eof.hex", ":00000001FF\r\n"), "в образе нет данных для записи."},
        {WriteFile(dir, "gap.hex", gap.join("\n").toLatin1()),
         "строки 9–16 не несут данных, а загрузчик не принимает пустой блок."},
        {missing, "не удаётся открыть"},
        {dir.path(), "не удаётся открыть"},
    };
    for (const Case& c : cases) {
        TFirmwareImage image;
        QString error;
        EXPECT_FALSE(LoadFirmwareFile(c.path, image, error)) << Text(c.path);
        EXPECT_TRUE(error.startsWith(QStringLiteral("Файл прошивки «%1»: %2").arg(c.path, c.message)))
            << Text(error);
    }
}

// Opening a FIFO waits for a writer and a device may never end: both are
// refused at once.
TEST_F(ImageFiles, AFifoOrADeviceIsRefusedAtOnce) {
    const QString fifo = dir.filePath("image.hex");
    ASSERT_TRUE(MakeFifo(fifo));
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {fifo, "это именованный канал (FIFO), а не обычный файл"},
        {"/dev/zero", "это устройство, а не обычный файл"},
    };
    for (const auto& c : cases) {
        const FifoGuard guard(fifo);
        TFirmwareImage image;
        QString error;
        EXPECT_FALSE(LoadFirmwareFile(c.path, image, error)) << Text(c.path);
        EXPECT_FALSE(guard.Fired()) << "the read waited for a writer of the FIFO";
        EXPECT_EQ(error, QStringLiteral("Файл прошивки «%1»: не удаётся открыть (%2).")
                             .arg(c.path, QString::fromUtf8(c.reason)));
    }
}

TEST_F(ImageFiles, ALastLineWithoutItsLineBreakAndLfOnlyFilesAreTaken) {
    QStringList lines = DataRecords(9);
    lines << kEndOfFile;
    TFirmwareImage image;
    QString error;
    ASSERT_TRUE(LoadFirmwareFile(WriteFile(dir, "lf.hex", lines.join("\n").toLatin1()), image, error))
        << Text(error);
    EXPECT_EQ(image.Lines, lines);
}

// Files as editors and cut transfers leave them. Blank lines at the end
// (white space only, either line end, the last line with or without its
// line end) are no part of the image and nothing is sent for them; a blank
// line with records after it, a file that stops before its end-of-file
// record, and records after that record are refused with the file and the
// line.
TEST_F(ImageFiles, BlankLinesAtTheEndAreDroppedAndTheEndOfFileRecordClosesTheImage) {
    const QStringList good = ImageLines(10); // 11 lines, the end-of-file record last
    const QByteArray crlf = good.join("\r\n").toLatin1();
    const QByteArray lf = good.join("\n").toLatin1();
    QStringList blankInside = good;
    blankInside.insert(3, "  ");
    QStringList cut = good.mid(0, 10);
    QStringList twoEnds = good;
    twoEnds << kEndOfFile;
    QStringList blankThenRecord = good;
    blankThenRecord << "" << DataRecords(1);

    QFile real(RealImagePath(kRealImages[0].File)); // 254 lines, CR LF
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray realBytes = real.readAll();

    struct Case {
        const char* what;
        QByteArray bytes;
        QString problem; // empty: taken, with the lines of `good`
    };
    const Case cases[] = {
        {"one blank line, CR LF", crlf + "\r\n\r\n", {}},
        {"blank and white-space lines, LF", lf + "\n\n \t\n\n", {}},
        {"a last blank line without its line end", crlf + "\r\n   ", {}},
        {"CR LF, the last record without its line end", crlf, {}},
        {"a blank line inside", blankInside.join("\r\n").toLatin1() + "\r\n", "строка 4: пустая строка"},
        {"only blank lines", "\r\n  \r\n\r\n", ": файл пуст, записывать нечего."},
        {"cut at a line end", cut.join("\r\n").toLatin1() + "\r\n",
         ": в конце нет записи конца файла (тип 01): файл, видимо, обрезан."},
        {"cut, then blank lines", cut.join("\n").toLatin1() + "\n\n\n",
         ": в конце нет записи конца файла (тип 01)"},
        {"cut in the middle of a record", crlf.left(crlf.indexOf(kEndOfFile.toLatin1()) - 10),
         "строка 10: в записи указано байт данных: 16, а в строке их 12."},
        {"a record after the end", (good + DataRecords(1)).join("\r\n").toLatin1(),
         "строка 12: запись после записи конца файла (тип 01) в строке 11; образ кончается на ней."},
        {"a second end-of-file record", twoEnds.join("\r\n").toLatin1(),
         "строка 12: запись после записи конца файла (тип 01) в строке 11"},
        {"a blank line, then a record after the end", blankThenRecord.join("\r\n").toLatin1(),
         "строка 12: пустая строка"},
    };
    for (const Case& c : cases) {
        const QString path = WriteFile(dir, QStringLiteral("image.hex"), c.bytes);
        TFirmwareImage image;
        QString error;
        const bool taken = LoadFirmwareFile(path, image, error);
        if (c.problem.isEmpty()) {
            EXPECT_TRUE(taken) << c.what << ": " << Text(error);
            EXPECT_EQ(image.Lines, good) << c.what;
        } else {
            EXPECT_FALSE(taken) << c.what;
            const QString said = QStringLiteral("Файл прошивки «%1»%2%3")
                                     .arg(path, c.problem.startsWith(u':') ? "" : ", ", c.problem);
            EXPECT_TRUE(error.startsWith(said)) << c.what << ": " << Text(error);
        }
    }

    // A real image with the blank line an editor leaves: the same lines,
    // blocks and commands as the file without it.
    TFirmwareImage clean, edited;
    QString error;
    ASSERT_TRUE(LoadFirmwareFile(WriteFile(dir, "clean.hex", realBytes), clean, error)) << Text(error);
    ASSERT_TRUE(LoadFirmwareFile(WriteFile(dir, "edited.hex", realBytes + "\r\n"), edited, error))
        << Text(error);
    EXPECT_EQ(edited.Lines, clean.Lines);
    EXPECT_EQ(edited.Lines.size(), kRealImages[0].Lines);
}

// One row of data/hex_shapes.tsv.
struct TShape {
    QString File;
    int Records = 0;
    qint64 DataBytes = 0;
    QMap<int, int> Types;
    QList<TAddressRange> Segments;
};

QList<TShape> Shapes() {
    QFile f(QStringLiteral(FIRMWARE_TEST_DATA "/hex_shapes.tsv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QList<TShape> shapes;
    const QList<QByteArray> rows = f.readAll().split('\n');
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QList<QByteArray> cells = rows[i].split('\t');
        if (cells.size() < 11)
            continue;
        TShape s;
        s.File = QString::fromLatin1(cells[0]);
        s.Records = cells[2].toInt();
        s.DataBytes = cells[3].toLongLong();
        for (const QByteArray& t : cells[5].split(' ')) { // "00x253"
            const QList<QByteArray> parts = t.split('x');
            s.Types[parts[0].toInt(nullptr, 16)] = parts[1].toInt();
        }
        for (const QByteArray& seg : cells[9].split(' ')) { // "0x0-0xfc2"
            const QList<QByteArray> ends = seg.split('-');
            s.Segments.append({quint32(ends[0].toUInt(nullptr, 16)), quint32(ends[1].toUInt(nullptr, 16))});
        }
        shapes.append(s);
    }
    return shapes;
}

TEST(RealImages, AllValidateAndTheirSummariesMatchTheShapeTable) {
    const QList<TShape> shapes = Shapes();
    ASSERT_EQ(shapes.size(), 5);
    for (const TShape& shape : shapes) {
        const std::string name = Text(shape.File);
        TFirmwareImage image;
        QString error;
        ASSERT_TRUE(LoadFirmwareFile(QStringLiteral(FIRMWARE_TEST_DATA "/") + shape.File, image, error))
            << Text(error);
        const TImageSummary s = SummariseImage(image);
        EXPECT_EQ(s.Lines, shape.Records) << name;
        EXPECT_EQ(s.DataBytes, shape.DataBytes) << name;
        EXPECT_EQ(s.Ranges, shape.Segments) << name;
        QMap<int, int> others = shape.Types;
        others.remove(hrData);
        EXPECT_EQ(s.OtherRecords, others) << name;
        // Address records carry bytes the boot loader takes as data; the end
        // of file carries none.
        others.remove(hrEndOfFile);
        EXPECT_EQ(s.Warnings.size(), others.size()) << name;
        for (auto it = others.cbegin(); it != others.cend(); ++it)
            EXPECT_TRUE(s.Warnings.join('\n').contains(QStringLiteral("записей типа 0%1").arg(it.key())))
                << name;
        qint64 sent = 0;
        for (const QString& line : image.Lines)
            sent += (line.size() - 11) / 2;
        EXPECT_EQ(s.SentBytes, sent) << name;
    }
}

TEST(ImageSummary, AddressRecordsMoveTheDataThatFollowsAndAreWarnedAbout) {
    TFirmwareImage image;
    image.Name = "mixed.hex";
    image.Lines << HexRecordLine(hrExtendedLinearAddress, 0, QByteArray::fromHex("0001"))
                << DataRecords(2, 16, 0x0000)                                              // 0x10000-0x1001F
                << HexRecordLine(hrExtendedSegmentAddress, 0, QByteArray::fromHex("1000")) // base 0x10000
                << DataRecords(1, 8, 0x0100)                                               // 0x10100-0x10107
                << DataRecords(1, 8, 0x0020) // joins the first range
                << HexRecordLine(hrStartLinearAddress, 0, QByteArray::fromHex("00010101")) << kEndOfFile;
    const TImageSummary s = SummariseImage(image);
    EXPECT_EQ(
        SummaryText(s),
        (QStringList{
            "Файл: mixed.hex",
            "Строк: 8, блоков по 8 строк: 1",
            "Байт данных: 48 (загрузчику уходит байт: 56)",
            "Адреса: 0x00010000–0x00010027, 0x00010100–0x00010107",
            "Записи кроме данных: 01 (конец файла): 1; 02 (расширенный адрес сегмента): 1; "
            "04 (расширенный линейный адрес): 1; 05 (начальный линейный адрес): 1",
            "Внимание: загрузчик получит как данные байты записей типа 02 (расширенный адрес сегмента): "
            "записей 1, байт 2.",
            "Внимание: загрузчик получит как данные байты записей типа 04 (расширенный линейный адрес): "
            "записей 1, байт 2.",
            "Внимание: загрузчик получит как данные байты записей типа 05 (начальный линейный адрес): "
            "записей 1, байт 4.",
        }));
}

// Data at the top of the 32-bit address space: the end of its range lies
// past the last address and must not wrap round to 0, which made the
// neighbouring range swallow it.
TEST(ImageSummary, RangesAtTheTopOfTheAddressSpaceKeepTheirEnds) {
    struct Case {
        const char* what;
        QStringList data;
        QString addresses;
    };
    const Case cases[] = {
        {"the last 32 bytes, in two records", DataRecords(2, 16, 0xFFE0), "Адреса: 0xFFFFFFE0–0xFFFFFFFF"},
        {"a record running past the top", DataRecords(1, 16, 0xFFF8) + DataRecords(1, 8, 0xFFF0),
         "Адреса: 0xFFFFFFF0–0x100000007"},
    };
    for (const Case& c : cases) {
        TFirmwareImage image;
        image.Name = "top.hex";
        image.Lines << HexRecordLine(hrExtendedLinearAddress, 0, QByteArray::fromHex("FFFF")) << c.data
                    << kEndOfFile;
        const TImageSummary s = SummariseImage(image);
        ASSERT_EQ(s.Ranges.size(), 1) << c.what;
        EXPECT_GT(s.Ranges.first().End, s.Ranges.first().First) << c.what;
        EXPECT_TRUE(SummaryText(s).contains(c.addresses)) << c.what << "\n"
                                                          << Text(SummaryText(s).join('\n'));
    }
}

} // namespace
