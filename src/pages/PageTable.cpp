#include "PageTable.h"

#include "AlarmButtonsFrameUnit.h"
#include "ChannelsFrameUnit.h"
#include "CommonFrameUnit.h"
#include "EngeneerNumberFrameUnit.h"
#include "GPRSFrameUnit.h"
#include "HistoryFrameUnit.h"
#include "SMSFrameUnit.h"
#include "StringConsts.h"
#include "SystemEventsFrameUnit.h"

const std::vector<TPageInfo>& PageTable() {
    static const std::vector<TPageInfo> table{
        {ptCommon, [](IPageHost& host) -> TPageFrame* { return new TCommonFrame(host); }},
        {ptSystemEvents, [](IPageHost& host) -> TPageFrame* { return new TSystemEventsFrame(host); }},
        {ptGPRS, [](IPageHost& host) -> TPageFrame* { return new TGPRSFrame(host); }},
        {ptChannels, [](IPageHost& host) -> TPageFrame* { return new TChannelsFrame(host); }},
        {ptAlarmButtons, [](IPageHost& host) -> TPageFrame* { return new TAlarmButtonsFrame(host); }},
        {ptEngineerNumbers, [](IPageHost& host) -> TPageFrame* { return new TEngeneerNumberFrame(host); }},
        {ptSMS, [](IPageHost& host) -> TPageFrame* { return new TSMSFrame(host); }},
        {ptHistory, [](IPageHost& host) -> TPageFrame* { return new THistoryFrame(host); }},
    };
    return table;
}
