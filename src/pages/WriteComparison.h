#pragma once

#include "SettingsCompare.h"

#include <QStringList>

#include <vector>

class IPageHost;
class TPageModel;

// Which values stand for the panel in a comparison with a settings file.
enum class TComparedSide {
    // What the panel held at the pages' last read (the pages were just read
    // and nobody changed them): the command line's diff.
    Held,
    // What the pages would write now: the window's pages, which may hold
    // edits not written yet.
    Written,
};

// Where writing `file` would leave the panel holding other values than
// `pages` stand for, page by page in the order of `pages`.
//
// The file is loaded into models made for the purpose, as a write loads it
// (each told the release its page was told), and each page's values go
// through the same encoders on both sides: what the file's write would send
// is compared, parameter by parameter, with `side`'s values. Two numbers
// written alike ("Disp=00" and "Disp=0") are equal; rows a write packs, a
// kept value, a text emptied by a missing key differ. The pages themselves
// are not touched.
//
// A page where something differs is told by its settings keys: each key
// whose value the page holds otherwise than the loaded file gives (a key
// the file lacks with InFile false), with the caption the page gives it.
// When the keys agree and the values sent do not (rows with a free one
// between them), each such value is told by its panel command instead.
//
// `refused`, when given, receives the file's lines no page could take (a
// number beyond its list), as loading the file would tell them.
std::vector<TSettingsDifference> CompareWithFile(IPageHost& host, const std::vector<TPageModel*>& pages,
                                                 TComparedSide side, const QStringList& file,
                                                 QStringList* refused = nullptr);

// Where writing `newer` would leave the panel holding other values than
// writing `older` would: `older` is loaded into models like `pages` (each
// told the release its page was told) and compared with `newer` as the
// pages are with a file (TComparedSide::Written). The pages themselves are
// not touched.
std::vector<TSettingsDifference> CompareFiles(IPageHost& host, const std::vector<TPageModel*>& pages,
                                              const QStringList& older, const QStringList& newer);
