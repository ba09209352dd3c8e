#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A settings file: the key=value lines of every settings page, one setting
// a line, no sections, no comments, no header, as TextFileLines.h keeps
// text: Windows-1251 with CR LF (a file with the UTF-8 byte-order mark, or
// one that is UTF-8 with Russian letters and no mark, read as UTF-8).
//
// A file whose bytes are refused there (the byte 0x98, a character
// Windows-1251 has not, a control character) is unreadable as a whole, with
// the line named (and, for a control character, its key): taking it would
// put wrong letters into the pages, or NUL and escape sequences into the
// panel.
//
// Only a regular file of at most kMaxSettingsFileBytes is read, and the
// file is written only over a regular file or where none is (FileUtils.h);
// a new file is the owner's alone (0600), as it holds the panel's GPRS and
// identification passwords.
//
// Reading and writing never throw: a failure is a result whose text names
// the file and the reason.

// The largest settings file read: a whole configuration takes a few
// kilobytes.
inline constexpr qint64 kMaxSettingsFileBytes = 1024 * 1024;

class TSettingsFile {
public:
    // What became of a read or a write.
    struct TResult {
        bool Ok = true;
        QString Error; // the file and the reason, for a message box
        explicit operator bool() const { return Ok; }
    };

    TSettingsFile() = default;
    explicit TSettingsFile(QStringList lines) : fLines(std::move(lines)) {}

    const QStringList& Lines() const { return fLines; }
    // The file read was UTF-8 without the byte-order mark (TextFileLines.h).
    bool Utf8WithoutMark() const { return fUtf8WithoutMark; }

    // Reads the whole file. On failure the lines stay as they were.
    TResult Read(const QString& path);
    // Replaces the file as a whole: the lines go to a temporary file beside
    // it, which takes the file's place only once everything is written, so
    // a failed write leaves an existing file as it was.
    TResult Write(const QString& path) const;

    // The value of `key`: everything after the first "=" of the first line
    // whose part before its first "=" equals the key without regard to case;
    // empty when no line has the key.
    QString Value(const QString& key) const;
    // Whether some line has the key.
    bool Contains(const QString& key) const;

    // The file's bytes for these lines.
    static QByteArray Encode(const QStringList& lines);
    // The lines of a file's bytes; false with `reason` (no file name) when
    // the bytes are not text of the file's encoding.
    static bool Decode(const QByteArray& bytes, QStringList& lines, QString& reason);

private:
    QStringList fLines;
    bool fUtf8WithoutMark = false;
};
