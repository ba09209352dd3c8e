#include "DisconnectSequence.h"

#include "OwedAnswers.h"
#include "serial/Device.h"

TDisconnectSequence::TDisconnectSequence(TDevice* device, bool modem, TOwedAnswers& owed,
                                         const TLinkTimings& timings, QObject* parent)
    : QObject(parent), fDevice(device), fModem(modem), fOwed(owed), fTimings(timings) {
    fTimer.setSingleShot(true);
    connect(&fTimer, &QTimer::timeout, this, [this] {
        fPaused = false;
        Check();
    });
    // Queued: the answer is still being sorted when this is raised.
    connect(&fOwed, &TOwedAnswers::Settled, this, &TDisconnectSequence::Check, Qt::QueuedConnection);
}

void TDisconnectSequence::Start() {
    if (fModem) {
        fDevice->Command(QByteArrayLiteral("+++"), true);
        Then(fTimings.ModemPauseMs, &TDisconnectSequence::HangUp);
    } else {
        fDevice->Command(QByteArrayLiteral("CABLE DISCONNECT"), true);
        Then(fTimings.CablePauseMs, &TDisconnectSequence::Close);
    }
}

void TDisconnectSequence::Then(int pauseMs, void (TDisconnectSequence::*step)()) {
    fNext = step;
    fPaused = true;
    fTimer.start(pauseMs);
}

void TDisconnectSequence::Check() {
    if (fPaused || !fNext)
        return;
    if (!fOwed.ExpireDue() && fDevice->ComActive()) {
        // Woken by the next owed answer or by the oldest one's deadline.
        fTimer.start(int(std::max<uint32_t>(1, fOwed.MsUntilDue())));
        return;
    }
    const auto step = fNext;
    fNext = nullptr;
    (this->*step)();
}

void TDisconnectSequence::HangUp() {
    fDevice->Command(QByteArrayLiteral("ATH"), true);
    Then(fTimings.ModemPauseMs, &TDisconnectSequence::Close);
}

void TDisconnectSequence::Close() {
    fDevice->SetComActive(false);
    fFinished = true;
    emit Done();
}
