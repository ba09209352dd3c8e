#include "SettingsCompare.h"

QStringList SettingsLines(const std::vector<TPageSettings>& pages) {
    QStringList lines;
    for (const TPageSettings& page : pages)
        lines += page.Lines;
    return lines;
}
