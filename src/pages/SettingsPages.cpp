#include "SettingsPages.h"

#include "PageFrame.h"
#include "panel/PairText.h"

#include <algorithm>

std::vector<TPageFrame*> SettingsPages(const std::vector<TPageFrame*>& frames) {
    std::vector<TPageFrame*> pages;
    std::copy_if(frames.begin(), frames.end(), std::back_inserter(pages),
                 [](const TPageFrame* f) { return f && f->Tag() != ptHistory; });
    std::stable_sort(pages.begin(), pages.end(),
                     [](const TPageFrame* a, const TPageFrame* b) { return a->Tag() < b->Tag(); });
    return pages;
}

std::vector<TPageSettings> CollectPageSettings(const std::vector<TPageFrame*>& pages) {
    std::vector<TPageSettings> settings;
    for (TPageFrame* page : pages) {
        TPageSettings s;
        s.Tag = page->Tag();
        s.PageName = PageName(page->Tag());
        page->GetSettings(s.Lines);
        for (const QString& line : s.Lines)
            s.Captions.append(page->SettingsCaption(GetPairName(line)));
        settings.push_back(std::move(s));
    }
    return settings;
}

void LoadPageSettings(const std::vector<TPageFrame*>& pages, const QStringList& lines) {
    for (TPageFrame* page : pages)
        page->SetSettings(lines);
}
