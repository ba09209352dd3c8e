#pragma once

#include "panel/ConnectSequence.h"
#include "panel/DisconnectSequence.h"

// Shortens the connection sequence's resends and pauses and the disconnect
// pauses for one test, and puts the tool's own back afterwards.
class ShortLinkTimings {
public:
    ShortLinkTimings() : fConnect(TConnectSequence::Timing), fDisconnect(TDisconnectSequence::Timing) {
        TConnectSequence::Timing = {/*cable*/ 300, /*modem*/ 300, /*dial*/ 400,
                                    /*rts*/ 5,     /*settle*/ 10, /*registration*/ 20};
        TDisconnectSequence::Timing = {20, 20};
    }
    ~ShortLinkTimings() {
        TConnectSequence::Timing = fConnect;
        TDisconnectSequence::Timing = fDisconnect;
    }
    ShortLinkTimings(const ShortLinkTimings&) = delete;
    ShortLinkTimings& operator=(const ShortLinkTimings&) = delete;

private:
    TConnectTiming fConnect;
    TDisconnectTiming fDisconnect;
};
