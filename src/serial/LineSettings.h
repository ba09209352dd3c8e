#pragma once

#include "ComTypes.h"

#include <termios.h>

// Puts speed, data bits, parity and stop bits into a termios block in raw
// 8-bit mode, without hardware or software flow control. Returns false when
// POSIX cannot express the setting (an unknown speed, 1.5 stop bits, a data
// size outside 5..8, an unknown parity code).
bool ApplyLineSettings(termios& t, const TNewInDcb& dcb);

// The termios speed constant for a baud rate, or B0 when there is none.
speed_t BaudToSpeed(uint32_t baud);
