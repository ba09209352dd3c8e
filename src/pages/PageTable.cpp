#include "PageTable.h"

#include "ChannelsFrameUnit.h"
#include "CommonFrameUnit.h"
#include "StringConsts.h"

const std::vector<TPageInfo>& PageTable() {
    static const std::vector<TPageInfo> table{
        {ptCommon, [](IPageHost& host) -> TPageFrame* { return new TCommonFrame(host); }},
        {ptChannels, [](IPageHost& host) -> TPageFrame* { return new TChannelsFrame(host); }},
    };
    return table;
}
