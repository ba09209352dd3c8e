#pragma once

#include "LinkTimings.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>

// Time-outs callers pass to an exchange (the modem link adds its own margin).
namespace ExchangeTimeout {
constexpr uint32_t Param = 2500;         // ordinary reads and writes, journal pointer, boot loader "+v"
constexpr uint32_t Signal = 10000;       // "+U"; each firmware block
constexpr uint32_t HistoryFirst = 15000; // first journal block
constexpr uint32_t Long = 30000;         // later journal blocks, flash erase and final check
constexpr uint32_t Erase = 70000;        // journal erase
} // namespace ExchangeTimeout

// Why a parameter is in an error list. A name the exchange did not fail
// was failed by its page: the answer came, but in a form the page cannot use.
enum class TFailReason {
    BadValue,  // the panel answered with a value the page cannot use
    NoAnswer,  // no whole answer in time
    Refused,   // the panel answered without its "OK" (an error, another answer)
};

// The panel dialogue as pages, the journal reader and the firmware upload
// see it: one command out, the answer lines back. A real link implements
// DeviceCommandLst; a page's tests may script it. The other requests are
// built on it here, with the value-line rule and the error-list rule.
class TPanelExchange {
public:
    virtual ~TPanelExchange() = default;

    // One exchange; on success Res holds every answer line.
    virtual bool DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) = 0;

    // How often one command may be sent before it counts as failed; a caller
    // that asks again for what an answer lacked keeps within it too.
    virtual int Attempts() const { return TLinkTimings{}.Attempts; }

    // While set, an answer on the cable is complete at its second "OK" line.
    virtual bool Uparam() const = 0;
    virtual void SetUparam(bool value) = 0;

    // While set (not 0), every command written is given at least this long
    // for its answer before a later command may go out: a panel in its boot
    // loader may answer seconds late, and its late answer must not be taken
    // for the next step's.
    virtual void SetLeastAnswerTime(uint32_t ms) { (void)ms; }

    // One exchange; on success Res holds the value line (the line before the
    // last, or the only line). On failure Res is left as it was.
    bool DeviceCommand(const QString& ACommand, QString& Res, uint32_t TimeOut);

    // An exchange whose failure is recorded by name: ErrorMessage goes into
    // ErrorList when the exchange fails or the upper-cased answer lacks
    // Answer. Returns whether the exchange itself completed.
    bool ReadParamFromDevice(const QString& ACommand, QStringList& StrResult, QStringList& ErrorList,
                             const QString& ErrorMessage, const QString& Answer, uint32_t TimeOut);
    void SendParamToDevice(const QString& ACommand, QStringList& ErrorList, const QString& ErrorMessage,
                           const QString& Answer, uint32_t TimeOut);

    // Why the exchange put a name into an error list since the reasons were
    // last forgotten; a name it did not put there was failed by its page.
    TFailReason FailReason(const QString& ErrorMessage) const;
    // A caller that asked the panel itself says why a name failed.
    void NoteFailure(const QString& ErrorMessage, TFailReason reason) { fFailReasons.insert(ErrorMessage, reason); }
    void ForgetFailReasons();

private:
    QHash<QString, TFailReason> fFailReasons;
};

// The value line of an answer: the line before the last, or the only line.
QString AnswerValue(const QStringList& lines);
