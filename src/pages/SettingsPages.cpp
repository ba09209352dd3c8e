#include "SettingsPages.h"

#include "PageModel.h"
#include "panel/PairText.h"

std::vector<TPageSettings> CollectPageSettings(const std::vector<TPageModel*>& pages) {
    std::vector<TPageSettings> settings;
    for (TPageModel* page : pages) {
        TPageSettings s;
        s.Tag = page->Tag();
        s.PageName = PageName(page->Tag());
        s.Lines = page->Settings();
        for (const QString& line : s.Lines)
            s.Captions.append(page->SettingsCaption(GetPairName(line)));
        settings.push_back(std::move(s));
    }
    return settings;
}

void LoadPageSettings(const std::vector<TPageModel*>& pages, const QStringList& lines) {
    for (TPageModel* page : pages)
        page->LoadSettings(lines);
}
