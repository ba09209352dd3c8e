#pragma once

#include <QObject>

#include <functional>

class TDevice;

// Pauses of the disconnect writes; tests shorten them.
struct TDisconnectTiming {
    int ModemPauseMs = 250; // after "+++" and after "ATH"
    int CablePauseMs = 100; // after "CABLE DISCONNECT"
};

// Ends a connection the way the panel and the modem expect: on a modem call
// "+++" (no line end), a pause, "ATH", a pause; on the cable "CABLE
// DISCONNECT" and a pause; then the port is closed. No answer is awaited.
// The pauses are timers, so the window keeps running meanwhile.
class TDisconnectSequence : public QObject {
    Q_OBJECT
public:
    static TDisconnectTiming Timing;

    TDisconnectSequence(TDevice* device, bool modem, QObject* parent = nullptr);

    void Start();
    bool Finished() const { return fFinished; }

signals:
    void Done();

private:
    void HangUp();
    void Close();

    TDevice* fDevice;
    bool fModem;
    bool fFinished = false;
};
