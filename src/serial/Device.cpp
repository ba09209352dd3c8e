#include "Device.h"

#include "ComEvents.h"
#include "ComPortList.h"
#include "nComPort.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>

namespace {
uint32_t MonotonicMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return uint32_t(clock.elapsed());
}
} // namespace

TDevice::TDevice(QObject* owner)
    : QObject(owner), fClock(MonotonicMs),
      fRandom([] { return int(QRandomGenerator::global()->bounded(5)); }) {
    fTimer = new QTimer(this);
    fTimer->setInterval(int(kTimerTickMs));
    connect(fTimer, &QTimer::timeout, this, &TDevice::TimerTick);
    fWakeUpInterval = NextWakeUpInterval();
}

TDevice::~TDevice() {
    fTimer->stop();
    FreePort();
}

uint32_t TDevice::NextWakeUpInterval() const {
    return 10000 + 1000 * uint32_t(fRandom());
}

bool TDevice::ComActive() const {
    return FPortInit && fComPort && fComPort->Active();
}

void TDevice::FreePort() {
    fComPort.reset();
}

void TDevice::CreatePort() {
    fComPort = std::make_unique<TnComPort>(fPort, false);
    fComPort->SetMSGHandler(this);
    fComPort->OnCreateError = [this](TnComPort*, int code) {
        if (OnComCreateError)
            OnComCreateError(this, code);
    };
    fComPort->OnBeforeWrite = [this](TnComPort*, const QByteArray& cmd) {
        if (OnBeforeWrite)
            OnBeforeWrite(this, cmd);
    };
    fComPort->OnWriteError = [this](TnComPort*, uint32_t code, const QByteArray& cmd) {
        if (OnWriteError)
            OnWriteError(this, code, cmd);
    };
    fComPort->OnEvent = [this](TnComPort*, int ev) {
        if (OnPortEvent)
            OnPortEvent(this, ev);
    };
    fComPort->OnCloseError = [this](TnComPort*, uint32_t code) {
        if (OnCloseError)
            OnCloseError(this, code);
    };
    FPortInit = true;
}

void TDevice::SetComActive(bool value) {
    if (value) {
        FreePort();
        CreatePort();
        FPortInit = fComPort->InitPort(true);
    } else {
        SetComListen(false);
        FreePort();
        FPortInit = false;
    }
}

bool TDevice::ComListen() const {
    return FPortInit && fComPort ? fComPort->Listen() : false;
}

void TDevice::SetComListen(bool value) {
    if (FPortInit && fComPort)
        fComPort->SetListen(value);
}

int TDevice::PortHandle() const {
    return ComActive() ? fComPort->Handle() : INVALID_HANDLE_VALUE;
}

void TDevice::SetPort(const QString& value) {
    if (!ComActive())
        fPort.Port = value;
}

bool TDevice::SetBaudRate(uint32_t value) {
    if (ComActive()) {
        if (!fComPort->SetBaudRate(int(value)))
            return false;
    }
    fPort.BaudRate = value;
    return true;
}

void TDevice::SetParity(uint8_t value) {
    if (!ComActive())
        fPort.Parity = value;
}

void TDevice::SetByteSize(uint8_t value) {
    if (!ComActive())
        fPort.ByteSize = value;
}

void TDevice::SetStopBits(uint8_t value) {
    if (!ComActive())
        fPort.StopBits = value;
}

void TDevice::SetComPortSettings(const TComPortSettings& value) {
    fComPortSettings = value;
    if (fComPort)
        fComPort->SetBuffersLength(value.Buffers);
}

void TDevice::SetWakeUpCommand(const QByteArray& value) {
    if (!fWakeUpIsRunning)
        fWakeUpCommand = value;
}

void TDevice::SetWakeUpInterval(uint32_t value) {
    if (!fWakeUpIsRunning)
        fWakeUpInterval = value;
}

void TDevice::SetWakeUp(bool value) {
    if (!value) {
        if (FPortInit) {
            fTimer->stop();
            fWakeUpIsRunning = false;
        }
        return;
    }
    if (FPortInit && fComPort && fComPort->Active()) {
        fWakeUpIsRunning = true;
        fTimer->start();
    }
}

void TDevice::Command(const QByteArray& aCmd, bool UseEOF) {
    if (fComPort)
        fComPort->ComWrite(aCmd, true, UseEOF);
    fLastCommandTime = Now();
}

void TDevice::WriteBuffer(const TByteArray& Buffer, int Len) {
    if (fComPort)
        fComPort->BufferWrite(Buffer, Len);
    fLastCommandTime = Now();
}

bool TDevice::event(QEvent* e) {
    {
        // Pairs with the receive thread's posting (see ComNotifyLock).
        std::lock_guard lock(ComNotifyLock());
    }
    if (e->type() != WM_COMPORT_DATA && e->type() != WM_COMPORT_LOST)
        return QObject::event(e);
    const auto* note = static_cast<TComPortNotify*>(e);
    // Notifications of a port object that is gone or replaced are dropped.
    if (!fComPort || note->PortSerial() != fComPort->Serial())
        return true;
    if (e->type() == WM_COMPORT_LOST) {
        if (OnLineLost)
            OnLineLost(this);
        return true;
    }
    fLastResultTime = Now();
    const QByteArray data = fComPort->ComData();
    if (OnData)
        OnData(this, data);
    return true;
}

void TDevice::TimerTick() {
    if (!fComPort || !fComPort->Active())
        return;
    const uint32_t now = Now();
    if (uint32_t(now - fLastResultTime) >= kSilenceMs) {
        if (OnErrorWaitInterval)
            OnErrorWaitInterval(this);
        return;
    }
    if (fWakeUpIsRunning && !fWakeUpHeld && uint32_t(now - fLastCommandTime) > fWakeUpInterval) {
        Command(fWakeUpCommand, true);
        fWakeUpInterval = NextWakeUpInterval();
    }
}

QStringList TDevice::GetCOMsList() {
    return ListSerialPorts();
}

QString TDevice::GetStrCreateError(int ErrorCode) {
    switch (ErrorCode) {
    case ceNone: return QStringLiteral("Нет ошибки");
    case ceCreateFile: return QStringLiteral("Не могу создать файл");
    case ceBuffers: return QStringLiteral("Не установлена длина буферов");
    case ceGetState: return QStringLiteral("Не могу прочитать настройки порта");
    case ceSetState: return QStringLiteral("Не могу записать настпройки порта");
    case cePurge: return QStringLiteral("Не могу очистить порт");
    case ceClearRts: return QStringLiteral("Не могу сбросить RTS");
    case ceSetRts: return QStringLiteral("Не могу установить RTS");
    case ceGetTimeouts: return QStringLiteral("Не могу прочитать значения таймаутов");
    case ceSetTimeouts: return QStringLiteral("Не могу записать значения таймаутов");
    case ceThread: return QStringLiteral("Слушающий поток не смог стартовать");
    case ceBusy: return QStringLiteral("Порт занят другой программой");
    default: return QStringLiteral("Неизвестная ошибка");
    }
}
