#include "SettingsCompare.h"

#include "SettingsLookup.h"
#include "panel/PairText.h"

QStringList SettingsLines(const std::vector<TPageSettings>& pages) {
    QStringList lines;
    for (const TPageSettings& page : pages)
        lines += page.Lines;
    return lines;
}

std::vector<TSettingsDifference> CompareSettings(const std::vector<TPageSettings>& pages,
                                                 const QStringList& file) {
    std::vector<TSettingsDifference> differences;
    for (const TPageSettings& page : pages) {
        for (qsizetype i = 0; i < page.Lines.size(); ++i) {
            const QString& line = page.Lines.at(i);
            TSettingsDifference d;
            d.Tag = page.Tag;
            d.PageName = page.PageName;
            d.Key = GetPairName(line);
            d.PageValue = GetPairValue(line);
            d.InFile = SettingsHasKey(file, d.Key);
            d.FileValue = SettingsValue(file, d.Key);
            if (d.InFile && d.FileValue == d.PageValue)
                continue;
            d.Caption = i < page.Captions.size() ? page.Captions.at(i) : QString();
            if (d.Caption.isEmpty())
                d.Caption = d.Key;
            differences.push_back(d);
        }
    }
    return differences;
}
