#pragma once

// Files a user, or another user, may put in the tool's way: FIFOs, device
// nodes, files far larger than the tool's own, and symbolic links planted
// in a folder everybody may write to.
#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// A uid no one on a test machine has.
inline constexpr unsigned kStrangerUid = 54321;

bool RunningAsRoot();

// Makes a FIFO at `path`; false when the system refuses.
bool MakeFifo(const QString& path);
// Makes a character device node at `path` with the numbers of /dev/null
// (root only); false when the system refuses.
bool MakeNullDevice(const QString& path);
// A file of `size` bytes that takes no room on disk (all zero).
bool MakeSparseFile(const QString& path, qint64 size);
// The bytes of the regular file at `path` (a link is not followed), or
// "<unreadable>".
QByteArray ContentsOf(const QString& path);
// Whether `path` itself (not what a link leads to) is a FIFO, a device node
// or a regular file.
bool IsFifo(const QString& path);
bool IsCharDevice(const QString& path);
bool IsRegularFile(const QString& path);
// The permission bits of `path` (st_mode & 07777), -1 when it is missing.
int ModeOf(const QString& path);

// A folder like /tmp inside `parent`: everybody may write to it, the sticky
// bit set. `owner` gives it to another uid (root only).
bool MakeSharedFolder(const QString& path, unsigned owner = 0);
// Puts a symbolic link to `target` at `link`, owned by `uid` (root only).
bool PlantLink(const QString& target, const QString& link, unsigned uid);

// Guards a test that reads from a FIFO: should the code under test open it
// and wait for a writer, the guard opens the other end after `bound` and
// closes it, so the read ends (with nothing) instead of hanging the suite,
// and Fired() tells the test that it had to. Nothing waits when the code
// never blocks: the guard is let go at the end of its scope.
class FifoGuard {
public:
    explicit FifoGuard(QString path, std::chrono::milliseconds bound = std::chrono::seconds(5));
    ~FifoGuard();
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    bool Fired() const { return fFired; }

private:
    QString fPath;
    std::mutex fMutex;
    std::condition_variable fWake;
    bool fDone = false;
    std::atomic<bool> fFired{false};
    std::thread fThread;
};
