#include "WriteComparison.h"

#include "PageModel.h"
#include "PageModelTable.h"
#include "SettingsLookup.h"
#include "StringConsts.h"
#include "panel/PairText.h"

#include <memory>

namespace {

// A model of `page`'s kind as the pages are made, told the release `page`
// was told.
std::unique_ptr<TPageModel> BlankLike(IPageHost& host, const TPageModel& page) {
    for (const TPageModelInfo& info : PageModelTable()) {
        if (info.Tag != page.Tag())
            continue;
        std::unique_ptr<TPageModel> model(info.Create(host));
        model->Init();
        if (const std::optional<int> release = page.Release())
            model->DevRelease(*release);
        return model;
    }
    return nullptr;
}

bool SameValues(const std::vector<TPanelValue>& panel, const std::vector<TPanelValue>& file) {
    if (panel.size() != file.size())
        return false;
    for (size_t i = 0; i < panel.size(); ++i) {
        // Nothing the file's write could send: that write fails.
        if (!file[i].Value || panel[i] != file[i])
            return false;
    }
    return true;
}

// The keys of `panel` and `file` whose values differ, the panel's order
// first.
std::vector<TSettingsDifference> KeyDifferences(const TPageModel& page, const QStringList& panel,
                                                const QStringList& file, const QStringList& fileLines) {
    QStringList keys;
    for (const QStringList* lines : {&panel, &file}) {
        for (const QString& line : *lines) {
            const QString key = GetPairName(line);
            if (!keys.contains(key, Qt::CaseInsensitive))
                keys << key;
        }
    }
    std::vector<TSettingsDifference> differences;
    for (const QString& key : keys) {
        TSettingsDifference d;
        d.Tag = page.Tag();
        d.PageName = PageName(page.Tag());
        d.Key = key;
        d.PageValue = SettingsValue(panel, key);
        d.FileValue = SettingsValue(file, key);
        d.InFile = SettingsHasKey(fileLines, key);
        if (d.InFile && SettingsHasKey(panel, key) == SettingsHasKey(file, key) && d.PageValue == d.FileValue)
            continue;
        if (!d.InFile && !SettingsHasKey(panel, key))
            continue; // a key neither side has, nor the file
        d.Caption = page.SettingsCaption(key);
        if (d.Caption.isEmpty())
            d.Caption = key;
        differences.push_back(d);
    }
    return differences;
}

// The values sent that differ, by command.
std::vector<TSettingsDifference> ValueDifferences(const TPageModel& page,
                                                  const std::vector<TPanelValue>& panel,
                                                  const std::vector<TPanelValue>& file) {
    std::vector<TSettingsDifference> differences;
    for (size_t i = 0; i < panel.size() && i < file.size(); ++i) {
        if (file[i].Value && panel[i] == file[i])
            continue;
        TSettingsDifference d;
        d.Tag = page.Tag();
        d.PageName = PageName(page.Tag());
        d.Key = panel[i].Command;
        d.Caption = panel[i].Caption.isEmpty() ? panel[i].Command : panel[i].Caption;
        d.PageValue = panel[i].Value.value_or(QString());
        d.FileValue = file[i].Value.value_or(QString());
        differences.push_back(d);
    }
    return differences;
}

} // namespace

std::vector<TSettingsDifference> CompareWithFile(IPageHost& host, const std::vector<TPageModel*>& pages,
                                                 TComparedSide side, const QStringList& file,
                                                 QStringList* refused) {
    std::vector<TSettingsDifference> differences;
    for (TPageModel* page : pages) {
        const std::unique_ptr<TPageModel> fromFile = BlankLike(host, *page);
        if (!fromFile)
            continue;
        fromFile->LoadSettings(file);
        if (refused)
            *refused += fromFile->LoadRefused();
        const QStringList fileLines = fromFile->Settings();
        const std::vector<TPanelValue> fileValues = fromFile->WriteValues();

        std::vector<TPanelValue> panelValues;
        if (side == TComparedSide::Held) {
            panelValues = page->HeldValues();
        } else {
            // The page's own write would put into its fields what it sends
            // (a short object number with zeros in front): a copy is asked.
            const std::unique_ptr<TPageModel> copy = BlankLike(host, *page);
            copy->LoadSettings(page->Settings());
            panelValues = copy->WriteValues();
        }
        if (SameValues(panelValues, fileValues))
            continue;
        std::vector<TSettingsDifference> found = KeyDifferences(*page, page->Settings(), fileLines, file);
        if (found.empty())
            found = ValueDifferences(*page, panelValues, fileValues);
        differences.insert(differences.end(), found.begin(), found.end());
    }
    return differences;
}

std::vector<TSettingsDifference> CompareFiles(IPageHost& host, const std::vector<TPageModel*>& pages,
                                              const QStringList& older, const QStringList& newer) {
    std::vector<std::unique_ptr<TPageModel>> loaded;
    std::vector<TPageModel*> models;
    for (TPageModel* page : pages) {
        std::unique_ptr<TPageModel> model = BlankLike(host, *page);
        if (!model)
            continue;
        model->LoadSettings(older);
        models.push_back(model.get());
        loaded.push_back(std::move(model));
    }
    return CompareWithFile(host, models, TComparedSide::Written, newer);
}
