#include "pty_responder.h"

#include "pty_pair.h"

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

PtyResponder::PtyResponder(int masterFd, QByteArray answer, std::chrono::microseconds byteGap)
    : fMaster(masterFd), fAnswer(std::move(answer)), fGap(byteGap) {
    fStop = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fStop < 0)
        throw std::runtime_error("eventfd failed");
    fThread = std::thread(&PtyResponder::run, this);
}

PtyResponder::~PtyResponder() {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(fStop, &one, sizeof one);
    fThread.join();
    ::close(fStop);
}

uint64_t PtyResponder::answered() const {
    std::lock_guard lock(fLock);
    return fAnswered;
}

std::optional<PtyResponder::Clock::time_point>
PtyResponder::lastByteOf(uint64_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(fLock);
    if (!fChanged.wait_for(lock, timeout, [&] { return fAnswered >= n; }) || fAnswered != n)
        return std::nullopt;
    return fLastByte;
}

bool PtyResponder::answer() {
    if (fGap.count() == 0) {
        if (!WriteAllToFd(fMaster, fAnswer.constData(), fAnswer.size()))
            return false;
    } else {
        for (qsizetype i = 0; i < fAnswer.size(); ++i) {
            if (i > 0)
                std::this_thread::sleep_for(fGap);
            if (!WriteAllToFd(fMaster, fAnswer.constData() + i, 1))
                return false;
        }
    }
    const Clock::time_point stamp = Clock::now();
    {
        std::lock_guard lock(fLock);
        ++fAnswered;
        fLastByte = stamp;
    }
    fChanged.notify_all();
    return true;
}

void PtyResponder::run() {
    QByteArray line;
    for (;;) {
        pollfd fds[2] = {{fMaster, POLLIN, 0}, {fStop, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents & POLLIN)
            return;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
            return;
        char buffer[256];
        const ssize_t n = ::read(fMaster, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c != '\r' && c != '\n') {
                line += c;
                continue;
            }
            if (!line.isEmpty() && !answer())
                return;
            line.clear();
        }
    }
}
