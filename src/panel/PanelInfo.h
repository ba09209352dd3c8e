#pragma once

#include "DeviceVersion.h"

#include <QString>

// The panel a session is connected to: the port, the link, the identity
// the connection sequence read from it, and what the tool can do with it.
struct TPanelInfo {
    enum TKind {
        Configurable, // firmware 7.700: every page
        BootLoader,   // an update broke off: only another update
        Incompatible, // any other firmware: nothing the tool configures
    };

    QString Port;
    bool Modem = false;
    TDeviceVersion Version;

    TKind Kind() const {
        if (IsBootLoader(Version))
            return BootLoader;
        return IsCompatible(Version) ? Configurable : Incompatible;
    }
};
