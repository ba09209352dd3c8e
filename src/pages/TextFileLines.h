#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The text files the pages keep, the settings file and the SMS text file:
// Windows-1251 without a byte-order mark, every line ended by CR LF. On
// reading, CR or LF alone also ends a line (a line end at the very end adds
// no empty line), and a file that starts with the UTF-8 byte-order mark (an
// editor may have saved it so) is read as UTF-8, as is a file without the
// mark that is UTF-8 through and through and holds characters of more than
// one byte (what a Linux editor writes): a Russian Windows-1251 text is in
// practice never valid UTF-8.
//
// Both files hold text for the panel and nothing else. A file is refused,
// with the line named, when a line
// - holds the byte 0x98, which no Windows-1251 text has (a damaged file, or
//   UTF-8 that is damaged elsewhere: its "И" and "Ш" hold that byte);
// - is not UTF-8 although the file says it is;
// - holds a character Windows-1251 has not (it would be saved, and sent to
//   the panel, as "?");
// - holds a control character (codes 0 to 31 and 127 other than the line
//   ends): NUL or an escape sequence would go to the panel as they stand.

// Where and why a file's bytes are refused.
struct TLineFault {
    enum TKind { UndefinedByte, NotUtf8, NotInCodePage, Control };
    TKind Kind = UndefinedByte;
    qsizetype Line = -1; // index of the line
    QString What;        // "содержит ...", to follow "строка N"
    QString Text;        // the line as decoded, when it could be
};

// Whether the bytes, without the byte-order mark, are read as UTF-8.
bool IsUtf8WithoutMark(const QByteArray& bytes);

// The lines of a file's bytes; false with the fault when the bytes are
// refused (then `lines` stays as it was).
bool DecodeTextFileLines(const QByteArray& bytes, QStringList& lines, TLineFault& fault);

// The file's bytes for these lines.
QByteArray EncodeTextFileLines(const QStringList& lines);

// A text as a message may show it: every control character as \xNN, so
// that nothing from a file reaches the terminal or the window as a control
// sequence.
QString VisibleText(const QString& text);
