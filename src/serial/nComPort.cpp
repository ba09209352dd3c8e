#include "nComPort.h"

#include "LineSettings.h"
#include "uRdThread.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

int TnComPort::WriteStallMs = 10000;

namespace {
std::atomic<uint64_t> gNextSerial{1};
const QByteArray kEscape = QByteArrayLiteral("+++");
} // namespace

QString PortDevicePath(const QString& name) {
    if (name.contains(QLatin1Char('/')))
        return name;
    return QStringLiteral("/dev/") + name;
}

bool EscapeCommFunction(int handle, int func) {
    if (handle < 0)
        return false;
    int bits = TIOCM_RTS;
    switch (func) {
    case SETRTS: return ::ioctl(handle, TIOCMBIS, &bits) == 0;
    case CLRRTS: return ::ioctl(handle, TIOCMBIC, &bits) == 0;
    default: return false;
    }
}

TnComPort::TnComPort(const TNewInDcb& aPort, bool AutoStart) : fPort(aPort), fSerial(gNextSerial++) {
    if (AutoStart)
        InitPort(true);
}

TnComPort::~TnComPort() {
    StopListen();
    StopThread();
    ClosePort();
}

void TnComPort::CreateError(int code) {
    if (OnCreateError)
        OnCreateError(this, code);
}

void TnComPort::Event(int code) {
    if (OnEvent)
        OnEvent(this, code);
}

bool TnComPort::SetupDCB() {
    termios t{};
    if (::tcgetattr(fHPort, &t) != 0) {
        CreateError(ceGetState);
        return false;
    }
    if (!ApplyLineSettings(t, fPort) || ::tcsetattr(fHPort, TCSANOW, &t) != 0) {
        CreateError(ceSetState);
        return false;
    }
    return true;
}

bool TnComPort::InitPort(bool /*Overlapped: every port is driven the same way here*/) {
    if (PortIsOpen)
        return true;

    const QByteArray path = QFile::encodeName(PortDevicePath(fPort.Port));
    fHPort = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fHPort < 0) {
        // A terminal in another program's exclusive use refuses the open.
        CreateError(errno == EBUSY ? ceBusy : ceCreateFile);
        return false;
    }
    // The port is the tool's alone. Exclusive use does not stop the
    // superuser, and installers often run tools with sudo: the lock that
    // serial terminal programs take on the descriptor keeps out every
    // program that asks for it, root or not (a second open in this process
    // too, the lock belonging to the open file). It is taken first, so that
    // a port another program uses is not left in exclusive use by us. A
    // system that keeps no such locks leaves exclusive use alone to guard.
    if (::flock(fHPort, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fHPort);
        fHPort = INVALID_HANDLE_VALUE;
        CreateError(ceBusy);
        return false;
    }
    if (::ioctl(fHPort, TIOCEXCL) != 0) {
        ::close(fHPort);
        fHPort = INVALID_HANDLE_VALUE;
        CreateError(ceCreateFile);
        return false;
    }
    Event(peOpened);
    PortIsOpen = true;

    if (!SetupDCB()) {
        ClosePort();
        return false;
    }
    Event(peLineSettings);

    // The driver's queues have no size to set here; the step always succeeds.
    Event(peBuffers);

    if (::tcflush(fHPort, TCIOFLUSH) != 0) {
        CreateError(cePurge);
        ClosePort();
        return false;
    }
    Event(pePurged);

    fListenThread = std::make_unique<TReceiveDataThread>(fHPort, fMSGHandler.data(), fSerial);
    if (!fListenThread->Launch()) {
        fListenThread.reset();
        ClosePort();
        CreateError(ceThread);
        return false;
    }
    StartListen();
    Event(peListening);

    SetupDCB();
    return true;
}

void TnComPort::StopThread() {
    if (fListenThread) {
        fListenThread->Terminate();
        fListenThread.reset();
    }
    fListen = false;
}

void TnComPort::ClosePort() {
    // The receive thread must not outlive the descriptor it watches (the
    // number could be handed to another file at once).
    StopThread();
    PortIsOpen = false;
    if (fHPort >= 0) {
        const int fd = fHPort;
        fHPort = INVALID_HANDLE_VALUE;
        if (::close(fd) != 0 && OnCloseError)
            OnCloseError(this, uint32_t(errno));
    }
}

qsizetype TnComPort::WriteData(const char* bytes, qsizetype Count) {
    qsizetype done = 0;
    while (done < Count) {
        const ssize_t n = ::write(fHPort, bytes + done, size_t(Count - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fHPort, POLLOUT, 0};
            const int r = ::poll(&p, 1, WriteStallMs);
            if (r == 0) {
                errno = ETIMEDOUT;
                break;
            }
            if (r < 0 && errno != EINTR)
                break;
            continue;
        }
        break;
    }
    return done;
}

bool TnComPort::ComWrite(const QByteArray& Data, bool /*NoneStop*/, bool UseEOF) {
    if (OnBeforeWrite)
        OnBeforeWrite(this, Data);
    QByteArray bytes = Data;
    if (UseEOF && Data != kEscape)
        bytes.append("\r\n");
    if (!PortIsOpen) {
        if (OnWriteError)
            OnWriteError(this, uint32_t(EBADF), bytes);
        return false;
    }
    errno = 0;
    if (WriteData(bytes.constData(), bytes.size()) != bytes.size()) {
        if (OnWriteError)
            OnWriteError(this, uint32_t(errno), bytes);
        return false;
    }
    return true;
}

bool TnComPort::BufferWrite(const TByteArray& Buffer, int Len) {
    static const QByteArray kBinary = QByteArrayLiteral("Binary data");
    if (!PortIsOpen || Len < 0 || Len > kByteArraySize) {
        if (OnWriteError)
            OnWriteError(this, uint32_t(PortIsOpen ? EINVAL : EBADF), kBinary);
        return false;
    }
    errno = 0;
    if (WriteData(reinterpret_cast<const char*>(Buffer.data()), Len) != Len) {
        if (OnWriteError)
            OnWriteError(this, uint32_t(errno), kBinary);
        return false;
    }
    return true;
}

bool TnComPort::SetBaudRate(int Abr, QString* error) {
    termios t{};
    if (!PortIsOpen || ::tcgetattr(fHPort, &t) != 0) {
        if (error)
            *error = QStringLiteral("Error get comm state");
        return false;
    }
    TNewInDcb next = fPort;
    next.BaudRate = uint32_t(Abr);
    if (Abr <= 0 || !ApplyLineSettings(t, next) || ::tcsetattr(fHPort, TCSANOW, &t) != 0) {
        if (error)
            *error = QStringLiteral("Error set comm state");
        return false;
    }
    fPort.BaudRate = uint32_t(Abr);
    return true;
}

void TnComPort::StartListen() {
    if (fListen || !fListenThread)
        return;
    fListenThread->StartReceive();
    fListen = true;
}

void TnComPort::StopListen() {
    if (!fListen)
        return;
    if (fListenThread)
        fListenThread->StopReceive();
    fListen = false;
}

void TnComPort::SetListen(bool value) {
    if (value == fListen)
        return;
    if (value)
        StartListen();
    else
        StopListen();
}

void TnComPort::FreezeRead() {
    if (fListenThread)
        fListenThread->StopReceive();
}

void TnComPort::UnFreezeRead() {
    if (fListenThread)
        fListenThread->StartReceive();
}

void TnComPort::SetComPort(const TNewInDcb& value) {
    if (PortIsOpen)
        ClosePort();
    fPort = value;
}

void TnComPort::SetBuffersLength(const TComBuffers& value) {
    if (!PortIsOpen)
        fBuffersLen = value;
}

qsizetype TnComPort::PendingBytes() const {
    return fListenThread ? fListenThread->Pending() : 0;
}

QByteArray TnComPort::ComData() {
    if (!PortIsOpen || !fListenThread)
        return QByteArrayLiteral("err");
    return fListenThread->ReadComPort();
}
