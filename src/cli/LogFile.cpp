#include "LogFile.h"

#include "panel/Cp1251.h"

TLogFile::TLogFile(const QString& path) : fFile(path, TFileAccess::Private) {
    if (!fFile.Open())
        fError = fFile.Reason();
}

TLogFile::~TLogFile() = default;

qint64 TLogFile::Buffered() const {
    return fFile.Device().bytesToWrite();
}

void TLogFile::Append(const QString& line) {
    if (!fError.isEmpty())
        return;
    const QByteArray bytes = ToCp1251(line) + "\r\n";
    if (fFile.Device().write(bytes) != bytes.size()) {
        fError = fFile.Device().errorString();
        return;
    }
    fSize += bytes.size();
}

bool TLogFile::Commit(QString* error) {
    if (fError.isEmpty() && !fFile.Commit())
        fError = fFile.Reason();
    if (!fError.isEmpty() && error)
        *error = fError;
    return fError.isEmpty();
}
