#include "LinkMessages.h"

QString LineLostMessage(const QString& port) {
    return QStringLiteral("Связь с панелью потеряна: порт %1 больше не доступен.").arg(port);
}
