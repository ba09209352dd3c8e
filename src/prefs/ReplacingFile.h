#pragma once

#include "FileUtils.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// A file written under a temporary name beside its target and put in the
// target's place only once it is complete, so an existing file is replaced
// whole or not at all. The target must be a regular file or missing, and is
// reached as WriteTargetProblem allows; a link to it is followed once, when
// the file is opened, and the finished file replaces the file the link led
// to. A new file gets the mode of its access, an existing one keeps its own.
// Until Commit nothing of the target changes; a file not committed leaves
// no temporary file behind.
class TReplacingFile {
public:
    explicit TReplacingFile(QString path, TFileAccess access = TFileAccess::Shared);
    ~TReplacingFile();
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    // Checks the target and makes the temporary file; false with Reason().
    bool Open();
    // The temporary file, open for writing after Open.
    QFile& Device() { return fFile; }
    const QFile& Device() const { return fFile; }
    // Its path, for writers that take a file name.
    QString TemporaryPath() const { return fTemporary; }
    // Writes out what is buffered, makes it durable and puts the file in
    // place; false with Reason().
    bool Commit();
    // Why Open or Commit failed (Russian, without the file's name).
    QString Reason() const { return fReason; }

    // Writes `bytes` as the whole file; false with the reason in *reason.
    static bool WriteAll(const QString& path, const QByteArray& bytes, TFileAccess access,
                         QString* reason = nullptr);

private:
    bool Fail(const QString& reason);
    void Discard();

    QString fPath;
    TFileAccess fAccess;
    QString fTarget;    // fPath with its links followed
    QString fTemporary; // beside fTarget
    QFile fFile;
    QString fReason;
};
