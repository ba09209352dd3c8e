#include "LineSettings.h"

speed_t BaudToSpeed(uint32_t baud) {
    switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    default: return B0;
    }
}

bool ApplyLineSettings(termios& t, const TNewInDcb& dcb) {
    const speed_t speed = BaudToSpeed(dcb.BaudRate);
    if (speed == B0)
        return false;

    tcflag_t size = 0;
    switch (dcb.ByteSize) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
    }

    tcflag_t parity = 0;
    switch (dcb.Parity) {
    case NOPARITY: parity = 0; break;
    case ODDPARITY: parity = PARENB | PARODD; break;
    case EVENPARITY: parity = PARENB; break;
    case MARKPARITY: parity = PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: parity = PARENB | CMSPAR; break;
    default: return false;
    }

    tcflag_t stop = 0;
    switch (dcb.StopBits) {
    case ONESTOPBIT: stop = 0; break;
    case TWOSTOPBITS: stop = CSTOPB; break;
    default: return false; // one and a half stop bits have no POSIX setting
    }

    cfmakeraw(&t);
    // No flow control of either kind: the port keeps its settings between
    // opens, and with a three-wire cable (no RTS/CTS) a handshake left on by
    // another program would hold every command in the driver's queue, while
    // XON/XOFF would swallow those bytes from the panel's answers.
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cflag &= ~CRTSCTS;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    t.c_cflag |= size | parity | stop | CREAD | CLOCAL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return true;
}
