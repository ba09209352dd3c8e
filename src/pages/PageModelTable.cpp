#include "PageModelTable.h"

#include "AlarmButtonsPage.h"
#include "ChannelsPage.h"
#include "CommonPage.h"
#include "EngeneerNumberPage.h"
#include "GPRSPage.h"
#include "SMSPage.h"
#include "StringConsts.h"
#include "SystemEventsPage.h"

const std::vector<TPageModelInfo>& PageModelTable() {
    static const std::vector<TPageModelInfo> table{
        {ptCommon, [](IPageHost& host) -> TPageModel* { return new TCommonPage(host); }},
        {ptSystemEvents, [](IPageHost& host) -> TPageModel* { return new TSystemEventsPage(host); }},
        {ptGPRS, [](IPageHost& host) -> TPageModel* { return new TGPRSPage(host); }},
        {ptChannels, [](IPageHost& host) -> TPageModel* { return new TChannelsPage(host); }},
        {ptAlarmButtons, [](IPageHost& host) -> TPageModel* { return new TAlarmButtonsPage(host); }},
        {ptEngineerNumbers, [](IPageHost& host) -> TPageModel* { return new TEngeneerNumberPage(host); }},
        {ptSMS, [](IPageHost& host) -> TPageModel* { return new TSMSPage(host); }},
    };
    return table;
}

std::vector<std::unique_ptr<TPageModel>> CreatePageModels(IPageHost& host) {
    std::vector<std::unique_ptr<TPageModel>> models;
    for (const TPageModelInfo& info : PageModelTable()) {
        models.emplace_back(info.Create(host));
        models.back()->Init();
    }
    return models;
}
