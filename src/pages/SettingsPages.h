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

// Whether the file's lines hold at least one of the page's keys.
bool FileHasPage(const TPageModel* page, const QStringList& lines);
// Whether they hold a key of any of `pages`; a file without one is no
// settings file, and nothing is taken from it.
bool FileHasAnyPage(const std::vector<TPageModel*>& pages, const QStringList& lines);
// The message for such a file.
QString NoPageInFileText(const QString& path);

// Hands a file's lines to each page in the order of `pages`; each takes its
// own keys. Returns the file's lines the pages could not take as they stand
// (a number beyond its list or range), in page order.
QStringList LoadPageSettings(const std::vector<TPageModel*>& pages, const QStringList& lines);
// What is said of one such line of the file at `path`.
QString RefusedValueText(const QString& path, const QString& line);
