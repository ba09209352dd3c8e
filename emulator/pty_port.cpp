#include "pty_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace emu {

PtyPort::~PtyPort() {
    close();
}

bool PtyPort::open(QString* error) {
    close();
    char name[256] = {};
    if (::openpty(&fMaster, &fSlave, name, nullptr, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("cannot open a pseudo-terminal: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
        fMaster = fSlave = -1;
        return false;
    }
    termios t{};
    ::tcgetattr(fSlave, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B19200);
    ::cfsetospeed(&t, B19200);
    ::tcsetattr(fSlave, TCSANOW, &t);
    ::fcntl(fMaster, F_SETFL, ::fcntl(fMaster, F_GETFL) | O_NONBLOCK);
    ::fcntl(fMaster, F_SETFD, FD_CLOEXEC);
    ::fcntl(fSlave, F_SETFD, FD_CLOEXEC);
    fSlavePath = QString::fromLocal8Bit(name);

    fWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fWatch >= 0 && ::inotify_add_watch(fWatch, name, IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ::close(fWatch);
        fWatch = -1;
    }
    return true;
}

void PtyPort::close() {
    for (int* fd : {&fWatch, &fSlave, &fMaster}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

QList<PtyPort::PeerEvent> PtyPort::takePeerEvents() {
    QList<PeerEvent> out;
    if (fWatch < 0)
        return out;
    alignas(inotify_event) char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fWatch, buf, sizeof buf);
        if (n <= 0)
            break;
        for (ssize_t off = 0; off < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + off);
            if (e->mask & IN_OPEN)
                out.append(PeerEvent::Opened);
            if (e->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE))
                out.append(PeerEvent::Closed);
            off += ssize_t(sizeof(inotify_event) + e->len);
        }
    }
    return out;
}

void PtyPort::discardUnread() {
    if (fSlave < 0)
        return;
    ::tcflush(fSlave, TCIFLUSH);
    ::ioctl(fSlave, TIOCNXCL);
    termios t{};
    if (::tcgetattr(fSlave, &t) == 0) {
        ::cfmakeraw(&t); // the next tool finds the port as the first one did
        ::tcsetattr(fSlave, TCSANOW, &t);
    }
}

} // namespace emu
