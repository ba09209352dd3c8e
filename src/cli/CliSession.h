#pragma once

#include "panel/DeviceVersion.h"
#include "panel/LinkTimings.h"
#include "panel/PanelExchange.h"
#include "panel/PanelSession.h"

#include <QObject>
#include <QStringList>

#include <memory>

class QTextStream;
class TCommandExchange;
class TLogFile;

// Exit codes of tarvik1-cli.
enum TCliExit : int {
    ceOk = 0,
    ceExchangeFailed = 1, // a command got no complete answer
    ceDifferent = 1,      // diff: the file differs from the panel
    ceUsage = 2,
    cePortFailed = 3,   // the port could not be opened
    ceNoAnswer = 4,     // the panel (or the modem) did not answer the connection sequence
    ceIncompatible = 5, // the panel's firmware is not one the tool configures
    ceLogFailed = 6,    // the log file could not be written
    ceImageRefused = 7, // flash: the image file is unreadable or damaged; nothing was sent
    ceNotConfirmed = 8, // flash: the installer did not confirm; nothing was sent
    ceFlashFailed = 9,  // flash: a step of the upload failed

    // journal
    ceOutputFailed = 10, // the spreadsheet file could not be written
    ceJournalEmpty = 11, // the panel's journal is empty; no file was written

    // read, write, diff
    ceSettingsFileFailed = 12, // the settings file could not be written (read) or read (write, diff)
    ceNotAllRead = 13,         // diff: not every setting was read from the panel; nothing compared

    // the archive
    ceArchiveFailed = 14, // the archive file could not be opened, read or written
    ceNotInArchive = 15,  // archive: no such panel, run or configuration
};

struct TCliOptions {
    QString Port;
    bool Modem = false;
    QString Phone;
    uint32_t TimeOut = ExchangeTimeout::Param;
    QString LogFile;
};

// One connection to a panel from the command line: the panel session the
// window uses (cable or GSM modem, the panel's identity, the line lost),
// with what the command line makes of it: messages on the error stream,
// exit codes, the answers printed, and the traffic log written as it goes
// (put in place on the way out).
class TCliSession : public QObject {
    Q_OBJECT
public:
    TCliSession(const TCliOptions& options, QTextStream& out, QTextStream& err,
                const TLinkTimings& timings = {});
    ~TCliSession() override;

    // Connects and identifies the panel; ceOk or the failure's exit code
    // (with one line on the error stream). A log file that may never be
    // written (a FIFO, a device, a folder, someone else's link in a shared
    // folder) is refused first, ceLogFailed, before the port is opened.
    int Connect();
    const TDeviceVersion& Version() const { return fSession.Panel().Version; }
    // Connected, and the line not lost since.
    bool Connected() const { return fSession.HasPanel(); }
    // The exchange with the connected panel.
    TCommandExchange& Exchange() { return fSession.CommandExchange(); }
    TPanelSession& Session() { return fSession; }
    // The device's periodic wake-up command (on while connected).
    void SetWakeUp(bool on);
    // One exchange per command; prints each answer's lines. ceOk when all
    // completed, else ceExchangeFailed (a refused command is a failure too).
    int Send(const QStringList& commands);
    // Disconnects (if connected) and puts the log in place (a new log file
    // is the owner's alone: it holds the passwords sent); returns
    // ceLogFailed when the log could not be written, else `code`.
    int Finish(int code);
    // The traffic log being written; none without a log file.
    const TLogFile* LogFile() const { return fLog.get(); }

private:
    void Log(const QString& text);
    void LineLost(const QString& message);

    TCliOptions fOptions;
    QTextStream& fOut;
    QTextStream& fErr;
    TPanelSession fSession;
    bool fLineLost = false;
    bool fLogRefused = false; // the log file was refused before connecting: not tried again
    int fCreateError = 0;
    int fOsError = 0;
    std::unique_ptr<TLogFile> fLog;
};
