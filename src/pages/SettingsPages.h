#pragma once

#include "SettingsCompare.h"

#include <QStringList>

#include <vector>

class TPageFrame;

// The pages of a settings file as the window and the command line use them.

// The pages that keep their values in a settings file, in tag order: every
// settings page of `frames`; the History page keeps nothing there.
std::vector<TPageFrame*> SettingsPages(const std::vector<TPageFrame*>& frames);

// Each page's lines as it holds them now (GetSettings), with the caption of
// every line's setting, in the order of `pages`.
std::vector<TPageSettings> CollectPageSettings(const std::vector<TPageFrame*>& pages);

// Hands a file's lines to each page (SetSettings) in the order of `pages`;
// each takes its own keys.
void LoadPageSettings(const std::vector<TPageFrame*>& pages, const QStringList& lines);
