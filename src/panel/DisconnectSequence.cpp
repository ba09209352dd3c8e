#include "DisconnectSequence.h"

#include "serial/Device.h"

#include <QTimer>

TDisconnectTiming TDisconnectSequence::Timing;

TDisconnectSequence::TDisconnectSequence(TDevice* device, bool modem, QObject* parent)
    : QObject(parent), fDevice(device), fModem(modem) {}

void TDisconnectSequence::Start() {
    if (fModem) {
        fDevice->Command(QByteArrayLiteral("+++"), true);
        QTimer::singleShot(Timing.ModemPauseMs, this, &TDisconnectSequence::HangUp);
    } else {
        fDevice->Command(QByteArrayLiteral("CABLE DISCONNECT"), true);
        QTimer::singleShot(Timing.CablePauseMs, this, &TDisconnectSequence::Close);
    }
}

void TDisconnectSequence::HangUp() {
    fDevice->Command(QByteArrayLiteral("ATH"), true);
    QTimer::singleShot(Timing.ModemPauseMs, this, &TDisconnectSequence::Close);
}

void TDisconnectSequence::Close() {
    fDevice->SetComActive(false);
    fFinished = true;
    emit Done();
}
