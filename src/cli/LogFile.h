#pragma once

#include "prefs/ReplacingFile.h"

#include <QString>

// A traffic log written while the session runs, line by line, in the saved
// log's format (Windows-1251, each line ended by CR LF). The lines go to a
// temporary file beside the target, which takes the target's place at
// Commit: the log appears whole or not at all, and however long the session
// and however fast the line, memory holds no more than the file's write
// buffer. The target is checked as every file the tool writes (a regular
// file or none; no other user's link in a shared folder), and a new log is
// the owner's alone: it holds every password sent. A file that cannot be
// opened or written is remembered and told by Commit; the lines given
// meanwhile are dropped.
class TLogFile {
public:
    explicit TLogFile(const QString& path);
    ~TLogFile(); // without Commit the temporary file goes, the target stays as it was

    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    void Append(const QString& line);
    // Puts the file in place; false with the reason when it could not be
    // opened, written or put there.
    bool Commit(QString* error = nullptr);

    // Bytes of the log held in memory, not yet handed to the system.
    qint64 Buffered() const;
    // Bytes appended so far.
    qint64 Size() const { return fSize; }

private:
    TReplacingFile fFile;
    QString fError; // the first failure
    qint64 fSize = 0;
};
