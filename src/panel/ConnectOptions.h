#pragma once

#include <QString>

// What a connection is made with: the serial port (a device path), and the
// programming cable or a GSM modem dialling the panel's telephone number.
struct TConnectOptions {
    QString Port;
    bool Modem = false;
    QString Phone;
};

// How an attempt to connect started.
enum class TConnectStart {
    Started,       // the port is open and the sequence runs
    NoPhone,       // a GSM modem without a telephone number: nothing done
    PortFailed,    // the port did not open (PortFailed told why)
    NotConnecting, // the session is not making a connection (BeginConnecting)
};
