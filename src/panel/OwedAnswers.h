#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <deque>
#include <functional>

// The answers the panel (or the modem in front of it) still owes: one for
// every line written and not yet answered, in the order they were written.
// The panel answers one command at a time and in order, so each complete
// answer that comes in belongs to the oldest write still owed one. Whoever
// reads the line asks here whose answer a received line is, and may give a
// command the lines of its own answers only.
//
// An answer is complete at its final line: "OK" or "ERROR"; on a modem link
// also the modem's result lines ("CONNECT...", "NO CARRIER", "BUSY",
// "NO ANSWER", "NO DIALTONE"); the signal reading "+U" on the cable only at
// its second "OK".
//
// Every owed answer has its own deadline. The panel starts on a command once
// it has answered the one before, so an answer's time counts from the later
// of its write and the last answer that came in whole; it is given the time
// its writer waits for it (a command's time-out, at least the least answer
// time the link is set to), and then the late bound. Past that it is written
// off as lost, whatever arrives meanwhile: lines that do not end an owed
// answer (a modem's RING, a panel's debug output) never extend it, so a line
// that chatters without answering cannot hold the tool for ever.
//
// Shared by the command exchange and the connection and disconnection
// sequences of one device; everything runs on the user-interface thread.
class TOwedAnswers : public QObject {
    Q_OBJECT
public:
    // The lines written to the line are compared without their line ends.
    static QByteArray Key(const QByteArray& written);
    // Whether `line` ends an answer (on a modem link, or on the panel alone).
    static bool IsFinalLine(const QString& line, bool modem);

    explicit TOwedAnswers(QObject* parent = nullptr);

    // The link runs through a GSM modem: the modem's result lines end
    // answers too, and the two-"OK" answer does not exist there.
    void SetModem(bool modem) { fModem = modem; }
    bool Modem() const { return fModem; }
    // How long past its own answer time an owed answer may still come in.
    void SetLateBound(uint32_t ms) { fLateBoundMs = ms; }
    uint32_t LateBound() const { return fLateBoundMs; }
    // The answer time of a write that names none (the device's wake-up).
    void SetDefaultAnswerTime(uint32_t ms) { fDefaultAnswerMs = ms; }
    uint32_t DefaultAnswerTime() const { return fDefaultAnswerMs; }
    // The least answer time of every write while set (0: none): a panel in
    // its boot loader may take seconds over any answer.
    void SetLeastAnswerTime(uint32_t ms) { fLeastAnswerMs = ms; }
    uint32_t LeastAnswerTime() const { return fLeastAnswerMs; }
    // The next write (and only it) is given `ms` for its answer; a writer
    // that does not go through the exchange (the connection sequence) says
    // so before it writes.
    void ExpectNextWithin(uint32_t ms) { fNextAnswerMs = ms; }

    // A line was written that will be answered within `answerMs` (0: the
    // one the next write was given, else the default). `twoOk`: its answer
    // is the signal reading, complete at its second "OK" (on the cable).
    void Written(const QByteArray& line, bool twoOk = false, uint32_t answerMs = 0);

    // Where a complete received line goes.
    struct TFate {
        bool Owed = false;      // part of an owed answer (else nobody asked for it)
        QByteArray Command;     // the command whose answer it is part of
        bool Completes = false; // it ends that answer
        bool Success = false;   // ... with "OK" (else a refusal or a modem's failure)
    };
    TFate Take(const QString& line);

    // The oldest owed answer broke off: the lines received of it so far
    // are forgotten, and the next lines begin it anew.
    void RestartAnswer() { fPartial = {}; }

    bool Empty() const { return fOwed.empty(); }
    int Count() const { return int(fOwed.size()); }
    // Nothing is owed but answers to `command` (a retry may take them).
    bool OwesOnly(const QByteArray& command) const;
    // Writes off the owed answers whose deadline has passed, oldest first;
    // true when nothing is owed any more.
    bool ExpireDue();
    // Milliseconds until the oldest owed answer's deadline (0: due, or
    // nothing owed).
    uint32_t MsUntilDue() const;
    // Grows each time owed answers are written off: a reader that sees it
    // change drops the unfinished line it holds, which was part of them.
    quint64 WriteOffs() const { return fWriteOffs; }
    void Clear();

    // Replaces the monotonic millisecond clock (tests).
    void SetClock(std::function<qint64()> clock) { fClock = std::move(clock); }

signals:
    // An owed answer has come in whole, or everything owed was written off.
    // Raised while the reader is still taking a batch of lines: listeners
    // that write connect with Qt::QueuedConnection, so that no line that
    // came before their write is taken as its answer.
    void Settled();

private:
    struct TOwed {
        QByteArray Command;
        bool TwoOk = false;
        qint64 WrittenAt = 0;
        uint32_t AnswerMs = 0;
    };
    qint64 Now() const { return fClock(); }
    qint64 Deadline(const TOwed& owed) const;
    void WriteOffHead();

    // What has come of the oldest owed answer so far: counts only, so that
    // a line that never stops sending lines costs no memory.
    struct TPartial {
        qint64 Lines = 0;
        int Oks = 0;
    };

    std::deque<TOwed> fOwed;
    TPartial fPartial;
    qint64 fLastAnswered = 0; // when the last owed answer came in whole
    bool fModem = false;
    uint32_t fLateBoundMs = 5000;
    uint32_t fDefaultAnswerMs = 2500;
    uint32_t fLeastAnswerMs = 0;
    uint32_t fNextAnswerMs = 0;
    quint64 fWriteOffs = 0;
    QElapsedTimer fElapsed;
    std::function<qint64()> fClock;
};
