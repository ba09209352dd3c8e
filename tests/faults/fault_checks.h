#pragma once

// What every fault case checks besides its own outcome: the operation ends
// within a bound computed from the link's timings, the event loop keeps
// turning while it runs, and the files the user saved are left as they were.
#include "panel/LinkTimings.h"
#include "short_link_timings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <map>

// Each attempt's wait in the fault suite: far above the quick emulated
// panel's answer times, with room for a machine busy with the other tests.
inline constexpr uint32_t kFaultTimeOutMs = 200;

// The link's timings of one case: every time-out a caller passes cut to
// `timeOutMs` and the late bound `lateMs`, each far above what the quick
// emulated panel takes to answer, so that only the fault decides.
inline TLinkTimings FaultTimings(uint32_t timeOutMs, uint32_t lateMs) {
    ShortLinkTimings t;
    t.TimeOutCapMs = timeOutMs;
    t.LateMs = lateMs;
    t.MinWaitMs = std::min<uint32_t>(t.MinWaitMs, timeOutMs);
    return t;
}

// What a loaded machine may add to a whole operation (scheduling, painting
// the window, the emulator's thread), beyond the link's own waits.
inline constexpr qint64 kMachineAllowanceMs = 1500;

// The longest an operation of `exchanges` exchanges may take: before its
// command each one may wait for the answers still owed to the one before,
// at most past their deadline (the late bound after that command's last
// time-out), then it sends the command at most Attempts times and waits at most
// the time-out after each; `panelMs` is what the panel's own delays add.
inline qint64 OperationBoundMs(const TLinkTimings& t, int exchanges, qint64 panelMs = 0) {
    const qint64 timeOut = std::max<qint64>(t.TimeOutCapMs, t.MinWaitMs);
    return exchanges * (t.Attempts * timeOut + qint64(t.LateMs)) + panelMs + kMachineAllowanceMs;
}

// A repeating timer that stands for everything else the window has to do
// while an operation runs (painting, a click on Cancel): Check, called from
// the operation's own events, expects it to have fired since the previous
// check whenever more than kSpanMs have passed; a tool that waited for the
// panel without running the event loop would starve it.
class TEventLoopProbe : public QObject {
public:
    static constexpr int kIntervalMs = 5;
    static constexpr qint64 kSpanMs = 100;

    TEventLoopProbe() {
        fTimer.setInterval(kIntervalMs);
        QObject::connect(&fTimer, &QTimer::timeout, this, [this] {
            const qint64 now = fClock.elapsed();
            fMaxGapMs = std::max(fMaxGapMs, now - fLastTick);
            fLastTick = now;
            ++fTicks;
        });
        fClock.start();
        fTimer.start();
    }

    void Check() {
        const qint64 now = fClock.elapsed();
        if (now - fCheckedAt < kSpanMs)
            return;
        ++fChecks;
        if (fTicks == fTicksAtCheck)
            ++fStarved;
        fCheckedAt = now;
        fTicksAtCheck = fTicks;
    }

    int Checks() const { return fChecks; }
    // Checks that found the timer had not fired.
    int Starved() const { return fStarved; }
    // The longest time between two firings.
    qint64 MaxGapMs() const { return fMaxGapMs; }

private:
    QTimer fTimer;
    QElapsedTimer fClock;
    qint64 fLastTick = 0;
    qint64 fMaxGapMs = 0;
    qint64 fCheckedAt = 0;
    int fTicks = 0;
    int fTicksAtCheck = 0;
    int fChecks = 0;
    int fStarved = 0;
};

// Files the user saved before the fault: a settings file and an SMS text
// file in a folder of their own. Unchanged() tells whether every byte is
// still there and nothing else appeared beside them.
class TSavedFiles {
public:
    TSavedFiles();
    QString Folder() const { return fDir.path(); }
    QString SettingsPath() const { return fDir.filePath(QStringLiteral("object.ini")); }
    QString SmsPath() const { return fDir.filePath(QStringLiteral("sms.txt")); }
    // Empty when all is as it was; otherwise what changed.
    QString Changes() const;

private:
    QTemporaryDir fDir;
    std::map<QString, QByteArray> fBytes;
};
