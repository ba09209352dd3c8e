#pragma once

#include "panel/DeviceVersion.h"

#include <QString>
#include <QStringList>

#include <optional>

// The built-in firmware. A build that carries firmware adds two resources:
// the list "<root>/FWLIST/LIST", text lines key=value with "VER" (the
// version text of the built-in image, "07.700.126") and "M" (the name of the
// image for panels whose memory type begins with "M"), and the image
// "<root>/FIRMWARE/<name>", lines of Intel HEX records. This program carries
// neither, so it offers no built-in update. `resources` is the resource root
// to look in: the program's own (":") unless a test gives another.

inline constexpr char kNoUpdate[] = "no update";

// The value of "VER" in the built-in list (empty when the list has none), or
// "no update" when there is no list.
QString GetBuiltInVersion(const QString& resources = QStringLiteral(":"));

// Whether the built-in firmware is newer than the panel's, by the panel
// maker's rule: characters 1-2, 4-6 and 8-10 of the built-in version text
// are its major, minor and release numbers (2147483647 where they are not
// decimal), and an update is needed exactly when the built-in major and
// minor are each at least the panel's and the built-in release is higher.
// Every part is compared on its own: 08.000.001 is not newer than 7.700.120.
bool NeedUpdate(const TDeviceVersion& version, const QString& builtInVersion);

// The resource name of the built-in image for a memory type: the value of
// "M" in the list (empty when it has none) for a type beginning with "M";
// "no update" for any other type or when there is no list.
QString GetImageName(const QString& memory, const QString& resources = QStringLiteral(":"));

// The built-in image for the panel's memory type, as FirmwareImageLines
// gives its lines; nothing when its name contains "no" or the image cannot
// be loaded.
std::optional<QStringList> LoadBuiltInImage(const TDeviceVersion& version,
                                            const QString& resources = QStringLiteral(":"));
