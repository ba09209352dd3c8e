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

// The lines of an image's text (see ImageTextLines) as they go to the boot
// loader: blank lines at the end (empty, or nothing but white space), as
// editors leave them, are dropped; nothing is sent for them. A blank line
// with records after it stays, and the check refuses it.
QStringList FirmwareImageLines(const QByteArray& bytes);

// Reads an image file as text lines (FirmwareImageLines). False, with a
// message naming the file, when it cannot be opened or read, is not a
// regular file (a FIFO, a device) or is too large to be an image.
bool ReadFirmwareFile(const QString& path, TFirmwareImage& image, QString& error);

// Whether the image can go to the panel: it has lines, every line is an
// Intel HEX record (a colon, hexadecimal pairs, a byte count that matches
// the data, a right check sum, a known type), the last line is the
// end-of-file record (type 01) and no line follows it (a file without one
// was cut short; lines after it are no part of the image and may be another
// file's), and its blocks carry data. Empty when it can; otherwise the
// message for the installer, naming the file, the line and what is wrong.
QString ValidateFirmwareImage(const TFirmwareImage& image);

// ReadFirmwareFile, then ValidateFirmwareImage.
bool LoadFirmwareFile(const QString& path, TFirmwareImage& image, QString& error);
