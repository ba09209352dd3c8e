#include "StatusLineDevice.h"

#include <QTextStream>

TStatusLineDevice::TStatusLineDevice(QTextStream& target) : fTarget(target) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void TStatusLineDevice::Status(const QString& text) {
    fTarget << '\r' << text;
    if (text.size() < fShown)
        fTarget << QString(fShown - text.size(), QLatin1Char(' '));
    fShown = text.size();
    fTarget.flush();
}

void TStatusLineDevice::EndStatus() {
    if (fShown < 0)
        return;
    fTarget << '\n';
    fTarget.flush();
    fShown = -1;
}

qint64 TStatusLineDevice::readData(char*, qint64) {
    return -1;
}

qint64 TStatusLineDevice::writeData(const char* data, qint64 size) {
    if (size <= 0)
        return 0;
    EndStatus();
    // A character split between two writes is put together by the decoder.
    fTarget << fDecoder.decode(QByteArrayView(data, size));
    fTarget.flush();
    return size;
}
