#pragma once

// Intel HEX lines made up for tests, and the real images in data/.
#include <QByteArray>
#include <QString>
#include <QStringList>

// One record line with its right check sum, upper-case digits.
inline QString HexRecordLine(int type, quint32 address, const QByteArray& data) {
    QByteArray bytes;
    bytes.append(char(data.size()));
    bytes.append(char((address >> 8) & 0xFF));
    bytes.append(char(address & 0xFF));
    bytes.append(char(type));
    bytes.append(data);
    quint8 sum = 0;
    for (char b : bytes)
        sum += quint8(b);
    bytes.append(char(quint8(0x100 - sum)));
    return QLatin1Char(':') + QString::fromLatin1(bytes.toHex().toUpper());
}

// `count` data records of `size` bytes each at addresses that follow one
// another from `start`, each with contents of its own.
inline QStringList DataRecords(int count, int size = 16, quint32 start = 0) {
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        QByteArray data;
        for (int b = 0; b < size; ++b)
            data.append(char((i * 37 + b * 11 + 5) & 0xFF));
        lines << HexRecordLine(0, start + quint32(i * size), data);
    }
    return lines;
}

inline const QString kEndOfFile = QStringLiteral(":00000001FF");

// An image as a file holds it: `count` data records of 16 bytes, then the
// end-of-file record.
inline QStringList ImageLines(int count) {
    return DataRecords(count) << kEndOfFile;
}

// The real images of data/ and their number of lines.
struct TRealImage {
    const char* File;
    int Lines;
};
inline constexpr TRealImage kRealImages[] = {
    {"Arduino-usbserial-atmega16u2-Uno-Rev3.hex", 254},
    {"stk500boot_v2_mega2560.hex", 469},
    {"dfu_minima.hex", 783},
    {"Bootloader_D21_M0_150515.hex", 1594},
    {"Caterina-Leonardo.hex", 1024},
};

inline QString RealImagePath(const char* file) {
    return QStringLiteral(FIRMWARE_TEST_DATA "/") + QLatin1String(file);
}
