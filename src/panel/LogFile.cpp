#include "LogFile.h"

#include "Cp1251.h"

TLogFile::TLogFile(const QString& path) : fFile(path) {
    if (!fFile.open(QIODevice::WriteOnly))
        fError = fFile.errorString();
}

TLogFile::~TLogFile() {
    if (fFile.isOpen())
        fFile.cancelWriting();
}

void TLogFile::Append(const QString& line) {
    if (!fError.isEmpty())
        return;
    const QByteArray bytes = ToCp1251(line) + "\r\n";
    if (fFile.write(bytes) != bytes.size()) {
        fError = fFile.errorString();
        fFile.cancelWriting();
        return;
    }
    fSize += bytes.size();
}

bool TLogFile::Commit(QString* error) {
    if (fError.isEmpty() && !fFile.commit())
        fError = fFile.errorString();
    if (!fError.isEmpty() && error)
        *error = fError;
    return fError.isEmpty();
}
