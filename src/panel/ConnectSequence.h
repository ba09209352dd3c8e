#pragma once

#include "LineAssembler.h"
#include "LinkTimings.h"
#include "OwedAnswers.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class TDevice;

// Connecting to a panel, without widgets: announces the programming cable
// ("CABLE CONNECT") or brings up a GSM modem call (RTS pulse, "ATZ", "AT",
// "AT", "AT+CREG?" until registered, then the dial), then identifies the
// panel with "+v" and "+typepan". Driven by the device's data and by
// timers; every pause is a timer, so the window stays alive and Cancel
// works at any moment. While it runs it owns the device's OnData and its
// line-lost event.
//
// A step's answer is only what comes after the answers still owed to
// earlier writes (a resend's second answer, a wake-up's): the next command
// goes out once they have come in or passed their deadline. Answers to
// earlier sendings of the same command are its own; an answer that cannot
// be the identity asked for (a lone "OK" to "+v", a version line to
// "+typepan") is another command's and is not taken for it.
class TConnectSequence : public QObject {
    Q_OBJECT
public:
    explicit TConnectSequence(QObject* parent = nullptr);
    ~TConnectSequence() override;

    // The link's timings and the answers owed on the device, shared with
    // the exchange that records every write. Without shared answers the
    // sequence keeps its own, of its own writes.
    void SetLink(TOwedAnswers* owed, const TLinkTimings& timings);
    const TLinkTimings& Timings() const { return fTimings; }

    // Takes the device's OnData and OnLineLost (and gives them back in
    // ResetDevice).
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
    // The last attempt ended because the port went away.
    bool LineWasLost() const { return fLineLost; }

signals:
    void LogLine(const QString& text);
    // The dialog's Connect button should be enabled (true) or not.
    void ConnectEnabled(bool enabled);
    void Succeeded();
    // The sequence stopped: "Ошибка подключения" after the resends ran out
    // (an error box), "Ошибка при подключении" when an answer could not be
    // handled (a plain box), the line-lost message when the port went away
    // (an error box).
    void Failed(const QString& message, bool errorIcon);
    // The step under way, in words ("Набор номера…").
    void Step(const QString& text);

private:
    void DataReceived(const QByteArray& Data);
    void LineLost();
    void ProcessAnswer(QStringList& L);
    void SendCurrentCommand();
    void ReSendTimerTimer();
    void StartModemCommands();
    void ClosePort();
    void Stop();
    void Log(const QString& text) { emit LogLine(text); }
    // Runs `step` after `ms` unless the sequence was cancelled or restarted.
    void After(int ms, void (TConnectSequence::*step)());
    void RtsSet();
    QString CurrentCommand() const;
    int ResendInterval(const QString& cmd) const;
    // Before a resend: forgets the part of an answer that broke off.
    void DropBrokenAnswer();
    // Whether `answer` (up to its "OK") can be the answer to `cmd`.
    static bool IdentityAnswer(const QString& cmd, const QStringList& answer);

    TDevice* FDevice = nullptr;
    bool fOwnsData = false;
    std::function<void(TDevice*, const QByteArray&)> FOldDataHandler;
    std::function<void(TDevice*)> fOldLineLostHandler;
    TLinkTimings fTimings;
    TOwedAnswers fOwnOwed;
    TOwedAnswers* fOwed = &fOwnOwed;
    quint64 fSeenWriteOffs = 0;
    TLineAssembler FBuffer;
    QStringList FList;
    QStringList FCommandList;
    int FIndex = -1;
    int FRepeat = 0;
    int fRegistrationAsks = 0; // "AT+CREG?" asked afresh (not resent) this attempt
    int FMajor = -1;
    int FMinor = -1;
    int FRelease = -1;
    QString FVer;
    QString FMemory;
    QString FPhone;
    bool FModem = false;
    bool FBreack = false;
    bool fActive = false;      // started and not yet ended
    bool fSendPending = false; // the current command waits for owed answers
    bool fLineLost = false;
    unsigned fGeneration = 0;
    QElapsedTimer fSinceByte; // since the last byte received
    QTimer ReSendTimer;
    QTimer fSettleTimer;
};

// What a step of the connection is, in words: the command about to go out
// and, for the network registration, how often it has been asked.
QString ConnectStepText(const QString& command, int registrationAsks);
