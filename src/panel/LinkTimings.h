#pragma once

#include <cstdint>

// Every time-out, retry count and pause of the panel link: the command
// exchange, the connection sequence and the disconnection. Whoever creates
// the exchange and the sequences hands them one of these; the defaults are
// the tool's own, and tests give shorter ones to their own instances.
struct TLinkTimings {
    // ---- the command exchange
    int Attempts = 3;             // writes of one command before it fails
    uint32_t MinWaitMs = 50;      // the shortest wait of an attempt (a time-out of 0 still waits this)
    uint32_t ModemExtraMs = 5000; // added to every time-out, and to the late bound, on a modem call
    uint32_t TimeOutCapMs = 0;    // caps every time-out callers pass (0: no cap); for tests only
    // How long past the time it was given an answer still owed may come in
    // before it is taken as lost and the lines that follow may go to another
    // command. The panel answers one command at a time and in order, so an
    // answer's time counts from the later of its write and the previous
    // answer. A panel slower than its time-out answers a few hundred
    // milliseconds to a few seconds late (2.7 to 3.2 s for an ordinary
    // answer in the slow panels seen, 5 to 6 s in a slow boot loader); twice
    // the ordinary time-out stays clear of that. Whatever the line carries
    // meanwhile, a command the panel has lost holds up the next command for
    // at most its own time-out and this. On a modem call the network's
    // delay is added, as it is to every time-out.
    uint32_t LateMs = 5000;

    // ---- the connection sequence
    int ConnectResends = 4;         // resends of an unanswered command before giving up
    int CableResendMs = 3000;       // resend interval on the cable
    int ModemResendMs = 10000;      // ... for the modem's own commands and the panel through a call
    int DialResendMs = 60000;       // ... for the dial command
    int RtsPulseMs = 500;           // each half of the RTS pulse
    int ModemSettleMs = 2000;       // after the pulse, before "ATZ"
    int RegistrationRetryMs = 1000; // between "AT+CREG?" questions while not registered

    // ---- the wake-up
    // The quiet time before the device's first wake-up "+v" of a run; the
    // device draws 10 to 14 s for every later one.
    uint32_t FirstWakeUpMs = 20000;

    // ---- the disconnection
    int ModemPauseMs = 250; // after "+++" and after "ATH"
    int CablePauseMs = 100; // after "CABLE DISCONNECT"

    // The late bound on this link.
    uint32_t LateBound(bool modem) const { return modem ? LateMs + ModemExtraMs : LateMs; }
};
