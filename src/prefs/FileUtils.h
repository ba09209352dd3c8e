#pragma once

#include <QString>

#include <functional>

class QSettings;

// Where the tool keeps its window state: QSettings("Velmor", "Tarvik1"),
// an INI file here (on Windows the registry key
// HKEY_CURRENT_USER\Software\Velmor\Tarvik1). The value "version" at the top
// holds the program version the state was saved by; every saved window is
// one group named after the window's object name.
inline constexpr char kSettingsOrganization[] = "Velmor";
inline constexpr char kSettingsApplication[] = "Tarvik1";
inline constexpr char kVersionValue[] = "version";

// The version this program was built as ("2.0.0.16"). There is no version
// resource in a Linux executable, so it is the compiled version.
QString GetFileVersion();

// The stamped version, empty when there is none.
QString ReadStoredVersion();
void WriteStoredVersion(const QString& version);

// Removes every group under the settings' current group, with everything in
// it; values directly in the current group stay.
void DeleteSubKeys(QSettings& key);

// True when the saved window state belongs to `version` and may be restored.
// Otherwise (a missing stamp counts as a different version, whatever
// `version` is) every saved window is removed, `version` is stamped, then
// `resetCaptions` runs (when given), and the result is false.
bool CheckSettingsVersion(const QString& version, const std::function<void()>& resetCaptions);
