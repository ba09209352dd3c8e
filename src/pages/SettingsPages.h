#pragma once

#include "SettingsCompare.h"

#include <QStringList>

#include <vector>

class TPageModel;

// The pages of a settings file as the window and the command line use them:
// the settings pages' models, in tag order.

// Each page's lines as it holds them now, with the caption of every line's
// setting, in the order of `pages`.
std::vector<TPageSettings> CollectPageSettings(const std::vector<TPageModel*>& pages);

// Hands a file's lines to each page in the order of `pages`; each takes its
// own keys.
void LoadPageSettings(const std::vector<TPageModel*>& pages, const QStringList& lines);
