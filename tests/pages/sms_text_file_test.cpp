// The SMS text file: six lines in Windows-1251 with CR LF, written whole.
#include "hostile_files.h"
#include "pages/SMSTextFile.h"

#include <QFile>
#include <QTemporaryDir>

#include "qt_print.h"

#include <gtest/gtest.h>

namespace {

class SMSTextFile : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString fixture(const char* name, const QByteArray& bytes) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QByteArray bytesOf(const QString& file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(SMSTextFile, WritesWindows1251WithCrLfAndReadsItBack) {
    const QStringList texts{"Тревога", "Alarm 2", "", "Ёлка №1", "a=b", "Восстановление"};
    QString error;
    ASSERT_TRUE(WriteSMSFile(path("sms.txt"), texts, &error)) << error.toStdString();
    EXPECT_EQ(bytesOf(path("sms.txt")),
              QByteArray("\xD2\xF0\xE5\xE2\xEE\xE3\xE0\r\nAlarm 2\r\n\r\n\xA8\xEB\xEA\xE0 \xB9\x31\r\na=b\r\n"
                         "\xC2\xEE\xF1\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED\xE8\xE5\r\n"));
    const TSMSFileResult read = ReadSMSFile(path("sms.txt"));
    ASSERT_TRUE(read.Ok) << read.Error.toStdString();
    EXPECT_EQ(read.Texts, texts);

    // Writing again replaces the file as a whole.
    ASSERT_TRUE(WriteSMSFile(path("sms.txt"), QStringList(6, QStringLiteral("x"))));
    EXPECT_EQ(bytesOf(path("sms.txt")), QByteArray("x\r\nx\r\nx\r\nx\r\nx\r\nx\r\n"));
}

// Windows-1251 bytes that happen to be valid UTF-8 ("Рµ" is D0 B5, the
// UTF-8 of "е") would read back as other texts: such texts are written as
// UTF-8 with its mark, and read back as they were.
TEST_F(SMSTextFile, TextsWhoseWindows1251BytesLookLikeUtf8ReadBackAsWritten) {
    const QStringList texts{"Рµ", "РІ", "", "x", "С‚", "y"};
    ASSERT_TRUE(WriteSMSFile(path("sms.txt"), texts));
    EXPECT_TRUE(bytesOf(path("sms.txt")).startsWith("\xEF\xBB\xBF"));
    const TSMSFileResult read = ReadSMSFile(path("sms.txt"));
    ASSERT_TRUE(read.Ok) << read.Error.toStdString();
    EXPECT_EQ(read.Texts, texts);
}

TEST_F(SMSTextFile, LineEndsAndLineCounts) {
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList texts; // empty: refused
    } cases[] = {
        {"seven lines: the first six", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", {"1", "2", "3", "4", "5", "6"}},
        {"LF alone", "1\n2\n3\n4\n5\n6\n", {"1", "2", "3", "4", "5", "6"}},
        {"CR alone, no end on the last", "1\r2\r3\r4\r5\r6", {"1", "2", "3", "4", "5", "6"}},
        {"empty lines are texts", "\r\n\r\n3\r\n\r\n\r\n\r\n", {"", "", "3", "", "", ""}},
        {"UTF-8 with its mark", "\xEF\xBB\xBF\xD0\x90\n2\n3\n4\n5\n6\n", {"А", "2", "3", "4", "5", "6"}},
        {"five lines", "1\r\n2\r\n3\r\n4\r\n5\r\n", {}},
        {"an empty sixth line", "1\r\n2\r\n3\r\n4\r\n5\r\n\r", {"1", "2", "3", "4", "5", ""}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        const TSMSFileResult r = ReadSMSFile(fixture("case.txt", c.bytes));
        if (c.texts.isEmpty()) {
            EXPECT_FALSE(r.Ok) << c.what;
            EXPECT_TRUE(r.Texts.isEmpty()) << c.what;
            EXPECT_EQ(r.Error, QStringLiteral("Файл имеет неверный формат или поврежден")) << c.what;
        } else {
            EXPECT_TRUE(r.Ok) << c.what;
            EXPECT_EQ(r.Texts, c.texts) << c.what;
        }
    }
}

TEST_F(SMSTextFile, FilesThatCannotBeReadOrWrittenAreNamed) {
    const TSMSFileResult missing = ReadSMSFile(path("none.txt"));
    EXPECT_FALSE(missing.Ok);
    EXPECT_TRUE(missing.Error.contains(path("none.txt"))) << missing.Error.toStdString();

    QString error;
    const QString nowhere = path("no-such-folder/sms.txt");
    EXPECT_FALSE(WriteSMSFile(nowhere, QStringList(6, QStringLiteral("x")), &error));
    EXPECT_TRUE(error.contains(nowhere)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));
}

// The texts go to the panel as they stand: what the settings file refuses,
// the SMS text file refuses too, naming the line (and never turns a
// character into "?" on the way).
TEST_F(SMSTextFile, RefusedAsTheSettingsFileIsWithTheLineNamed) {
    const QByteArray six = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n";
    const QByteArray bom("\xEF\xBB\xBF");
    const struct {
        const char* what;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"a character Windows-1251 has not", bom + QString::fromUtf8("1\n2\nТревога 😀\n4\n5\n6\n").toUtf8(),
         "строка 3 содержит символ «😀», которого нет в кодировке Windows-1251"},
        {"not UTF-8 after its mark", bom + "1\n\xC0\n3\n4\n5\n6\n", "строка 2 не является текстом UTF-8"},
        {"the byte Windows-1251 has not", "1\r\n\xFF\x98\r\n3\r\n4\r\n5\r\n6\r\n",
         "строка 2 содержит байт 0x98, которого нет в кодировке Windows-1251 (файл не в этой кодировке или "
         "повреждён)"},
        {"NUL", QByteArray("12") + '\0' + "34\r\n" + six,
         "строка 1 содержит управляющий символ с кодом 0x00"},
        {"an escape sequence", "1\r\n2\r\n3\r\n4\r\n\x1B[2J\r\n6\r\n",
         "строка 5 содержит управляющий символ с кодом 0x1B"},
        {"in a line past the sixth", six + "\x07\r\n", "строка 7 содержит управляющий символ с кодом 0x07"},
    };
    for (const auto& c : cases) {
        const QString file = fixture("case.txt", c.bytes);
        const TSMSFileResult r = ReadSMSFile(file);
        EXPECT_FALSE(r.Ok) << c.what;
        EXPECT_TRUE(r.Texts.isEmpty()) << c.what;
        EXPECT_EQ(r.Error, "Не удалось прочитать файл " + file + ": " + QString::fromUtf8(c.reason))
            << c.what;
    }
}

TEST_F(SMSTextFile, OnlyARegularFileOfASaneSizeIsReadOrReplaced) {
    const QString fifo = path("fifo.txt");
    ASSERT_TRUE(MakeFifo(fifo));
    const QString huge = path("huge.txt");
    ASSERT_TRUE(MakeSparseFile(huge, kMaxSMSFileBytes + 1));
    const struct {
        QString file;
        QString error;
    } cases[] = {
        {fifo, "Не удалось открыть файл " + fifo + ": это именованный канал (FIFO), а не обычный файл"},
        {"/dev/zero", "Не удалось открыть файл /dev/zero: это устройство, а не обычный файл"},
        {huge,
         "Не удалось прочитать файл " + huge +
             ": файл слишком велик: 1048577 байт, а допустимо не больше 1 МБ (файл СМС занимает несколько "
             "сотен байт)"},
    };
    for (const auto& c : cases) {
        const FifoGuard guard(fifo);
        const TSMSFileResult r = ReadSMSFile(c.file);
        EXPECT_FALSE(guard.Fired()) << "the read waited for a writer of the FIFO";
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Error, c.error);
    }

    QString error;
    EXPECT_FALSE(WriteSMSFile(fifo, QStringList(6, QStringLiteral("x")), &error));
    EXPECT_EQ(error,
              "Не удалось записать файл " + fifo + ": это именованный канал (FIFO), а не обычный файл");
    EXPECT_TRUE(IsFifo(fifo));
}

} // namespace
