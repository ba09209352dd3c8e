#pragma once

#include <QString>
#include <QStringList>

// The connected panel's firmware identity.
struct TDeviceVersion {
    QString Name;   // the version line, trimmed
    int Major = -1; // -1 when not readable
    int Minor = -1;
    int Release = -1;
    QString Memory; // "M45PE16", "Unknown" or empty
};

// The firmware the tool can configure: major 7, minor 700.
constexpr int kCompatibleMajor = 7;
constexpr int kCompatibleMinor = 700;
bool IsCompatible(const TDeviceVersion& v);

// A panel whose firmware update broke off waits in its boot loader, which
// answers "+v" with "BL REV ..." and takes nothing but another update.
bool IsBootLoader(const TDeviceVersion& v);

// From the answer to "+v": the first line containing "REV" becomes the
// version line (trimmed of spaces and control characters; `ver` keeps its
// value when there is none), and characters 5-6, 8-10 and 12-14 of it are
// the major, minor and release numbers (-1 where missing or not decimal).
void ParseVersion(const QStringList& L, QString& ver, int& major, int& minor, int& release);

// From the answer to "+typepan": the value line (before the last) read as
// hexadecimal; its three lowest bits all set mean "M45PE16", any other value
// leaves `memory` alone, no readable value gives "Unknown".
void ParseMemoryType(const QStringList& L, QString& memory);
