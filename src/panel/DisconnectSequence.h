#pragma once

#include "LinkTimings.h"

#include <QObject>
#include <QTimer>

class TDevice;
class TOwedAnswers;

// Ends a connection the way the panel and the modem expect: on a modem call
// "+++" (no line end), a pause, "ATH", a pause; on the cable "CABLE
// DISCONNECT" and a pause; then the port is closed. No answer is read, but
// none is left owed either: after each pause the sequence goes on only once
// the answers still owed have come in (the modem's "OK" to "+++" before
// "ATH" goes out) or passed their deadline (OwedAnswers.h), so that
// no answer of this connection can reach the next one. The pauses are
// timers, so the window keeps running meanwhile.
class TDisconnectSequence : public QObject {
    Q_OBJECT
public:
    TDisconnectSequence(TDevice* device, bool modem, TOwedAnswers& owed, const TLinkTimings& timings,
                        QObject* parent = nullptr);

    void Start();
    bool Finished() const { return fFinished; }

signals:
    void Done();

private:
    // Runs `step` after the pause and once nothing is owed any more.
    void Then(int pauseMs, void (TDisconnectSequence::*step)());
    void Check();
    void HangUp();
    void Close();

    TDevice* fDevice;
    bool fModem;
    TOwedAnswers& fOwed;
    TLinkTimings fTimings;
    bool fFinished = false;
    bool fPaused = false;
    void (TDisconnectSequence::*fNext)() = nullptr;
    QTimer fTimer;
};
