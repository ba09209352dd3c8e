#include "HexValues.h"

#include <limits>

int HexValue(const QString& text) {
    if (text.isEmpty())
        return -1;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')))
            return -1;
    }
    bool ok = false;
    const uint v = text.toUInt(&ok, 16);
    if (!ok || v > uint(std::numeric_limits<int>::max()))
        return -1;
    return int(v);
}

QString HexText(int value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}
