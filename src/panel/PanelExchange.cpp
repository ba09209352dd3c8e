#include "PanelExchange.h"

QString AnswerValue(const QStringList& lines) {
    if (lines.size() >= 2)
        return lines.at(lines.size() - 2);
    return lines.isEmpty() ? QString() : lines.first();
}

bool TPanelExchange::DeviceCommand(const QString& ACommand, QString& Res, uint32_t TimeOut) {
    QStringList lines;
    if (!DeviceCommandLst(ACommand, lines, TimeOut))
        return false;
    Res = AnswerValue(lines);
    return true;
}

bool TPanelExchange::ReadParamFromDevice(const QString& ACommand, QStringList& StrResult,
                                         QStringList& ErrorList, const QString& ErrorMessage,
                                         const QString& Answer, uint32_t TimeOut) {
    const bool ok = DeviceCommandLst(ACommand, StrResult, TimeOut);
    if (ok && StrResult.join(QStringLiteral("\r\n")).toUpper().contains(Answer))
        return ok;
    ErrorList.append(ErrorMessage);
    fFailReasons.insert(ErrorMessage, ok ? TFailReason::Refused : TFailReason::NoAnswer);
    return ok;
}

void TPanelExchange::SendParamToDevice(const QString& ACommand, QStringList& ErrorList,
                                       const QString& ErrorMessage, const QString& Answer, uint32_t TimeOut) {
    QStringList answer;
    ReadParamFromDevice(ACommand, answer, ErrorList, ErrorMessage, Answer, TimeOut);
}

TFailReason TPanelExchange::FailReason(const QString& ErrorMessage) const {
    return fFailReasons.value(ErrorMessage, TFailReason::BadValue);
}

void TPanelExchange::ForgetFailReasons() {
    fFailReasons.clear();
}
