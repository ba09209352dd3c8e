#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A settings file: the key=value lines of every settings page, one setting
// a line, no sections, no comments, no header. On disk it is Windows-1251
// without a byte-order mark, every line ended by CR LF. On reading, CR or LF
// alone also ends a line, and a file that starts with the UTF-8 byte-order
// mark (an editor may have saved it so) is read as UTF-8.
//
// A byte that is no character of Windows-1251 (0x98) makes the whole file
// unreadable, with the line named: such a file was not written by the tool
// (most often it is UTF-8 without the mark, whose "И" and "Ш" hold that
// byte), and taking it would put wrong letters into the pages.
//
// Reading and writing never throw: a failure is a result whose text names
// the file and the reason.
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
};
