#pragma once

#include "panel_settings.h"
#include "reply.h"

#include <QString>

namespace emu {

// The workstation's GSM modem. In command state it takes "ATZ", "AT",
// "AT+CREG?", "ATD<number>" and "ATH"; a dial that connects puts the panel on
// the line (online) until "+++" brings the modem back to command state with
// the call held, "ATH" hangs up, or the call drops.
class GsmModem {
public:
    enum class State { Command, Online, OnlineCommand };

    struct Outcome {
        QString name; // for the counters: "ATZ", "AT", "AT+CREG?", "ATD", "ATH" or "?"
        bool rejected = false;
        Reply reply;
    };

    explicit GsmModem(const PanelSettings& settings);

    State state() const { return fState; }
    bool online() const { return fState == State::Online; }
    bool callUp() const { return fState != State::Command; }

    // A command line in command state (Online lines go to the panel).
    Outcome command(const QByteArray& line);
    // "+++" received.
    Reply escape();
    // The call ends (the panel restarted, the line dropped): back to command state.
    void dropCall();
    // Takes the registration and dial settings afresh (remaining unregistered
    // answers and failing dials start over).
    void restartDialogue();
    int dials() const { return fDials; }

private:
    const PanelSettings& fSettings;
    State fState = State::Command;
    int fUnregisteredLeft = 0;
    int fFailuresLeft = 0;
    int fDials = 0;
};

} // namespace emu
