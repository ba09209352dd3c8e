#pragma once

#include <QString>
#include <QStringList>

// A firmware image as the boot loader will get it: text lines in file order,
// one Intel HEX record each.
struct TFirmwareImage {
    QString Name;      // the file's path, or the built-in image's resource
    QStringList Lines; // as read, in order
};

// The largest image file taken: far beyond any panel's flash in HEX text.
constexpr qint64 kMaxImageFileBytes = 32 * 1024 * 1024;

// Reads an image file as text lines. False, with a message naming the file,
// when it cannot be opened or read, is not a regular file (a FIFO, a
// device) or is too large to be an image.
bool ReadFirmwareFile(const QString& path, TFirmwareImage& image, QString& error);

// Whether the image can go to the panel: it has lines, every line is an
// Intel HEX record (a colon, hexadecimal pairs, a byte count that matches
// the data, a right check sum, a known type), and its blocks carry data.
// Empty when it can; otherwise the message for the installer, naming the
// file, the line and what is wrong.
QString ValidateFirmwareImage(const TFirmwareImage& image);

// ReadFirmwareFile, then ValidateFirmwareImage.
bool LoadFirmwareFile(const QString& path, TFirmwareImage& image, QString& error);
