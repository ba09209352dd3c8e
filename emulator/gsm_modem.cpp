#include "gsm_modem.h"

namespace emu {

GsmModem::GsmModem(const PanelSettings& settings) : fSettings(settings) {
    restartDialogue();
}

void GsmModem::restartDialogue() {
    fUnregisteredLeft = fSettings.unregisteredAnswers;
    fFailuresLeft = fSettings.dialFailures;
}

void GsmModem::dropCall() {
    fState = State::Command;
}

Reply GsmModem::escape() {
    if (fState == State::Online)
        fState = State::OnlineCommand;
    else
        return Reply::none(); // not in a call: nothing to escape from, a modem stays silent
    return Reply::modem({"OK"}, fSettings.delays.answerMs);
}

GsmModem::Outcome GsmModem::command(const QByteArray& line) {
    const int delay = fSettings.delays.answerMs;
    Outcome out;
    auto ok = [&](const QString& name) {
        out.name = name;
        out.reply = Reply::modem({"OK"}, delay);
    };
    if (line == "ATZ") {
        fState = State::Command; // a reset ends a held call
        ok("ATZ");
    } else if (line == "AT") {
        ok("AT");
    } else if (line == "AT+CREG?") {
        out.name = "AT+CREG?";
        QByteArray state = "+CREG: 0,1";
        if (fUnregisteredLeft > 0) {
            --fUnregisteredLeft;
            state = "+CREG: 0,2";
        }
        out.reply = Reply::modem({state, "OK"}, delay);
    } else if (line == "ATH") {
        fState = State::Command;
        ok("ATH");
    } else if (line.startsWith("ATD")) {
        out.name = "ATD";
        QByteArray number = line.mid(3);
        // Separators people type into numbers carry no meaning to a modem.
        for (const char sep : {' ', '-', '(', ')', '.'})
            number.replace(sep, QByteArray());
        bool valid = !number.isEmpty() && fState == State::Command;
        for (char c : number) {
            if (!((c >= '0' && c <= '9') || c == '+' || c == '*' || c == '#'))
                valid = false;
        }
        if (!valid) {
            out.rejected = true;
            out.reply = Reply::error(true);
            return out;
        }
        ++fDials;
        DialOutcome result = DialOutcome::Connect;
        if (fUnregisteredLeft > 0) {
            result = DialOutcome::NoCarrier; // no network yet
        } else if (fSettings.dialFailure != DialOutcome::Connect && fFailuresLeft != 0) {
            result = fSettings.dialFailure;
            if (fFailuresLeft > 0)
                --fFailuresLeft;
        }
        if (result == DialOutcome::Connect)
            fState = State::Online;
        out.reply = Reply::modem({dialOutcomeText(result).toLatin1()}, delay + fSettings.delays.dialMs);
    } else {
        out.name = "?";
        out.rejected = true;
        out.reply = Reply::error(true);
    }
    if (fSettings.modemEcho)
        out.reply.parts.prepend(ReplyPart{0, {}, true, line + "\r\n"});
    return out;
}

} // namespace emu
