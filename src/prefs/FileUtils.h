#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QSettings;

// Where the tool keeps its window state: QSettings("Velmor", "Tarvik1"),
// an INI file here (on Windows the registry key
// HKEY_CURRENT_USER\Software\Velmor\Tarvik1). The value "version" at the top
// holds the program version the state was saved by; every saved window is
// one group named after the window's object name.
inline constexpr char kSettingsOrganization[] = "Velmor";
inline constexpr char kSettingsApplication[] = "Tarvik1";
inline constexpr char kVersionValue[] = "version";
// Beside it: whether the window keeps the panel archive (true when missing).
inline constexpr char kArchiveValue[] = "archive";

// The version this program was built as ("2.0.0.16"). There is no version
// resource in a Linux executable, so it is the compiled version.
QString GetFileVersion();

// The stamped version, empty when there is none.
QString ReadStoredVersion();
void WriteStoredVersion(const QString& version);

// Removes every group under the settings' current group, with everything in
// it; values directly in the current group stay.
void DeleteSubKeys(QSettings& key);

// True when the saved window state belongs to `version` and may be restored.
// Otherwise (a missing stamp counts as a different version, whatever
// `version` is) every saved window is removed, `version` is stamped, then
// `resetCaptions` runs (when given), and the result is false.
bool CheckSettingsVersion(const QString& version, const std::function<void()>& resetCaptions);

// ---- The files the tool reads and writes ----------------------------------
//
// Every file the tool reads (settings, SMS texts, firmware images) or writes
// (settings, SMS texts, the exchange log, the journal's sheet) is reached
// through the functions below and TReplacingFile. A path is followed as the
// kernel's protected_symlinks follows it: a symbolic link that lies in a
// folder everybody may write to and that has the sticky bit (/tmp) is
// followed only when it belongs to the user running the tool or to the
// folder's owner, so a link planted there by someone else never leads a read
// or a write elsewhere. Reasons are short Russian texts without the file's
// name: the caller names the file.

// Who may read a file the tool creates (an existing file keeps its mode).
enum class TFileAccess {
    Shared,  // as the process's file mode mask allows (0644 under the usual 022)
    Private, // the owner alone (0600): the file may hold the panel's passwords
};

// A path with every symbolic link in it followed.
struct TResolvedPath {
    QString Path;         // absolute, without links, "." or ".."; empty when refused
    QString Problem;      // why the path cannot be followed; empty when it can
    bool Exists = false;  // something is at Path (then Mode and Owner are its own)
    unsigned Mode = 0;    // st_mode
    unsigned Owner = 0;   // st_uid
    bool Foreign = false; // refused for a link of another user in a shared folder
};
TResolvedPath ResolveFilePath(const QString& path);

// Why `path` may never be written as a file, whatever becomes of its folder
// meanwhile (empty when it may): something other than a regular file is
// there (a FIFO, a device, a folder), or the way to it passes through
// someone else's link in a shared folder, or it is someone else's regular
// file in such a folder (the kernel's protected_regular). With `resolved`,
// the path as followed.
QString ForbiddenTargetProblem(const QString& path, TResolvedPath* resolved = nullptr);

// Why `path` cannot be written as a file now (empty when it can): as
// ForbiddenTargetProblem, and it must be a regular file or missing in an
// existing folder the tool may write to.
QString WriteTargetProblem(const QString& path, TResolvedPath* resolved = nullptr);

// Reading a file whole.
struct TFileRead {
    enum TFault { None, Open, TooLarge, Read };
    TFault Fault = None;
    QString Reason;   // what went wrong, when Fault is not None
    QByteArray Bytes; // the contents, when Fault is None
    qint64 Size = 0;  // the file's size (also when it is too large)
};
// Reads a regular file of at most `maxBytes`. Anything else (a folder, a
// FIFO, a device, a socket) is refused at once, without waiting for a
// writer or reading without end; so is a larger file, before any of it is
// read.
TFileRead ReadRegularFile(const QString& path, qint64 maxBytes);

// The mode a file the tool creates gets.
unsigned NewFileMode(TFileAccess access);

// A system error number as a Russian reason ("нет такого файла или папки").
QString SystemErrorText(int error);

// "1 МБ", "64 КБ", "100 байт": a size limit as the messages state it.
QString ByteLimitText(qint64 bytes);
