#include "PanelIdentity.h"

#include "panel/PanelExchange.h"
#include "panel/ValueShapes.h"

namespace {
const QString kObjectCommand = QStringLiteral("+o");
} // namespace

std::optional<QString> ReadObjectNumber(TPanelExchange& exchange, uint32_t timeOut, QString* reason) {
    QString value;
    if (!exchange.DeviceCommand(kObjectCommand, value, timeOut)) {
        if (reason)
            *reason = QStringLiteral("номер объекта (+o) не прочитан");
        return std::nullopt;
    }
    if (!ValueFitsShape(kObjectCommand, value)) {
        if (reason)
            *reason = QStringLiteral("номер объекта (+o) имеет неверный вид: %1").arg(value);
        return std::nullopt;
    }
    return value;
}
