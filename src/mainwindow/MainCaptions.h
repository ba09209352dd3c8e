#pragma once

#include "prefs/SaveLoadSettings.h"

#include <QString>

#include <span>

// The built-in texts of the main window: the captions of its menus, of the
// log area's buttons and of its actions, and the actions' hints. Applied at
// the first start of a program version (ResetCaptions).
std::span<const TCaptionEntry> BuiltInCaptions();
// One built-in text ("Caption" or "Hint" of a component); empty when the
// table has none.
QString BuiltInText(const char* component, const char* property = "Caption");
