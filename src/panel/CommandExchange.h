#pragma once

#include "LineAssembler.h"
#include "PanelExchange.h"

#include <QObject>
#include <QStringList>

class QEventLoop;
class TDevice;

// The tool's side of the panel's line protocol: sends one command line,
// collects the answer lines, decides when the answer is complete, retries,
// and echoes both directions to the log. The one place where the tool waits
// for the panel is the wait inside DeviceCommandLst: a nested event loop
// that ends as soon as the answer is complete, the time-out passes or the
// wait is aborted.
class TCommandExchange : public QObject, public TPanelExchange {
    Q_OBJECT
public:
    static constexpr int kAttempts = 3;
    // Added to every time-out on a GSM modem link.
    static constexpr uint32_t kModemExtraMs = 5000;
    // The shortest wait of an attempt (a time-out of 0 still waits this).
    static constexpr uint32_t kMinWaitMs = 50;

    explicit TCommandExchange(TDevice* device, QObject* parent = nullptr);

    // Points the device's data and before-write events at this exchange.
    void Attach();

    bool DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) override;
    bool Uparam() const override { return FUParam; }
    void SetUparam(bool value) override { FUParam = value; }

    // The link runs through a GSM modem call.
    bool Modem() const { return FModem; }
    void SetModem(bool value) { FModem = value; }

    // Ends a pending wait at once; the exchange then fails.
    void Abort();
    bool Waiting() const { return fLoop != nullptr; }
    // While blocked every request fails at once (the window is closing).
    void SetBlocked(bool blocked) { fBlocked = blocked; }
    // Caps every time-out the callers pass (0: no cap). Tests of a silent
    // panel use it so that three attempts take milliseconds, not seconds.
    void SetTimeOutLimit(uint32_t ms) { fTimeOutLimit = ms; }

    // Device event handlers.
    void DeviceData(TDevice* Sender, const QByteArray& Data);
    void DeviceBeforeWrite(TDevice* Sender, const QByteArray& Cmd);
    // The completion rule over the collected lines.
    void CheckAnswerComplete(const QStringList& L);

signals:
    // One log line: "<< " and a command as written, ">> " and a line received.
    void LogLine(const QString& text);

private:
    void Wait(uint32_t ms);

    TDevice* Device;
    TLineAssembler FBuffer;
    QStringList FResultList;
    bool FExitCommandFlag = false;
    bool FUParam = false;
    bool FModem = false;
    bool fAborted = false;
    bool fBlocked = false;
    uint32_t fTimeOutLimit = 0;
    QEventLoop* fLoop = nullptr;
};
