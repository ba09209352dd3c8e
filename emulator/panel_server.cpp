#include "panel_server.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace emu {

PanelServer::PanelServer(PanelCore& core, std::mutex& mutex) : fCore(core), fMutex(mutex) {}

PanelServer::~PanelServer() {
    stop();
}

bool PanelServer::start(QString* error) {
    if (isRunning())
        return true;
    if (!fPort.open(error))
        return false;
    fWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fWake < 0) {
        if (error)
            *error = QStringLiteral("cannot create an event descriptor: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
        fPort.close();
        return false;
    }
    fStop = false;
    fUnwritten.clear();
    fThread = std::thread([this] { run(); });
    return true;
}

void PanelServer::stop() {
    if (fThread.joinable()) {
        fStop = true;
        wake();
        fThread.join();
    }
    if (fWake >= 0) {
        ::close(fWake);
        fWake = -1;
    }
    fPort.close();
}

void PanelServer::wake() {
    if (fWake >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(fWake, &one, sizeof one);
    }
}

void PanelServer::writePending() {
    while (!fUnwritten.isEmpty()) {
        const ssize_t n = ::write(fPort.masterFd(), fUnwritten.constData(), size_t(fUnwritten.size()));
        if (n > 0) {
            fUnwritten.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break; // full (EAGAIN) or gone: poll says when to go on
        }
    }
}

void PanelServer::run() {
    while (!fStop) {
        std::optional<Clock::time_point> wakeAt;
        {
            std::lock_guard lock(fMutex);
            const Clock::time_point now = Clock::now();
            fCore.advance(now);
            fUnwritten += fCore.takeOutput(now);
            if (fUnwritten.isEmpty())
                fUnwritten = fCore.takeFlood(now, kFloodRoom);
            wakeAt = fCore.nextWake();
        }
        writePending();
        if (fUnwritten.isEmpty()) {
            // The flood goes on as soon as the line has taken what went before.
            std::lock_guard lock(fMutex);
            const std::optional<Clock::time_point> flood = fCore.nextFlood();
            if (flood && (!wakeAt || *flood < *wakeAt))
                wakeAt = flood;
        }

        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        if (wakeAt) {
            const auto left =
                std::max(std::chrono::nanoseconds(0),
                         std::chrono::duration_cast<std::chrono::nanoseconds>(*wakeAt - Clock::now()));
            timeout.tv_sec = time_t(left.count() / 1'000'000'000);
            timeout.tv_nsec = long(left.count() % 1'000'000'000);
            timeoutPtr = &timeout;
        }
        pollfd fds[3] = {
            {fWake, POLLIN, 0},
            {fPort.watchFd(), POLLIN, 0},
            {fPort.masterFd(), short(POLLIN | (fUnwritten.isEmpty() ? 0 : POLLOUT)), 0},
        };
        const int ready = ::ppoll(fds, 3, timeoutPtr, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(fWake, &count, sizeof count);
        }
        // The tool's opening and closing first, looked at on every turn and
        // not only when poll saw them: poll checks its descriptors one after
        // another, so a tool that closes, reopens and writes at once can make
        // its bytes readable before its opening shows. Bytes read from here on
        // belong to the connection as it stands after these events.
        {
            const QList<PtyPort::PeerEvent> events = fPort.takePeerEvents();
            std::lock_guard lock(fMutex);
            for (PtyPort::PeerEvent e : events) {
                const bool lineChanged =
                    e == PtyPort::PeerEvent::Opened ? fCore.peerOpened() : fCore.peerClosed();
                // Nothing said before this moment reaches the tool now on the line.
                if (lineChanged) {
                    fUnwritten.clear();
                    fPort.discardUnread();
                }
            }
        }
        if (fds[2].revents & POLLIN) {
            char buf[4096];
            const ssize_t n = ::read(fPort.masterFd(), buf, sizeof buf);
            if (n > 0) {
                std::lock_guard lock(fMutex);
                fCore.receive(QByteArray(buf, n), Clock::now());
            }
        }
        if (fds[2].revents & POLLOUT)
            writePending();
        if ((fds[2].revents & (POLLHUP | POLLERR)) && !(fds[2].revents & POLLIN)) {
            // Cannot happen while the own slave descriptor is open; do not spin if it does.
            ::poll(nullptr, 0, 10);
        }
    }
}

} // namespace emu
