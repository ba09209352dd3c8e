#include "pty_pair.h"

#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    char name[256] = {};
    int slave = -1;
    if (openpty(&fMaster, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios t{};
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);
    fSlaveKeep = slave;
    fSlavePath = QString::fromLocal8Bit(name);
    fcntl(fMaster, F_SETFL, fcntl(fMaster, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    if (fMaster >= 0)
        ::close(fMaster);
    if (fSlaveKeep >= 0)
        ::close(fSlaveKeep);
}

bool WriteAllToFd(int fd, const char* bytes, qsizetype count) {
    qsizetype done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, bytes + done, size_t(count - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            return false;
        }
    }
    return true;
}

QByteArray ReadFdFor(int fd, int timeoutMs, int quietMs, QList<int>* chunkSizes) {
    QByteArray out;
    QElapsedTimer t, quiet;
    t.start();
    quiet.start();
    while (t.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 2) > 0 && (p.revents & POLLIN)) {
            char buf[4096];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                out.append(buf, n);
                if (chunkSizes)
                    chunkSizes->append(int(n));
                quiet.restart();
                continue;
            }
        }
        if (!out.isEmpty() && quiet.elapsed() >= quietMs)
            break;
    }
    return out;
}

void PtyPair::write(const QByteArray& bytes) {
    if (!WriteAllToFd(fMaster, bytes.constData(), bytes.size()))
        throw std::runtime_error("write to pty master failed");
}

QByteArray PtyPair::readExactly(int count, int timeoutMs) {
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (out.size() < count && t.elapsed() < timeoutMs) {
        pollfd p{fMaster, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
            char buf[4096];
            ssize_t n = ::read(fMaster, buf, sizeof buf);
            if (n > 0)
                out.append(buf, n);
        }
    }
    return out;
}

QByteArray PtyPair::readFor(int timeoutMs, int quietMs) {
    return ReadFdFor(fMaster, timeoutMs, quietMs);
}

void PtyPair::hangUp() {
    if (fSlaveKeep >= 0) {
        ::close(fSlaveKeep);
        fSlaveKeep = -1;
    }
    if (fMaster >= 0) {
        ::close(fMaster);
        fMaster = -1;
    }
}
