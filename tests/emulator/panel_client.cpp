#include "panel_client.h"

#include "pty_pair.h"

#include <QElapsedTimer>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PanelClient::PanelClient(const QString& path) {
    fFd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fFd < 0)
        return;
    termios t{};
    ::tcgetattr(fFd, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B19200);
    ::cfsetospeed(&t, B19200);
    ::tcsetattr(fFd, TCSANOW, &t);
}

PanelClient::~PanelClient() {
    close();
}

void PanelClient::close() {
    if (fFd >= 0)
        ::close(fFd);
    fFd = -1;
}

void PanelClient::send(const QByteArray& bytes) {
    if (!WriteAllToFd(fFd, bytes.constData(), bytes.size()))
        throw std::runtime_error("write to the panel failed");
}

QList<QByteArray> PanelClient::splitLines(const QByteArray& raw) {
    QByteArray clean = raw;
    clean.replace('\n', QByteArray()).replace('>', QByteArray());
    QList<QByteArray> lines;
    for (const QByteArray& l : clean.split('\r')) {
        if (!l.isEmpty())
            lines.append(l);
    }
    return lines;
}

QList<QByteArray> PanelClient::collect(const std::function<bool(const QList<QByteArray>&)>& done,
                                       int timeoutMs) {
    QList<QByteArray> lines;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        pollfd p{fFd, POLLIN, 0};
        if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
            char buf[4096];
            const ssize_t n = ::read(fFd, buf, sizeof buf);
            if (n > 0)
                fPending.append(buf, n);
        }
        fPending.replace('\n', QByteArray()).replace('>', QByteArray());
        qsizetype cr;
        while ((cr = fPending.indexOf('\r')) >= 0) {
            const QByteArray l = fPending.left(cr);
            fPending.remove(0, cr + 1);
            if (!l.isEmpty())
                lines.append(l);
        }
        if (!lines.isEmpty() && done(lines))
            break;
    }
    return lines;
}

QList<QByteArray> PanelClient::answer(int timeoutMs, int okCount) {
    return collect(
        [okCount](const QList<QByteArray>& lines) {
            const QByteArray& last = lines.last();
            if (last == "ERROR" || last.startsWith("CONNECT") || last == "NO CARRIER" || last == "BUSY" ||
                last == "NO ANSWER")
                return true;
            return lines.count("OK") >= okCount && last == "OK";
        },
        timeoutMs);
}

QList<QByteArray> PanelClient::page(const QByteArray& command, int timeoutMs) {
    send(command + "\r\n\r\n");
    return answer(timeoutMs);
}

QList<QByteArray> PanelClient::line(const QByteArray& command, int timeoutMs) {
    send(command + "\r\n");
    return answer(timeoutMs);
}

QByteArray PanelClient::readRaw(int timeoutMs, int quietMs) {
    return ReadFdFor(fFd, timeoutMs, quietMs);
}

QList<int> PanelClient::readChunks(int timeoutMs, int quietMs) {
    QList<int> sizes;
    ReadFdFor(fFd, timeoutMs, quietMs, &sizes);
    return sizes;
}
