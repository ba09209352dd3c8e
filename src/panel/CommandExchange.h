#pragma once

#include "LineAssembler.h"
#include "LinkTimings.h"
#include "OwedAnswers.h"
#include "PanelExchange.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

class QEventLoop;
class TDevice;

// The tool's side of the panel's line protocol: sends one command line,
// collects the answer lines, decides when the answer is complete, retries,
// and echoes both directions to the log.
//
// Every line written to the device (the exchange's own commands, the
// connection and disconnection commands, the device's wake-up) passes its
// before-write event here and is recorded in the owed answers. A command's
// answer is only what comes after the answers owed to earlier writes: before
// it writes, the exchange waits until those have come in or passed their
// deadline (the time they were given and the late bound, whatever else the
// line carries meanwhile), and the answers to its earlier attempts (a
// retry's late first answer) are its own.
//
// The one place where the tool waits for the panel is the exchange's wait: a
// nested event loop that ends as soon as the awaited answer is complete, the
// time-out passes or the wait is aborted.
class TCommandExchange : public QObject, public TPanelExchange {
    Q_OBJECT
public:
    // The most characters one answer may bring (the whole journal in one
    // answer is some 5 million); the lines beyond are not kept, and the
    // request fails when its answer ends, as an answer of the wrong shape:
    // a line that floods the tool with lines cannot fill its memory.
    static constexpr qsizetype kMaxAnswerChars = 8 * 1024 * 1024;

    explicit TCommandExchange(TDevice* device, QObject* parent = nullptr);

    void SetTimings(const TLinkTimings& timings);
    const TLinkTimings& Timings() const { return fTimings; }

    // Points the device's data and before-write events at this exchange.
    void Attach();

    // One exchange. Fails when no complete answer came in any attempt, and
    // at once when the panel refused the command (an answer ending in
    // "ERROR", or a modem's failure line): a refusal is the panel's final
    // word, and asking again would only be refused again.
    bool DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) override;
    // The last request failed because the panel refused it.
    bool LastRefused() const { return fLastRefused; }
    int Attempts() const override { return fTimings.Attempts; }
    // The characters of the answer collected so far for the request that
    // waits (never more than MaxAnswerChars).
    qsizetype AnswerChars() const { return fAnswerChars; }
    qsizetype MaxAnswerChars() const { return fMaxAnswerChars; }
    void SetMaxAnswerChars(qsizetype chars) { fMaxAnswerChars = chars; }
    bool Uparam() const override { return FUParam; }
    void SetLeastAnswerTime(uint32_t ms) override;
    void SetUparam(bool value) override { FUParam = value; }

    // The link runs through a GSM modem call.
    bool Modem() const { return FModem; }
    void SetModem(bool value);

    // The answers still owed on this device, shared with the connection
    // and disconnection sequences.
    TOwedAnswers& OwedAnswers() { return fOwed; }

    // Ends a pending wait at once; the exchange then fails.
    void Abort();
    bool Waiting() const { return fLoop != nullptr; }
    // While blocked every request fails at once (the window is closing).
    void SetBlocked(bool blocked) { fBlocked = blocked; }

    // Device event handlers.
    void DeviceData(TDevice* Sender, const QByteArray& Data);
    void DeviceBeforeWrite(TDevice* Sender, const QByteArray& Cmd);

signals:
    // One log line: "<< " and a command as written, ">> " and a line received.
    void LogLine(const QString& text);
    // The modem said the call to the panel is gone ("NO CARRIER" nobody
    // asked for, or in the middle of an answer). The request waiting, if
    // any, has failed; later ones reach nobody.
    void CallLost();

private:
    void Wait(uint32_t ms);
    // Waits until nothing is owed but answers to `command`; false when the
    // wait was aborted.
    bool SettleBefore(const QByteArray& command);
    void ApplyLinkTimes();
    // A caller's time-out as waited on this link: the modem's margin added,
    // the tests' cap applied, at least one polling step.
    uint32_t EffectiveTimeOut(uint32_t timeOut) const;
    // Before a resend: forgets the part of an answer that broke off.
    void DropBrokenAnswer(uint32_t waitMs);
    void ClearAnswer();

    TDevice* Device;
    TLinkTimings fTimings;
    TOwedAnswers fOwed;
    quint64 fSeenWriteOffs = 0;
    TLineAssembler FBuffer;
    QElapsedTimer fSinceByte; // since the last byte received
    QStringList FResultList;
    qsizetype fAnswerChars = 0; // in FResultList
    qsizetype fMaxAnswerChars = kMaxAnswerChars;
    bool fOverflow = false; // the answer brought more than fMaxAnswerChars
    QByteArray fCurrent;    // the command being asked, while its attempts run
    uint32_t fCurrentTimeOut = 0;
    bool fWritingOwn = false;
    bool FExitCommandFlag = false;
    bool fRefused = false;
    bool fLastRefused = false;
    bool FUParam = false;
    bool FModem = false;
    bool fAborted = false;
    bool fBlocked = false;
    QEventLoop* fLoop = nullptr;
};
