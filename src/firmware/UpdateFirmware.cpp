#include "UpdateFirmware.h"

#include "FirmwareImage.h"
#include "ImageText.h"
#include "panel/PairText.h"

#include <QFile>

#include <climits>

namespace {

std::optional<QStringList> ResourceLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ImageTextLines(file.readAll());
}

std::optional<QStringList> BuiltInList(const QString& resources) {
    return ResourceLines(resources + QStringLiteral("/FWLIST/LIST"));
}

// The value of `key` in lines key=value; the key is matched without regard
// to case, the first line with it counts.
QString ListValue(const QStringList& list, const QString& key) {
    for (const QString& line : list) {
        if (line.contains(QLatin1Char('=')) && GetPairName(line).compare(key, Qt::CaseInsensitive) == 0)
            return GetPairValue(line);
    }
    return {};
}

int VersionPart(const QString& text, qsizetype from1, qsizetype len) {
    bool ok = false;
    const int value = text.mid(from1 - 1, len).toInt(&ok, 10);
    return ok ? value : INT_MAX;
}

} // namespace

QString GetBuiltInVersion(const QString& resources) {
    const std::optional<QStringList> list = BuiltInList(resources);
    return list ? ListValue(*list, QStringLiteral("VER")) : QString::fromLatin1(kNoUpdate);
}

bool NeedUpdate(const TDeviceVersion& version, const QString& builtInVersion) {
    const int major = VersionPart(builtInVersion, 1, 2);
    const int minor = VersionPart(builtInVersion, 4, 3);
    const int release = VersionPart(builtInVersion, 8, 3);
    return major >= version.Major && minor >= version.Minor && release > version.Release;
}

QString GetImageName(const QString& memory, const QString& resources) {
    if (!memory.startsWith(QLatin1Char('M')))
        return QString::fromLatin1(kNoUpdate);
    const std::optional<QStringList> list = BuiltInList(resources);
    return list ? ListValue(*list, QStringLiteral("M")) : QString::fromLatin1(kNoUpdate);
}

std::optional<QStringList> LoadBuiltInImage(const TDeviceVersion& version, const QString& resources) {
    const QString name = GetImageName(version.Memory, resources);
    if (name.contains(QLatin1String("no")) || name.isEmpty())
        return std::nullopt;
    QFile image(resources + QStringLiteral("/FIRMWARE/") + name);
    if (!image.open(QIODevice::ReadOnly))
        return std::nullopt;
    return FirmwareImageLines(image.readAll());
}
