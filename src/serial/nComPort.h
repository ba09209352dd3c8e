#pragma once

#include "ComTypes.h"

#include <QByteArray>
#include <QPointer>

#include <functional>
#include <memory>

class QObject;
class TReceiveDataThread;
class TnComPort;

using TnComPortCreateError = std::function<void(TnComPort* Sender, int ErrorCode)>;
using TnComPortCloseError = std::function<void(TnComPort* Sender, uint32_t ErrorCode)>;
using TnComPortBeforeWrite = std::function<void(TnComPort* Sender, const QByteArray& Cmd)>;
using TnComPortWriteError = std::function<void(TnComPort* Sender, uint32_t ErrorCode, const QByteArray& Cmd)>;
using TnComPortEvent = std::function<void(TnComPort* Sender, int Event)>;

// One serial port: opened for exclusive use (locked against every other
// program) in raw 8-bit mode, with its own receive thread, and written with
// blocking writes. The device component (TDevice) creates one per
// connection and is its only user.
class TnComPort {
public:
    explicit TnComPort(const TNewInDcb& aPort, bool AutoStart = false);
    ~TnComPort(); // stops reception, joins the thread, closes the port

    TnComPort(const TnComPort&) = delete;
    TnComPort& operator=(const TnComPort&) = delete;

    // Opens the device and starts reception. True at once when already open.
    bool InitPort(bool Overlapped = true);
    void ClosePort();

    // Writes the text; with UseEOF a CR LF follows unless the text is
    // exactly "+++". Blocks until every byte is with the driver.
    bool ComWrite(const QByteArray& Data, bool NoneStop, bool UseEOF);
    bool BufferWrite(const TByteArray& Buffer, int Len);
    // Changes the speed of the open port at once. On failure returns false
    // and leaves "Error get comm state" or "Error set comm state" in *error.
    bool SetBaudRate(int Abr, QString* error = nullptr);

    void FreezeRead();
    void UnFreezeRead();

    bool Listen() const { return fListen; }
    void SetListen(bool value);

    bool Active() const { return PortIsOpen; }
    int Handle() const { return fHPort; }

    const TNewInDcb& ComPort() const { return fPort; }
    void SetComPort(const TNewInDcb& value);

    const TComBuffers& BuffersLength() const { return fBuffersLen; }
    void SetBuffersLength(const TComBuffers& value);

    QObject* MSGHandler() const { return fMSGHandler.data(); }
    void SetMSGHandler(QObject* handler) { fMSGHandler = handler; }
    // The number this object stamps on its notifications.
    uint64_t Serial() const { return fSerial; }

    // Takes every pending received byte; "err" when closed or without thread.
    QByteArray ComData();
    // The received bytes not yet taken (at most
    // TReceiveDataThread::kMaxPending and one read more).
    qsizetype PendingBytes() const;

    TnComPortCreateError OnCreateError;
    TnComPortCloseError OnCloseError;
    TnComPortBeforeWrite OnBeforeWrite;
    TnComPortWriteError OnWriteError;
    TnComPortEvent OnEvent;

    // How long a write may find the driver's queue full before it fails.
    static int WriteStallMs;

private:
    bool SetupDCB();
    void StartListen();
    void StopListen();
    void StopThread();
    // Hands every byte to the driver; returns how many it took, sets errno.
    qsizetype WriteData(const char* bytes, qsizetype Count);
    void CreateError(int code);
    void Event(int code);

    QPointer<QObject> fMSGHandler;
    std::unique_ptr<TReceiveDataThread> fListenThread;
    bool fListen = false;
    TNewInDcb fPort;
    int fHPort = INVALID_HANDLE_VALUE;
    TComBuffers fBuffersLen{4096, 4096};
    bool PortIsOpen = false;
    uint64_t fSerial;
};

// Sets or clears a modem-control line of an open port (SETRTS, CLRRTS).
// Returns false when the port refuses (pseudo-terminals have no RTS).
bool EscapeCommFunction(int handle, int func);

// The device path for a port name: a path is used as it stands, a bare name
// is taken under /dev.
QString PortDevicePath(const QString& name);
