#pragma once

#include "ComTypes.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QTimer;
class TnComPort;
class TDevice;

using TDataRecievEvent = std::function<void(TDevice* Sender, const QByteArray& Data)>;
using TDeviceCreateError = std::function<void(TDevice* Sender, int ErrorCode)>;
using TDeviceCloseError = std::function<void(TDevice* Sender, uint32_t ErrorCode)>;
using TDeviceBeforeWrite = std::function<void(TDevice* Sender, const QByteArray& Cmd)>;
using TDeviceWriteError = std::function<void(TDevice* Sender, uint32_t ErrorCode, const QByteArray& Cmd)>;
using TDevicePortEvent = std::function<void(TDevice* Sender, int Event)>;
using TNotifyEvent = std::function<void(TDevice* Sender)>;

// The component through which the tool talks to the serial line. It owns one
// port object, built afresh on every open; it brings received bytes onto the
// thread it lives on (the user-interface thread) and raises OnData there;
// it writes command texts; and while the wake-up is on it sends the wake-up
// command when nothing has been written for a while.
//
// Events are single assignable callbacks, so that a dialog can take OnData
// over for a while and give it back.
class TDevice : public QObject {
    Q_OBJECT
public:
    static constexpr uint32_t kTimerTickMs = 1000;
    static constexpr uint32_t kSilenceMs = 30000;

    explicit TDevice(QObject* owner = nullptr);
    ~TDevice() override;

    // Opening and closing.
    bool ComActive() const;
    void SetComActive(bool value);
    bool ComListen() const;
    void SetComListen(bool value);
    // The open port's descriptor, INVALID_HANDLE_VALUE while closed.
    int PortHandle() const;
    TnComPort* ComPortObject() const { return fComPort.get(); }

    // Line settings; changed only while closed (the speed also while open).
    QString Port() const { return fPort.Port; }
    void SetPort(const QString& value);
    uint32_t BaudRate() const { return fPort.BaudRate; }
    bool SetBaudRate(uint32_t value);
    uint8_t Parity() const { return fPort.Parity; }
    void SetParity(uint8_t value);
    uint8_t ByteSize() const { return fPort.ByteSize; }
    void SetByteSize(uint8_t value);
    uint8_t StopBits() const { return fPort.StopBits; }
    void SetStopBits(uint8_t value);
    TComPortSettings ComPortSettings() const { return fComPortSettings; }
    void SetComPortSettings(const TComPortSettings& value);

    // Wake-up.
    QByteArray WakeUpCommand() const { return fWakeUpCommand; }
    void SetWakeUpCommand(const QByteArray& value);
    uint32_t WakeUpInterval() const { return fWakeUpInterval; }
    void SetWakeUpInterval(uint32_t value);
    bool WakeUp() const { return fWakeUpIsRunning; }
    void SetWakeUp(bool value);
    // While held, no wake-up command goes out (an exchange is waiting for an
    // answer that a wake-up answer could be mistaken for).
    void SetWakeUpHeld(bool held) { fWakeUpHeld = held; }
    bool WakeUpHeld() const { return fWakeUpHeld; }

    // Writing.
    void Command(const QByteArray& aCmd, bool UseEOF);
    void WriteBuffer(const TByteArray& Buffer, int Len);

    static QStringList GetCOMsList();
    static QString GetStrCreateError(int ErrorCode);

    // The one-second tick; public so that tests can drive it.
    void TimerTick();
    // Replaces the monotonic millisecond clock and the 0..4 draw of the
    // wake-up interval (tests).
    void SetClock(std::function<uint32_t()> clock) { fClock = std::move(clock); }
    void SetRandom(std::function<int()> random) { fRandom = std::move(random); }

    TDataRecievEvent OnData;
    TDeviceCreateError OnComCreateError;
    TDeviceCloseError OnCloseError;
    TDeviceBeforeWrite OnBeforeWrite;
    TDeviceWriteError OnWriteError;
    TDevicePortEvent OnPortEvent;
    TNotifyEvent OnErrorWaitInterval;
    // Raised once when the open line goes away (an adapter unplugged, the
    // other end of a pseudo-terminal closed).
    TNotifyEvent OnLineLost;

protected:
    bool event(QEvent* e) override;

private:
    void CreatePort();
    void FreePort();
    uint32_t Now() const { return fClock(); }
    uint32_t NextWakeUpInterval() const;

    bool FPortInit = false;
    TComPortSettings fComPortSettings;
    std::unique_ptr<TnComPort> fComPort;
    TNewInDcb fPort;
    uint32_t fLastResultTime = 0;
    uint32_t fLastCommandTime = 0;
    QByteArray fWakeUpCommand = QByteArrayLiteral("+v");
    uint32_t fWakeUpInterval;
    bool fWakeUpIsRunning = false;
    bool fWakeUpHeld = false;
    QTimer* fTimer;
    std::function<uint32_t()> fClock;
    std::function<int()> fRandom;
};
