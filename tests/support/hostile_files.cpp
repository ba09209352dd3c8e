#include "hostile_files.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

bool LStat(const QString& path, struct stat& st) {
    return lstat(Native(path).constData(), &st) == 0;
}

} // namespace

bool RunningAsRoot() {
    return geteuid() == 0;
}

bool MakeFifo(const QString& path) {
    return mkfifo(Native(path).constData(), 0644) == 0;
}

bool MakeNullDevice(const QString& path) {
    return mknod(Native(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

bool MakeSparseFile(const QString& path, qint64 size) {
    const int fd = open(Native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ftruncate(fd, off_t(size)) == 0;
    close(fd);
    return ok;
}

QByteArray ContentsOf(const QString& path) {
    QFile f(path);
    if (!IsRegularFile(path) || !f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

bool IsFifo(const QString& path) {
    struct stat st {};
    return LStat(path, st) && S_ISFIFO(st.st_mode);
}

bool IsCharDevice(const QString& path) {
    struct stat st {};
    return LStat(path, st) && S_ISCHR(st.st_mode);
}

bool IsRegularFile(const QString& path) {
    struct stat st {};
    return LStat(path, st) && S_ISREG(st.st_mode);
}

int ModeOf(const QString& path) {
    struct stat st {};
    return LStat(path, st) ? int(st.st_mode & 07777) : -1;
}

bool MakeSharedFolder(const QString& path, unsigned owner) {
    const QByteArray native = Native(path);
    if (mkdir(native.constData(), 0777) != 0 || chmod(native.constData(), 01777) != 0)
        return false;
    return owner == 0 || chown(native.constData(), owner, owner) == 0;
}

bool PlantLink(const QString& target, const QString& link, unsigned uid) {
    const QByteArray native = Native(link);
    return symlink(Native(target).constData(), native.constData()) == 0 &&
           lchown(native.constData(), uid, uid) == 0;
}

FifoGuard::FifoGuard(QString path, std::chrono::milliseconds bound) : fPath(std::move(path)) {
    fThread = std::thread([this, bound] {
        std::unique_lock lock(fMutex);
        if (fWake.wait_for(lock, bound, [this] { return fDone; }))
            return;
        // Someone waits on the FIFO: give it a writer that writes nothing.
        const int fd = open(Native(fPath).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            fFired = true;
            close(fd);
        }
    });
}

FifoGuard::~FifoGuard() {
    {
        std::lock_guard lock(fMutex);
        fDone = true;
    }
    fWake.notify_all();
    fThread.join();
}
