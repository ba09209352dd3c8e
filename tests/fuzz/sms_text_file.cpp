// The SMS text file: the input written to a file and read as the SMS page's
// "Загрузить СМС" reads it.
//
// Checked: a file is taken exactly when it has six lines or more, then with
// six texts without line ends, and refused with the format message
// otherwise; six texts taken from a file without a byte-order mark, saved
// and read again, come back unchanged.
#include "fuzz_check.h"

#include "pages/SMSCodec.h"
#include "pages/SMSTextFile.h"

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
    static const QByteArray kBom("\xEF\xBB\xBF");
    const bool bom = bytes.startsWith(kBom);
    if (!bom) {
        FUZZ_CHECK(read.Ok == (LineCount(bytes) >= SMSCount), "six lines or more are taken");
    }
    if (!read.Ok) {
        FUZZ_CHECK(read.Error == SMSFileFormatError() && read.Texts.isEmpty(), "refused with the message");
        return 0;
    }
    FUZZ_CHECK(read.Texts.size() == SMSCount, "six texts");
    for (const QString& text : read.Texts) {
        FUZZ_CHECK(!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')), "no line ends");
    }
    if (bom)
        return 0; // texts from a UTF-8 file are saved in Windows-1251, which may lack their characters
    const QString saved = Scratch().filePath(QStringLiteral("saved.txt"));
    QString error;
    FUZZ_CHECK(WriteSMSFile(saved, read.Texts, &error), "saved");
    const TSMSFileResult back = ReadSMSFile(saved);
    FUZZ_CHECK(back.Ok && back.Texts == read.Texts, "the texts come back as saved");
    return 0;
}
