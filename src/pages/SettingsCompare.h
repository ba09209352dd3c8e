#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// One settings page's lines as the page gives them (key=value, in its
// order), with the caption of each line's control.
struct TPageSettings {
    int Tag = 0;
    QString PageName;
    QStringList Lines;
    QStringList Captions; // one per line; an empty or missing caption shows the key
};

// The lines of a whole settings file: the pages' lines one page after the
// other, in the order given.
QStringList SettingsLines(const std::vector<TPageSettings>& pages);

// One setting whose value in a file is not the one on the pages.
struct TSettingsDifference {
    int Tag = 0;
    QString PageName;
    QString Key;
    QString Caption;
    QString PageValue; // as the page holds it
    QString FileValue; // as loading the file would give it; empty when not in the file
    bool InFile = true;
    bool operator==(const TSettingsDifference&) const = default;
};

// The settings where `file` differs from the pages, key by key in page and
// line order. Each page key is looked up in the file as loading looks it
// up (the first line with the key, its case not counted); a key the file
// lacks differs (InFile false) even from an empty value, since loading
// empties a text or puts the page on its defaults for it. Lines of the file
// that no page uses are not differences: loading ignores them.
std::vector<TSettingsDifference> CompareSettings(const std::vector<TPageSettings>& pages,
                                                 const QStringList& file);
