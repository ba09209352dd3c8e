#include "DeviceVersion.h"

namespace {

// Trims spaces and control characters from both ends.
QString TrimControl(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

int DecimalAt(const QString& s, qsizetype from1, qsizetype len) {
    const QString part = s.mid(from1 - 1, len);
    if (part.isEmpty())
        return -1;
    int value = 0;
    for (const QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

bool IsCompatible(const TDeviceVersion& v) {
    return v.Major == kCompatibleMajor && v.Minor == kCompatibleMinor;
}

bool IsBootLoader(const TDeviceVersion& v) {
    return v.Name.startsWith(QLatin1String("BL REV"));
}

void ParseVersion(const QStringList& L, QString& ver, int& major, int& minor, int& release) {
    for (const QString& line : L) {
        if (line.contains(QLatin1String("REV"))) {
            ver = TrimControl(line);
            break;
        }
    }
    major = DecimalAt(ver, 5, 2);
    minor = DecimalAt(ver, 8, 3);
    release = DecimalAt(ver, 12, 3);
}

void ParseMemoryType(const QStringList& L, QString& memory) {
    if (L.size() < 2) {
        memory = QStringLiteral("Unknown");
        return;
    }
    bool ok = false;
    const QString text = L.at(L.size() - 2).trimmed();
    const qulonglong value = text.toULongLong(&ok, 16);
    if (!ok || text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        memory = QStringLiteral("Unknown");
        return;
    }
    if ((value & 7) == 7)
        memory = QStringLiteral("M45PE16");
}
