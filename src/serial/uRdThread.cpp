#include "uRdThread.h"

#include "ComEvents.h"

#include <QCoreApplication>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

TReceiveDataThread::TReceiveDataThread(int port, QObject* msgHandler, uint64_t portSerial)
    : hport(port), fmsgHandler(msgHandler), fPortSerial(portSerial) {
    fWake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

TReceiveDataThread::~TReceiveDataThread() {
    Terminate();
    if (fWake >= 0)
        ::close(fWake);
}

bool TReceiveDataThread::Launch() {
    if (fWake < 0)
        return false;
    try {
        fThread = std::thread(&TReceiveDataThread::Execute, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void TReceiveDataThread::StartReceive() {
    {
        std::lock_guard lock(fStateLock);
        fReceiving = true;
    }
    fStateChanged.notify_all();
}

void TReceiveDataThread::StopReceive() {
    {
        std::lock_guard lock(fStateLock);
        fReceiving = false;
    }
    fStateChanged.notify_all();
    Wake();
}

void TReceiveDataThread::Terminate() {
    {
        std::lock_guard lock(fStateLock);
        fTerminated = true;
        fReceiving = false;
    }
    fStateChanged.notify_all();
    Wake();
    if (fThread.joinable())
        fThread.join();
}

bool TReceiveDataThread::Receiving() const {
    std::lock_guard lock(fStateLock);
    return fReceiving;
}

QByteArray TReceiveDataThread::ReadComPort() {
    QByteArray taken;
    bool wasFull = false;
    {
        std::lock_guard lock(fDataLock);
        wasFull = data.size() >= kMaxPending;
        taken.swap(data);
        fNotified = false;
    }
    if (wasFull)
        Wake(); // reading goes on
    return taken;
}

qsizetype TReceiveDataThread::Pending() const {
    std::lock_guard lock(fDataLock);
    return data.size();
}

void TReceiveDataThread::Wake() {
    if (fWake >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(fWake, &one, sizeof one);
    }
}

void TReceiveDataThread::Post(int type) {
    // postEvent is safe from any thread; the handler outlives this thread
    // because the port object joins it before its owner goes.
    if (QObject* handler = fmsgHandler.data()) {
        std::lock_guard lock(ComNotifyLock());
        QCoreApplication::postEvent(handler, new TComPortNotify(QEvent::Type(type), fPortSerial));
    }
}

bool TReceiveDataThread::ReadChunk() {
    int queued = 0;
    if (::ioctl(hport, FIONREAD, &queued) != 0 || queued <= 0)
        queued = kReadChunk; // let read() tell us whether the line is gone
    char buffer[kReadChunk];
    const ssize_t n = ::read(hport, buffer, size_t(std::min(queued, kReadChunk)));
    if (n > 0) {
        bool notify = false;
        {
            std::lock_guard lock(fDataLock);
            data.append(buffer, n);
            notify = !std::exchange(fNotified, true);
        }
        if (notify)
            Post(WM_COMPORT_DATA);
        return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    return false; // 0 = end of file, EIO = the device went away
}

void TReceiveDataThread::Execute() {
    for (;;) {
        {
            std::unique_lock lock(fStateLock);
            fStateChanged.wait(lock, [this] { return fReceiving || fTerminated; });
            if (fTerminated)
                return;
        }

        bool full = false;
        {
            std::lock_guard lock(fDataLock);
            full = data.size() >= kMaxPending;
        }
        // A full buffer: only the wake-up counts (ReadComPort sends one when
        // it empties it); poll leaves out a negative descriptor.
        pollfd fds[2] = {{full ? -1 : hport, POLLIN, 0}, {fWake, POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] ssize_t n = ::read(fWake, &count, sizeof count);
            continue; // look at the flags again
        }
        const short ev = fds[0].revents;
        bool alive = true;
        if (ev & POLLIN)
            alive = ReadChunk();
        else if (ev & (POLLHUP | POLLERR | POLLNVAL))
            alive = false;
        if (!alive)
            break;
    }
    Post(WM_COMPORT_LOST);
}
