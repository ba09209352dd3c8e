#pragma once

#include "panel/CommandExchange.h"
#include "serial/Device.h"

#include <QString>

// The tool's side of a benchmark: the device component and the exchange on
// it, as the main window holds them.
struct ToolLink {
    TDevice device;
    TCommandExchange exchange{&device};

    bool open(const QString& path) {
        device.SetPort(path);
        device.SetComActive(true);
        exchange.Attach();
        return device.ComActive();
    }
};
