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
// its second "OK". Answers still owed when the line has been quiet for the
// quiet bound (nothing received and nothing owed written) are taken as lost.
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
    // How long the line must be quiet before what is still owed is lost.
    void SetQuietBound(uint32_t ms) { fQuietBoundMs = ms; }
    uint32_t QuietBound() const { return fQuietBoundMs; }

    // A line was written that will be answered. `twoOk`: its answer is the
    // signal reading, complete at its second "OK" (on the cable).
    void Written(const QByteArray& line, bool twoOk = false);
    // Bytes came in (any, even part of a line): the line is not quiet.
    // Call it before taking the lines the bytes complete.
    void Heard();

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
    // When the line has been quiet for the bound, everything still owed is
    // written off (true).
    bool ExpireIfQuiet();
    // Milliseconds until the line will have been quiet for the bound.
    uint32_t MsUntilQuiet() const;
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
    };
    qint64 Now() const { return fClock(); }

    // What has come of the oldest owed answer so far: counts only, so that
    // a line that never stops sending lines costs no memory.
    struct TPartial {
        qint64 Lines = 0;
        int Oks = 0;
    };

    std::deque<TOwed> fOwed;
    TPartial fPartial;
    qint64 fLastActivity = 0;
    bool fModem = false;
    uint32_t fQuietBoundMs = 5000;
    quint64 fWriteOffs = 0;
    QElapsedTimer fElapsed;
    std::function<qint64()> fClock;
};
