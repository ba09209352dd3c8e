#include "KeptValue.h"

std::optional<QString> KeptValueAfterWrite(const QString& sentValue, const QStringList& answer) {
    if (!sentValue.isEmpty() || answer.size() < 2 || answer.last() != QStringLiteral("OK"))
        return std::nullopt;
    const QString& kept = answer.at(answer.size() - 2);
    // An "OK" there closes an earlier answer (a wake-up's), not a value.
    if (kept == QStringLiteral("OK"))
        return std::nullopt;
    return kept;
}

QString KeptValueErrorName(const QString& writeName, const QString& kept) {
    return QStringLiteral("%1: пустое значение не записано, в панели осталось «%2»").arg(writeName, kept);
}
