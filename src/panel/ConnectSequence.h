#pragma once

#include "LineAssembler.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

class TDevice;

// Pauses and resend intervals of the connection sequence. Tests shorten
// them; the tool uses the defaults.
struct TConnectTiming {
    int CableResendMs = 3000;
    int ModemResendMs = 10000;
    int DialResendMs = 60000;
    int RtsPulseMs = 500;     // each half of the RTS pulse
    int ModemSettleMs = 2000; // after the pulse, before "ATZ"
    int RegistrationRetryMs = 1000;
};

// Connecting to a panel, without widgets: announces the programming cable
// ("CABLE CONNECT") or brings up a GSM modem call (RTS pulse, "ATZ", "AT",
// "AT", "AT+CREG?" until registered, then the dial), then identifies the
// panel with "+v" and "+typepan". Driven by the device's data and by
// timers; every pause is a timer, so the window stays alive and Cancel
// works at any moment. While it runs it owns the device's OnData.
class TConnectSequence : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxResends = 4;
    static TConnectTiming Timing;

    explicit TConnectSequence(QObject* parent = nullptr);
    ~TConnectSequence() override;

    // Takes the device's OnData (and gives it back in ResetDevice).
    void SetDevice(TDevice* aDevice);
    void ResetDevice();

    // Opens `port` and starts the sequence. Returns false when it could not
    // start: a GSM link without a telephone number, or a port that did not
    // open (the device reports why through its create-error event).
    bool Connect(const QString& port, bool modem, const QString& phone);
    // Stops the sequence and closes the port; nothing more is written.
    void Cancel();

    bool Modem() const { return FModem; }
    QString Ver() const { return FVer; }
    int Major() const { return FMajor; }
    int Minor() const { return FMinor; }
    int Release() const { return FRelease; }
    QString Memory() const { return FMemory; }
    // Position in the command list: -1 complete (or not started), -2 given up.
    int Index() const { return FIndex; }
    bool Running() const;

signals:
    void LogLine(const QString& text);
    // The dialog's Connect button should be enabled (true) or not.
    void ConnectEnabled(bool enabled);
    void Succeeded();
    // The sequence stopped: "Ошибка подключения" after the resends ran out
    // (an error box), "Ошибка при подключении" when an answer could not be
    // handled (a plain box).
    void Failed(const QString& message, bool errorIcon);

private:
    void DataReceived(const QByteArray& Data);
    void ProcessAnswer(QStringList& L);
    void SendCurrentCommand();
    void ReSendTimerTimer();
    void StartModemCommands();
    void ClosePort();
    void Log(const QString& text) { emit LogLine(text); }
    // Runs `step` after `ms` unless the sequence was cancelled or restarted.
    void After(int ms, void (TConnectSequence::*step)());
    void RtsSet();
    QString CurrentCommand() const;

    TDevice* FDevice = nullptr;
    bool fOwnsData = false;
    std::function<void(TDevice*, const QByteArray&)> FOldDataHandler;
    TLineAssembler FBuffer;
    QStringList FList;
    QStringList FCommandList;
    int FIndex = -1;
    int FRepeat = 0;
    int FMajor = -1;
    int FMinor = -1;
    int FRelease = -1;
    QString FVer;
    QString FMemory;
    QString FPhone;
    bool FModem = false;
    bool FBreack = false;
    unsigned fGeneration = 0;
    QTimer ReSendTimer;
};
