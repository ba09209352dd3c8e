#include "page_fakes.h"

bool FakeExchange::DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) {
    sent.push_back({ACommand, TimeOut, fUparam});
    if (during)
        during(ACommand);
    const auto it = answers.constFind(ACommand);
    if (it == answers.constEnd())
        return false;
    Res = *it;
    return true;
}

QStringList FakeExchange::Commands() const {
    QStringList out;
    for (const Sent& s : sent)
        out.append(s.Command);
    return out;
}
