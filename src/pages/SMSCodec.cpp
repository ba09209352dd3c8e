#include "SMSCodec.h"

#include <QtGlobal>

namespace {

const char* const kPurposes[SMSCount] = {
    "Внимание! Была нажата Тревожная кнопка 1",
    "Внимание! Была нажата Тревожная кнопка 2",
    "Разряд АКБ",
    "Произошла перезагрузка панели",
    "Автотест",
    "Восстановление заряда АКБ",
};

} // namespace

QStringList SMSGridHeader() {
    return {QStringLiteral("№"), QStringLiteral("Назначение"), QStringLiteral("Текст СМС")};
}

QString SMSPurpose(int r) {
    if (r < 1 || r > SMSCount)
        return {};
    return QString::fromUtf8(kPurposes[r - 1]);
}

QStringList SMSDefaultTexts() {
    QStringList texts;
    for (int r = 1; r <= SMSCount; ++r)
        texts.append(SMSPurpose(r));
    return texts;
}

int SMSTextColumnWidth(int clientWidth) {
    return qMax(0, clientWidth / 2 - 17);
}

QString SMSReadCommand(int r) {
    return QStringLiteral("+smstext") + QString::number(r - 1, 16).toUpper();
}

QString SMSWriteCommand(int r, const QString& text) {
    return SMSReadCommand(r) + text;
}

QString SMSReadErrorName(int r) {
    return QStringLiteral("Текст СМС #%1").arg(r);
}

QString SMSWriteErrorName(int r) {
    return QStringLiteral("Тест СМС #%1").arg(r);
}
