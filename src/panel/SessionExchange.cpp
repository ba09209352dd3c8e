#include "SessionExchange.h"

#include "CommandExchange.h"
#include "PanelSession.h"

const QString TSessionExchange::kEraseCommand = QStringLiteral("+erase");

bool TSessionExchange::DeviceCommandLst(const QString& ACommand, QStringList& Res, uint32_t TimeOut) {
    if (!IsOperation(fSession.State()))
        return false;
    QStringList lines;
    if (!fSession.CommandExchange().DeviceCommandLst(ACommand, lines, TimeOut))
        return false;
    // The erase is done when the panel says "OK" to it (the rule every
    // caller applies to a write's answer).
    if (ACommand == kEraseCommand &&
        lines.join(QStringLiteral("\r\n")).toUpper().contains(QLatin1String("OK")))
        fSession.JournalWasErased();
    Res = lines;
    return true;
}

int TSessionExchange::Attempts() const {
    return fSession.CommandExchange().Attempts();
}

bool TSessionExchange::Uparam() const {
    return fSession.CommandExchange().Uparam();
}

void TSessionExchange::SetUparam(bool value) {
    fSession.CommandExchange().SetUparam(value);
}

void TSessionExchange::SetLeastAnswerTime(uint32_t ms) {
    fSession.CommandExchange().SetLeastAnswerTime(ms);
}
