#include "contact_id.h"

#include "hex_digits.h"

namespace emu::contactid {

QByteArray body(const QByteArray& account, int qualifier, int code, int partition, int zone) {
    return account.left(4).rightJustified(4, '0') + "18" + QByteArray::number(qualifier % 10) +
           QByteArray::number(code % 1000).rightJustified(3, '0') +
           QByteArray::number(partition % 100).rightJustified(2, '0') +
           QByteArray::number(zone % 1000).rightJustified(3, '0');
}

int checkValue(const QByteArray& body15) {
    int sum = 0;
    for (char c : body15) {
        const int v = hex::digitValue(c);
        sum += v == 0 ? 10 : (v < 0 ? 0 : v);
    }
    return 15 - sum % 15;
}

char checkDigit(const QByteArray& body15, bool tenAsA) {
    const int v = checkValue(body15);
    if (v == 10)
        return tenAsA ? 'A' : '0';
    return hex::format(unsigned(v), 1).at(0);
}

QByteArray message(const QByteArray& account, int qualifier, int code, int partition, int zone, bool tenAsA) {
    const QByteArray b = body(account, qualifier, code, partition, zone);
    return b + checkDigit(b, tenAsA);
}

} // namespace emu::contactid
