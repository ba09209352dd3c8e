// The SMS text file: six lines in Windows-1251 with CR LF, written whole.
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

} // namespace
