#pragma once

#include <QString>

// Where the built-in firmware list would live among the program's resources:
// text lines key=value, "VER" the version of the built-in image.
inline constexpr char kBuiltInFirmwareList[] = ":/FWLIST/LIST";

// The version text of the built-in firmware: the value of "VER" in the
// built-in list (empty when the list has none), or "no update" when the
// program carries no list. This build carries none.
QString GetBuiltInVersion(const QString& listPath = QString::fromLatin1(kBuiltInFirmwareList));
