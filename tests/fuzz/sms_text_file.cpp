// The SMS text file: the input written to a file and read as the SMS page's
// "Загрузить СМС" reads it.
//
// Checked: a file whose bytes the text-file decoding refuses is refused,
// naming the file and the line; any other is taken exactly when it has six
// lines or more, then with six texts without line ends or control
// characters, and refused with the format message otherwise; six texts
// taken, saved and read again, come back unchanged (a file with the UTF-8
// mark holds only what Windows-1251 has, or is refused).
#include "fuzz_check.h"

#include "pages/SMSCodec.h"
#include "pages/SMSTextFile.h"
#include "pages/TextFileLines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The files live in memory where the system offers it (libFuzzer runs the
// target millions of times).
const QTemporaryDir& Scratch() {
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/tarvik-fuzz-sms-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/tarvik-fuzz-sms-XXXXXX"));
    return dir;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "scratch file");
    FUZZ_CHECK(file.write(bytes) == bytes.size(), "scratch file written");
}

int LineCount(const QByteArray& bytes) {
    int lines = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++lines;
    }
    const bool open = !bytes.isEmpty() && bytes.back() != '\n' && bytes.back() != '\r';
    return lines + (open ? 1 : 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FUZZ_CHECK(Scratch().isValid(), "scratch folder");
    const QString path = Scratch().filePath(QStringLiteral("in.txt"));
    const QByteArray bytes = fuzz::Bytes(data, size);
    WriteFile(path, bytes);

    const TSMSFileResult read = ReadSMSFile(path);
    QStringList lines;
    TLineFault fault;
    if (!DecodeTextFileLines(bytes, lines, fault)) {
        FUZZ_CHECK(!read.Ok && read.Texts.isEmpty(), "refused bytes give no texts");
        FUZZ_CHECK(
            read.Error.startsWith(
                QStringLiteral("Не удалось прочитать файл %1: строка %2 ").arg(path).arg(fault.Line + 1)),
            "refused naming the file and the line");
        return 0;
    }
    static const QByteArray kBom("\xEF\xBB\xBF");
    if (!bytes.startsWith(kBom)) {
        FUZZ_CHECK(lines.size() == LineCount(bytes), "the lines of the bytes");
    }
    FUZZ_CHECK(read.Ok == (lines.size() >= SMSCount), "six lines or more are taken");
    if (!read.Ok) {
        FUZZ_CHECK(read.Error == SMSFileFormatError() && read.Texts.isEmpty(), "refused with the message");
        return 0;
    }
    FUZZ_CHECK(read.Texts.size() == SMSCount, "six texts");
    for (const QString& text : read.Texts) {
        for (const QChar c : text)
            FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F, "no line ends, no control characters");
    }
    const QString saved = Scratch().filePath(QStringLiteral("saved.txt"));
    QString error;
    FUZZ_CHECK(WriteSMSFile(saved, read.Texts, &error), "saved");
    const TSMSFileResult back = ReadSMSFile(saved);
    FUZZ_CHECK(back.Ok && back.Texts == read.Texts, "the texts come back as saved");
    return 0;
}
