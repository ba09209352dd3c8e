#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Port name and line settings. The codes are those of the line-settings
// block the panel's tools have always used: parity 0 none, 1 odd, 2 even,
// 3 mark, 4 space; stop bits 0 one, 1 one and a half, 2 two.
struct TNewInDcb {
    QString Port = QStringLiteral("COM1");
    uint32_t BaudRate = 19200;
    uint8_t Parity = 0;
    uint8_t ByteSize = 8;
    uint8_t StopBits = 0;
};

enum : uint8_t { NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4 };
enum : uint8_t { ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2 };

// Driver queue sizes in bytes.
struct TComBuffers {
    uint32_t InputBufferLen = 0;
    uint32_t OutputBufferLen = 0;
};

struct TComPortSettings {
    TComBuffers Buffers;
};

// A raw block for BufferWrite.
constexpr int kByteArraySize = 32768;
using TByteArray = std::array<uint8_t, kByteArraySize>;

// Open-error codes (reported through OnCreateError / OnComCreateError).
enum TComCreateError : int {
    ceNone = 0,
    ceCreateFile = 1,
    ceBuffers = 2,
    ceGetState = 4,
    ceSetState = 8,
    cePurge = 16,
    ceClearRts = 32,
    ceSetRts = 64,
    ceGetTimeouts = 128,
    ceSetTimeouts = 256,
    ceThread = 512,
    // Another program has the port: it holds the port's lock, or its
    // exclusive use keeps further opens out.
    ceBusy = 1024,
};

// Progress events of a successful open, in this order.
enum TComPortEventCode : int {
    peOpened = 1,
    peLineSettings = 4,
    peBuffers = 2,
    pePurged = 8,
    peListening = 32,
};

// Modem-control functions for EscapeCommFunction.
enum : int { SETRTS = 3, CLRRTS = 4 };

// The descriptor value of "no port".
constexpr int INVALID_HANDLE_VALUE = -1;
