#include "SettingsPages.h"

#include "PageModel.h"
#include "SettingsLookup.h"
#include "panel/PairText.h"

#include <algorithm>

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

QStringList LoadPageSettings(const std::vector<TPageModel*>& pages, const QStringList& lines) {
    QStringList refused;
    for (TPageModel* page : pages) {
        page->LoadSettings(lines);
        refused += page->LoadRefused();
    }
    return refused;
}

QString RefusedValueText(const QString& path, const QString& line) {
    return QStringLiteral("В файле %1 значение %2 вне допустимых: на странице оно не выбрано и в панель не "
                          "записывается")
        .arg(path, line);
}

bool FileHasPage(const TPageModel* page, const QStringList& lines) {
    const QStringList own = page->Settings();
    return std::any_of(own.begin(), own.end(),
                       [&](const QString& line) { return SettingsHasKey(lines, GetPairName(line)); });
}

bool FileHasAnyPage(const std::vector<TPageModel*>& pages, const QStringList& lines) {
    return std::any_of(pages.begin(), pages.end(), [&](const TPageModel* page) { return FileHasPage(page, lines); });
}

QString NoPageInFileText(const QString& path) {
    return QStringLiteral("В файле %1 нет настроек ни одной страницы").arg(path);
}
