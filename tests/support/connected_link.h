#pragma once

#include "panel/CommandExchange.h"
#include "panel/DeviceVersion.h"
#include "serial/Device.h"
#include "short_link_timings.h"

#include <QString>

// A device and an exchange connected to a panel the way the window does it:
// the exchange attached first (it keeps the owed answers of every write),
// then the connection sequence over the cable, then the exchange takes the
// device's data. Timings are the tests' short ones.
struct TConnectedLink {
    TConnectedLink() { exchange.SetTimings(timings); }

    // Connects over the cable to `port`; false (with a test failure) when the
    // sequence did not succeed within `waitMs`.
    bool Connect(const QString& port, int waitMs = 10000);

    ShortLinkTimings timings;
    TDevice device;
    TCommandExchange exchange{&device};
    TDeviceVersion version;
};
