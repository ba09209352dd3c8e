#include "panel_settings.h"

namespace emu {

Delays Delays::quick() {
    Delays d;
    d.answerMs = 0;
    d.measurementMs = 30;
    d.journalEraseMs = 30;
    d.dialMs = 30;
    d.flashEraseMs = 10;
    d.blockWriteMs = 0;
    d.finalCheckMs = 0;
    d.splitGapMs = 2;
    return d;
}

QString linkModeName(LinkMode mode) {
    return mode == LinkMode::Modem ? QStringLiteral("modem") : QStringLiteral("cable");
}

QString dialOutcomeText(DialOutcome outcome) {
    switch (outcome) {
    case DialOutcome::Connect: return QStringLiteral("CONNECT 9600");
    case DialOutcome::NoCarrier: return QStringLiteral("NO CARRIER");
    case DialOutcome::Busy: return QStringLiteral("BUSY");
    case DialOutcome::NoAnswer: return QStringLiteral("NO ANSWER");
    }
    return QStringLiteral("NO CARRIER");
}

} // namespace emu
