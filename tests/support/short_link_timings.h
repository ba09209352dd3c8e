#pragma once

#include "panel/LinkTimings.h"

// The link's timings shortened for tests against the quick emulated panel:
// resends and pauses of tens of milliseconds, and a late bound well above
// the quick panel's answer delays. Give it to the exchange, the sequences,
// the command line or the window under test.
struct ShortLinkTimings : TLinkTimings {
    ShortLinkTimings() {
        LateMs = 300;
        CableResendMs = 300;
        ModemResendMs = 300;
        DialResendMs = 400;
        RtsPulseMs = 5;
        ModemSettleMs = 10;
        RegistrationRetryMs = 20;
        ModemPauseMs = 20;
        CablePauseMs = 20;
    }
};
