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

// One setting whose value in a file is not the one on the pages
// (CompareWithFile).
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
