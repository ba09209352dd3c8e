#pragma once

#include "panel_settings.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>

namespace emu {

class PanelCore;
class PanelServer;

// An emulated panel (and GSM modem) on a pseudo-terminal, served from a
// thread of its own. Tests start it, give the slave path to the code under
// test, switch modes, delays and faults, and look at what the panel received
// and holds. Every method may be called from any thread at any time.
class EmulatedPanel {
public:
    explicit EmulatedPanel(const PanelSettings& settings = {});
    ~EmulatedPanel();
    EmulatedPanel(const EmulatedPanel&) = delete;
    EmulatedPanel& operator=(const EmulatedPanel&) = delete;

    // Opens the pseudo-terminal and starts serving; false (and the reason)
    // when the pty or the transcript cannot be opened.
    bool start(QString* error = nullptr);
    // Stops serving and closes the pty; returns promptly.
    void stop();
    bool isRunning() const;
    // The device the tool opens (/dev/pts/N); empty before start().
    QString slavePath() const;

    // Settings. Each takes effect for the next command.
    PanelSettings settings() const;
    void setMode(LinkMode mode); // also ends the cable session and any call
    void setVersionLine(const QString& line);
    void setBootVersionLine(const QString& line);
    void setMemoryType(const QString& hexValue);
    void setSignal(int level, int errors);
    void setDelays(const Delays& delays);
    Delays delays() const;
    void setFaults(const Faults& faults); // also restarts the fault counters
    Faults faults() const;
    // The lines of the flood (Faults::floodLine) sent since the faults were set.
    qint64 floodLinesSent() const;
    void setCrLfAnswers(bool on);
    void setOddValues(bool on); // PanelSettings::oddValues
    void setReadIncludesEnd(bool on);
    void setModemEcho(bool on);
    void setUnregisteredAnswers(int count);
    // Dials end in `outcome` (count times, or always with -1); Connect = no failures.
    void setDialFailure(DialOutcome outcome, int count = -1);

    // Parameters by command name ("+o", "+alphon3", "+smstext0", ...), as text
    // (Windows-1251 decoded) or as the bytes on the line.
    QString parameter(const QString& name) const;
    QByteArray parameterBytes(const QString& name) const;
    // Stores a value the panel would take from the tool; false when it would
    // answer "ERROR".
    bool setParameter(const QString& name, const QString& value);
    // Puts bytes in place without the check a written value passes, as the
    // panel's own firmware or a damaged memory may leave them (a test period
    // of 32 hours, a pause that is no whole minute); reads answer them, writes
    // are still checked. False for an unknown name.
    bool storeParameterBytes(const QString& name, const QByteArray& value);
    QStringList parameterNames() const;
    void resetParameters();

    // The journal.
    void regenerateJournal(int records, int badRecords = 0, quint32 seed = 1);
    void setJournalLines(const QList<QByteArray>& lines);
    // New events: `count` generated records written at the pointer, as the
    // panel writes them (wrapping past 65535 over the oldest records), their
    // running numbers going on from the records written before.
    void appendJournalRecords(int count, quint32 seed = 2);
    QList<QByteArray> journalLines() const;
    unsigned journalPointer() const;
    QList<int> badJournalIndexes() const;

    // The boot loader.
    bool inBootLoader() const;
    QByteArray flashedImage() const;
    int flashedBlockCount() const;
    std::optional<bool> finalCheckPassed() const; // nothing until "+EE" came

    // The line.
    bool cableSessionOpen() const;
    bool callConnected() const; // a modem call is up (online or held after "+++")
    int modemDials() const;
    int toolOpenCount() const; // how many times the tool has the port open now

    // What came in and went out.
    int commandCount(const QString& name) const; // "+o", "+alphon3", "+W", "ATD", "+++", "?" ...
    int writeCount(const QString& name) const;
    QMap<QString, int> commandCounts() const;
    QStringList receivedLines() const; // every command line, in order
    QStringList rejectedLines() const; // those answered with "ERROR"
    QByteArray receivedBytes() const;
    QByteArray sentBytes() const;
    void clearRecords();

private:
    template <class F> auto locked(F&& f) const;
    void changed();

    mutable std::mutex fMutex;
    std::unique_ptr<PanelCore> fCore;
    std::unique_ptr<PanelServer> fServer;
};

} // namespace emu
