#pragma once

#include <QString>
#include <QStringList>

// The SMS text file: the six texts in row order, one a line, Windows-1251,
// lines ended by CR LF, nothing else (TextFileLines.h: a file with a byte,
// a character or a control character no text for the panel has is refused,
// as the settings file refuses it, with the line named).

// The largest SMS text file read: six texts take a few hundred bytes.
inline constexpr qint64 kMaxSMSFileBytes = 1024 * 1024;

// The message for a file with fewer than six lines.
QString SMSFileFormatError(); // "Файл имеет неверный формат или поврежден"

struct TSMSFileResult {
    bool Ok = false;
    QStringList Texts; // the first six lines when Ok (further lines are ignored)
    QString Error;     // what to show when not Ok
};
// Reads the texts. CR LF, CR or LF alone end a line (a line end at the very
// end adds no empty line); a file starting with the UTF-8 byte-order mark is
// read as UTF-8. Only a regular file of at most kMaxSMSFileBytes is read. A
// file that cannot be read, is refused, or has fewer than six lines, gives
// no texts and the message to show.
TSMSFileResult ReadSMSFile(const QString& path);

// Writes the texts, replacing the file as a whole (a failed write leaves an
// existing file as it was), only over a regular file or where none is. On failure returns false with the
// message to show in *error.
bool WriteSMSFile(const QString& path, const QStringList& texts, QString* error = nullptr);
