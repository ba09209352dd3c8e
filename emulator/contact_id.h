#pragma once

#include <QByteArray>

namespace emu {

// Contact ID (SIA DC-05) messages as the panel stores them in its journal:
// sixteen hexadecimal digits ACCT(4) MT(2) Q(1) EEE(3) GG(2) CCC(3) S(1).
namespace contactid {

// The first fifteen digits: account (4 characters, taken as given), message
// type 18, qualifier, event code, partition (group) and zone or user.
QByteArray body(const QByteArray& account, int qualifier, int code, int partition, int zone);
// The value 1..15 that makes the digit sum (0 counted as 10) a multiple of 15.
int checkValue(const QByteArray& body15);
// The check digit as panels send it: the value 10 as '0' (or as 'A' when
// tenAsA), 15 as 'F'.
char checkDigit(const QByteArray& body15, bool tenAsA = false);
// The whole sixteen-digit message.
QByteArray message(const QByteArray& account, int qualifier, int code, int partition, int zone,
                   bool tenAsA = false);

} // namespace contactid
} // namespace emu
