#include "PageTable.h"

#include "CommonFrameUnit.h"
#include "GPRSFrameUnit.h"
#include "StringConsts.h"
#include "SystemEventsFrameUnit.h"

const std::vector<TPageInfo>& PageTable() {
    static const std::vector<TPageInfo> table{
        {ptCommon, [](IPageHost& host) -> TPageFrame* { return new TCommonFrame(host); }},
        {ptSystemEvents, [](IPageHost& host) -> TPageFrame* { return new TSystemEventsFrame(host); }},
        {ptGPRS, [](IPageHost& host) -> TPageFrame* { return new TGPRSFrame(host); }},
    };
    return table;
}
