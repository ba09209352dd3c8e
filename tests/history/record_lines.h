#pragma once

// Answer lines of "+read" made to order, with a right record check sum and
// a right Contact ID check digit.
#include "history/HistoryRec.h"

#include <QString>

#include <cstdint>

struct TestRecord {
    int index = 0;
    QString account = QStringLiteral("0050");
    int qualifier = 1;
    QString code = QStringLiteral("130");
    QString partition = QStringLiteral("01");
    QString zone = QStringLiteral("005");
    QString date = QStringLiteral("\"24/03/01,07:12:00+12\"");
    uint32_t global = 1;
    int sendflag = 0;
    int phones = 0xFA;
};

// The sixteen message digits, the check digit computed (0 where it is 10).
inline QString CidMessage(const TestRecord& r) {
    const QString digits =
        r.account + QStringLiteral("18") + QString::number(r.qualifier) + r.code + r.partition + r.zone;
    int sum = 0;
    for (const QChar c : digits) {
        const int d = QString(c).toInt(nullptr, 16);
        sum += d == 0 ? 10 : d;
    }
    const int check = 15 - sum % 15;
    return digits + (check == 10 ? QStringLiteral("0") : QString::number(check, 16).toUpper());
}

inline QString RecordLine(const TestRecord& r) {
    const auto hex = [](uint32_t v, int width) {
        return QStringLiteral("%1").arg(v, width, 16, QLatin1Char('0')).toUpper();
    };
    QString line = hex(uint32_t(r.index), 4) + CidMessage(r) + QStringLiteral("0FFFFFFFFFFFFFFFFF1") +
                   r.date + hex(r.global, 8) + hex(uint32_t(r.sendflag), 2) + hex(uint32_t(r.phones), 2) +
                   QStringLiteral("00");
    line.replace(73, 2, hex(RecordSum(line.toLatin1()), 2));
    return line;
}
